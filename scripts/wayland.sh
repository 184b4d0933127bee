# A throw-away headless sway desktop for the Wayland end-to-end run, with a D-Bus session and an
# accessibility bus of its own. sway refuses to run as root: under root the desktop, and every
# process that talks to it (run them with as_desktop_user), belong to a throw-away user made here
# and removed again by stop_sway_desktop. Otherwise they run as the current user.
# shellcheck shell=bash
# shellcheck source=x11.sh
source "$(dirname "${BASH_SOURCE[0]}")/x11.sh"

# What the Wayland run needs beside the Linux program's own packages: sway, KWin, GNOME Shell,
# the test client's and the driver's Wayland, xkb and GIO (its tray watcher and notification
# service) headers.
ensure_wayland_packages() {
    ensure_x11_packages &&
        ensure_packages sway libwayland-dev libwayland-bin wayland-protocols qt6-wayland \
            libxkbcommon-dev libglib2.0-dev jq xwayland kwin-wayland gnome-shell || return 1
    # labwc where the release has it (Debian 13 on); elsewhere its checks are skipped.
    if ! command -v labwc >/dev/null && apt-cache show labwc >/dev/null 2>&1; then
        ensure_packages labwc
    fi
}

wayland_desktop_pids=()
wayland_desktop_dir=""     # everything the desktop leaves on disk
wayland_desktop_user=""    # the throw-away user; empty when running as the current user
wayland_desktop_work=""    # a folder the desktop's processes may write to
desktop_user_command=()    # the command prefix that runs a command as the desktop's user

# Runs a command as the desktop's user, with the caller's environment (HOME, USER and LOGNAME
# are the user's own). A process started in the background this way is a subshell's child:
# start it as "${desktop_user_command[@]}" CMD... & when its own id is needed.
as_desktop_user() {
    "${desktop_user_command[@]}" "$@"
}

# A copy of FILE (a program, say) that the desktop's user can read and run, wherever the
# original lives; prints its path.
desktop_copy_of() {
    local copy
    copy="$wayland_desktop_dir/bin/$(basename "$1")"
    mkdir -p "$wayland_desktop_dir/bin" && cp "$1" "$copy" && chmod a+rx "$copy" && echo "$copy"
}

# Makes the throw-away user with its home under the desktop's folder; sets
# desktop_user_command.
make_desktop_user() {
    local name="velmora-e2e-$$-$RANDOM" i
    # Another useradd may hold the lock on the user files for a moment.
    for i in 1 2 3 4 5; do
        useradd --home-dir "$wayland_desktop_dir/home" --create-home --shell /usr/sbin/nologin \
            --no-log-init --comment "Velmora Suite e2e desktop" "$name" && break
        [ "$i" -lt 5 ] || return 1
        sleep 1
    done
    wayland_desktop_user=$name
    desktop_user_command=(setpriv --reuid="$(id -u "$name")" --regid="$(id -g "$name")"
        --clear-groups env HOME="$wayland_desktop_dir/home" USER="$name" LOGNAME="$name")
}

# The start of every headless desktop here: its folder, its throw-away user when root, its
# runtime folder and buses; exports XDG_RUNTIME_DIR and DBUS_SESSION_BUS_ADDRESS.
prepare_wayland_desktop() {
    wayland_desktop_dir=$(mktemp -d /tmp/velmora-e2e-wayland.XXXXXX) || return 1
    # The desktop's user must reach its runtime folder and the copies in bin/.
    chmod 755 "$wayland_desktop_dir"
    if [ "$(id -u)" -eq 0 ]; then
        make_desktop_user || return 1
        # XWayland's socket folder, as the system makes it at boot: root's and open to all.
        # wlroots refuses one that another (throw-away) user made.
        mkdir -p /tmp/.X11-unix && chown root:root /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix ||
            return 1
    fi
    export XDG_RUNTIME_DIR="$wayland_desktop_dir/run"
    wayland_desktop_work="$wayland_desktop_dir/work"
    mkdir -m 700 "$XDG_RUNTIME_DIR" "$wayland_desktop_work" || return 1
    if [ -n "$wayland_desktop_user" ]; then
        chown "$wayland_desktop_user:" "$XDG_RUNTIME_DIR" "$wayland_desktop_work" || return 1
    fi
    unset WAYLAND_DISPLAY SWAYSOCK DISPLAY
    start_accessibility_bus wayland_desktop_pids "${desktop_user_command[@]}"
}

# Runs a wlroots compositor headless as the desktop's user, its output in NAME.log of the
# desktop's folder: start_compositor NAME COMMAND...
start_compositor() {
    local name=$1
    shift
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        "${desktop_user_command[@]}" "$@" >"$wayland_desktop_dir/$name.log" 2>&1 &
    wayland_desktop_pids+=($!)
}

