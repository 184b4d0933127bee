# The Linux (X11) program: its packages, its build, and a throw-away desktop for the e2e run,
# with a D-Bus session and an accessibility bus of its own.
# shellcheck shell=bash
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

x11_build_dir="$root/build/x11"

# What building the program and running its end-to-end suite need.
ensure_x11_packages() {
    ensure_packages cmake ninja-build g++ pkg-config \
        qt6-base-dev libgl-dev libx11-dev libx11-xcb-dev libxcb1-dev libxtst-dev \
        xvfb openbox trayer xdotool x11-utils imagemagick fonts-dejavu-core fonts-liberation2 \
        xterm x11-apps dbus at-spi2-core libatspi2.0-dev libwayland-dev libwayland-bin \
        plasma-wayland-protocols
}

# Configures build/x11 for the X11 program (no sim unit tests) and builds it, or only the
# targets named.
build_x11() {
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake -S "$root" -B "$x11_build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVELMORA_X11=ON -DVELMORA_TESTS=OFF >/dev/null &&
        cmake --build "$x11_build_dir" -j "$jobs" "${targets[@]}"
}

x11_desktop_pids=()

# Starts a bus daemon of the session kind, its id added to the array named PIDS, and prints
# its address once it has one: start_bus_daemon PIDS [RUN...].
start_bus_daemon() {
    local -n daemon_pids=$1
    local run=("${@:2}")
    local address_file i
    address_file=$(mktemp)
    "${run[@]}" dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$address_file" \
        >/dev/null 2>&1 &
    daemon_pids+=($!)
    for i in $(seq 50); do
        [ -s "$address_file" ] && break
        sleep 0.1
    done
    head -n 1 "$address_file"
    rm -f "$address_file"
}

# Starts a D-Bus session and the accessibility bus on it, as a desktop does for screen readers;
# exports DBUS_SESSION_BUS_ADDRESS and adds the two processes to the array named by the first
# argument. The rest, if any, is a command the buses run under (as another user, say). The
# launcher starts the accessibility bus's own daemon and the registry, and ends them when it ends.
start_accessibility_bus() {
    local -n started_pids=$1
    local run=("${@:2}")
    local i address_file
    # Not in a command substitution: the daemon's id must reach the caller's array.
    address_file=$(mktemp)
    start_bus_daemon started_pids "${run[@]}" >"$address_file"
    DBUS_SESSION_BUS_ADDRESS=$(cat "$address_file")
    export DBUS_SESSION_BUS_ADDRESS
    rm -f "$address_file"
    "${run[@]}" /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    started_pids+=($!)
    # Asked without activation, so that the bus starts no second launcher of its own.
    for i in $(seq 50); do
        "${run[@]}" dbus-send --session --print-reply --dest=org.freedesktop.DBus \
            /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus \
            2>/dev/null |
            grep -q 'boolean true' && break
        sleep 0.1
    done
}

# Starts Xvfb, openbox, trayer and the accessibility bus; exports DISPLAY.
start_x11_desktop() {
    local i
    start_xvfb x11_desktop_pids || return 1
    export DISPLAY=$xvfb_display
    start_accessibility_bus x11_desktop_pids
    openbox >/dev/null 2>&1 &
    x11_desktop_pids+=($!)
    for i in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    start_x11_tray || start_x11_tray
}

# Starts trayer and waits for its panel; a trayer whose panel does not appear is stopped.
start_x11_tray() {
    local pid i
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
        --SetDockType true --transparent false >/dev/null 2>&1 &
    pid=$!
    for i in $(seq 50); do
        if xdotool search --classname '^trayer$' >/dev/null 2>&1; then
            x11_desktop_pids+=("$pid")
            return 0
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 1
}

# Stops exactly the processes start_x11_desktop started, newest first.
stop_x11_desktop() {
    local i
    for ((i = ${#x11_desktop_pids[@]} - 1; i >= 0; i--)); do
        # Callers may run with errexit: a process that is gone, or one that dies of the signal,
        # must not stop the clean-up half way.
        kill "${x11_desktop_pids[i]}" 2>/dev/null || true
        wait "${x11_desktop_pids[i]}" 2>/dev/null || true
    done
    x11_desktop_pids=()
}
