# Shared by the scripts: installing what is missing, the project's folders, a virtual X display.
# shellcheck shell=bash

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

# Installs the named Debian packages that are not installed yet.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Starts an Xvfb on a free display (the server picks it, so parallel desktops never collide),
# adds it to the array named first and sets xvfb_display to its name. Clients try a display's
# abstract socket first, which a chroot shares with the machine's other X servers: the display
# counts as started only when that socket is this Xvfb's own.
start_xvfb() {
    local -n started=$1
    local display_file number i
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 </dev/null &
    started+=($!)
    for i in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    number=$(head -n 1 "$display_file")
    rm -f "$display_file"
    xvfb_display=":$number"
    [ -n "$number" ] && serves_display "${started[-1]}" "$number" && return 0
    echo "Xvfb did not start, or display $xvfb_display answers from another X server" >&2
    return 1
}

# True when process PID holds the abstract socket of X display number NUMBER.
serves_display() {
    local pid=$1 number=$2 inode
    for inode in $(awk -v name="@/tmp/.X11-unix/X$number" '$8 == name { print $7 }' /proc/net/unix); do
        ls -l "/proc/$pid/fd" 2>/dev/null | grep -qF "socket:[$inode]" && return 0
    done
    return 1
}