# Waits up to ten seconds until `ready` succeeds while the compositor NAME runs; else shows its
# log: compositor_ready NAME READY...
compositor_ready() {
    local name=$1 i
    shift
    for i in $(seq 100); do
        "$@" && return 0
        processes_ended "${wayland_desktop_pids[-1]}" && break
        sleep 0.1
    done
    echo "$name did not start; its log:" >&2
    tail -n 20 "$wayland_desktop_dir/$name.log" >&2
    return 1
}

# Exports WAYLAND_DISPLAY once the compositor's socket is there.
wayland_display_ready() {
    local socket
    socket=$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]" | head -n 1)
    [ -n "$socket" ] || return 1
    export WAYLAND_DISPLAY
    WAYLAND_DISPLAY=$(basename "$socket")
}

# Exports SWAYSOCK and WAYLAND_DISPLAY once sway answers on its IPC socket.
sway_ready() {
    local socket
    socket=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" | head -n 1)
    [ -n "$socket" ] || return 1
    as_desktop_user swaymsg -s "$socket" -t get_version >/dev/null 2>&1 || return 1
    export SWAYSOCK=$socket
    wayland_display_ready
}

# Starts headless sway (an output of 1280x800, no bar, no XWayland) and the buses, waits until
# sway answers on its IPC socket, and exports WAYLAND_DISPLAY, SWAYSOCK, XDG_RUNTIME_DIR and
# DBUS_SESSION_BUS_ADDRESS. Any arguments are more lines for sway's configuration.
start_sway_desktop() {
    local config
    prepare_wayland_desktop || return 1
    config="$wayland_desktop_dir/sway.config"
    {
        echo "output HEADLESS-1 resolution 1280x800 position 0 0"
        echo "xwayland disable"
        printf '%s\n' "$@"
    } >"$config"
    chmod 644 "$config"
    start_compositor sway sway -c "$config"
    compositor_ready sway sway_ready
}

# Starts headless labwc (its own defaults) and the buses, and exports
# WAYLAND_DISPLAY, XDG_RUNTIME_DIR and DBUS_SESSION_BUS_ADDRESS once its socket is there.
start_labwc_desktop() {
    prepare_wayland_desktop || return 1
    start_compositor labwc labwc
    compositor_ready labwc wayland_display_ready
}

# Exports VELMORA_E2E_XWAYLAND once the compositor has written its XWayland display (the
# DISPLAY it gives the programs it starts) into FILE: xwayland_display_ready FILE.
xwayland_display_ready() {
    [ -s "$1" ] || return 1
    export VELMORA_E2E_XWAYLAND
    VELMORA_E2E_XWAYLAND=$(cat "$1")
}

# Starts headless KWin (an output of 1280x800, XWayland, no lock screen, no global shortcuts)
# as a Plasma session's compositor, and the buses; exports WAYLAND_DISPLAY, XDG_RUNTIME_DIR,
# DBUS_SESSION_BUS_ADDRESS, XDG_CURRENT_DESKTOP and VELMORA_E2E_XWAYLAND once both displays
# are there. KWin offers its window management to every client here, unless
# --permission-checks: then only to installed programs that ask for it. Debian gives
# kwin_wayland a file capability that a container refuses to run, so a copy runs (copies carry
# none).
start_kwin_desktop() {
    local kwin display_file checks=(KWIN_WAYLAND_NO_PERMISSION_CHECKS=1)
    [ "${1:-}" != --permission-checks ] || checks=()
    prepare_wayland_desktop || return 1
    kwin=$(desktop_copy_of "$(command -v kwin_wayland)") || return 1
    # KWin finds installed programs through KDE's service index, which KDE Frameworks 6 builds
    # from the applications menu: Plasma's session has one, a bare system has none.
    mkdir -p "$wayland_desktop_dir/xdg/menus" || return 1
    cat >"$wayland_desktop_dir/xdg/menus/applications.menu" <<'MENU'
<Menu><Name>Applications</Name><DefaultAppDirs/><Include><All/></Include></Menu>
MENU
    chmod -R a+rX "$wayland_desktop_dir/xdg" || return 1
    display_file="$wayland_desktop_work/xwayland-display"
    export XDG_CURRENT_DESKTOP=KDE
    start_compositor kwin env "${checks[@]}" XDG_CONFIG_DIRS="$wayland_desktop_dir/xdg:/etc/xdg" \
        "$kwin" --virtual --xwayland \
        --no-lockscreen --no-global-shortcuts --no-kactivities --width 1280 --height 800 \
        "sh -c 'printenv DISPLAY > $display_file'"
    compositor_ready kwin wayland_display_ready &&
        compositor_ready kwin xwayland_display_ready "$display_file"
}

# True once the session bus has an owner for NAME: bus_name_owned NAME.
bus_name_owned() {
    as_desktop_user dbus-send --session --print-reply --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null |
        grep -q 'boolean true'
}

# Starts headless GNOME Shell (a virtual monitor of 1280x800, in unsafe mode so that the test
# reads its windows through Eval) as a GNOME session's compositor, with a system bus of its own
# and the buses, the project's extension (the folder EXTENSION) installed for the desktop's
# user and enabled before the shell starts; exports WAYLAND_DISPLAY, XDG_RUNTIME_DIR,
# DBUS_SESSION_BUS_ADDRESS and XDG_CURRENT_DESKTOP once the extension answers on the bus, and
# VELMORA_E2E_XWAYLAND and XAUTHORITY for the shell's XWayland: start_gnome_desktop EXTENSION.
start_gnome_desktop() {
    local extension=$1 extensions address_file
    prepare_wayland_desktop || return 1
    address_file="$wayland_desktop_work/system-bus"
    start_bus_daemon wayland_desktop_pids "${desktop_user_command[@]}" >"$address_file"
    export DBUS_SYSTEM_BUS_ADDRESS
    DBUS_SYSTEM_BUS_ADDRESS=$(cat "$address_file")
    extensions="$wayland_desktop_dir/home/.local/share/gnome-shell/extensions"
    mkdir -p "$extensions" && cp -r "$extension" "$extensions/" || return 1
    [ -z "$wayland_desktop_user" ] ||
        chown -R "$wayland_desktop_user:" "$wayland_desktop_dir/home/.local" || return 1
    as_desktop_user gsettings set org.gnome.shell enabled-extensions \
        "['$(basename "$extension")']" || return 1
    export XDG_CURRENT_DESKTOP=GNOME
    start_compositor gnome gnome-shell --headless --wayland --unsafe-mode \
        --virtual-monitor 1280x800 --wayland-display wayland-0
    compositor_ready gnome wayland_display_ready &&
        compositor_ready gnome bus_name_owned com.quillfern.VelmoraSuite.Windows &&
        compositor_ready gnome gnome_xwayland_ready
}

# Exports VELMORA_E2E_XWAYLAND and XAUTHORITY once GNOME Shell's XWayland is there: the DISPLAY
# the shell gives the programs it starts, and the key its XWayland wants.
gnome_xwayland_ready() {
    export VELMORA_E2E_XWAYLAND XAUTHORITY
    VELMORA_E2E_XWAYLAND=$(as_desktop_user gdbus call --session --dest org.gnome.Shell \
        --object-path /org/gnome/Shell --method org.gnome.Shell.Eval "GLib.getenv('DISPLAY')" |
        sed -n "s/^(true, '\"\(.*\)\"')\$/\1/p")
    XAUTHORITY=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n 1)
    [ -n "$VELMORA_E2E_XWAYLAND" ] && [ -n "$XAUTHORITY" ]
}

# True when every process named has ended (a child not reaped yet counts as ended).
processes_ended() {
    local pid state
    for pid; do
        state=$(ps -o stat= -p "$pid")
        [[ -z $state || $state == Z* ]] || return 1
    done
}

# Ends the throw-away user's processes that the desktop's start did not start itself (the
# program, the test clients, what the buses started on demand), each by its id.
end_other_desktop_processes() {
    local others=() pid i
    for pid in $(pgrep -u "$wayland_desktop_user"); do
        [[ " ${wayland_desktop_pids[*]} " == *" $pid "* ]] || others+=("$pid")
    done
    [ ${#others[@]} -gt 0 ] || return 0
    kill "${others[@]}" 2>/dev/null
    for i in $(seq 20); do
        processes_ended "${others[@]}" && return 0
        sleep 0.1
    done
    kill -KILL "${others[@]}" 2>/dev/null || true
}

# Stops the desktop's programs before the compositor and the buses (newest first), removes the
# throw-away user and every file. Safe to call twice, and under errexit.
stop_wayland_desktop() {
    local i
    [ -z "$wayland_desktop_user" ] || end_other_desktop_processes
    for ((i = ${#wayland_desktop_pids[@]} - 1; i >= 0; i--)); do
        kill "${wayland_desktop_pids[i]}" 2>/dev/null || true
        wait "${wayland_desktop_pids[i]}" 2>/dev/null || true
    done
    wayland_desktop_pids=()
    if [ -n "$wayland_desktop_user" ]; then
        # The registry and the accessibility bus's daemon end with their launcher.
        end_other_desktop_processes
        # userdel refuses while a process of the user is left, an ended one not yet reaped
        # by init included.
        for i in $(seq 30); do
            userdel --remove "$wayland_desktop_user" 2>/dev/null && break
            sleep 0.1
        done
        id "$wayland_desktop_user" >/dev/null 2>&1 &&
            echo "could not remove the user $wayland_desktop_user" >&2
        wayland_desktop_user=""
        desktop_user_command=()
    fi
    [ -z "$wayland_desktop_dir" ] || rm -rf "$wayland_desktop_dir"
    wayland_desktop_dir=""
    unset WAYLAND_DISPLAY SWAYSOCK XDG_CURRENT_DESKTOP VELMORA_E2E_XWAYLAND DBUS_SYSTEM_BUS_ADDRESS \
        XAUTHORITY
}
