# Building the Windows program and running it under Wine on a real or virtual X display.
# Sourced after lib.sh by scripts/run and scripts/test.
# shellcheck shell=bash

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

wine_started_pids=()

# The cross compilers, Wine for both bitnesses, a virtual display with a tray host, and fonts.
ensure_wine_packages() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        local sudo=()
        [ "$(id -u)" -eq 0 ] || sudo=(sudo)
        "${sudo[@]}" dpkg --add-architecture i386
        "${sudo[@]}" apt-get update -qq
    fi
    ensure_packages cmake make mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
        wine wine64 wine32:i386 xvfb x11-utils xdotool trayer imagemagick fonts-liberation \
        fonts-wine libxrender1:i386 libxrandr2:i386 libxinerama1:i386 libxcursor1:i386 \
        libxi6:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
}

# Cross-builds the program (and the end-to-end driver) for one architecture, x86_64 or i686, in
# build/win-<arch> or the folder given second.
build_windows() {
    local arch=$1
    local dir=${2:-"$root/build/win-$arch"}
    cmake --no-warn-unused-cli -S "$root" -B "$dir" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1 || { cat "$dir/build.log"; return 1; }
}

# Starts Xvfb on a display it picks itself (so that parallel runs never share one), with
# trayer as the tray host, so that Wine shows no tray window of its own. Sets DISPLAY.
start_virtual_display() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 </dev/null &
    wine_started_pids+=($!)
    for _ in $(seq 100); do [ -s "$number_file" ] && break; sleep 0.1; done
    export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
    rm -f "$number_file"
    xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; return 1; }
    # Wine looks for a tray host once, when its desktop starts: trayer must be up before that.
    local attempt
    for attempt in 1 2 3; do
        setsid trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel \
            --height 24 >>"$root/build/trayer.log" 2>&1 </dev/null &
        local tray_pid=$!
        for _ in $(seq 100); do xwininfo -name panel >/dev/null 2>&1 && break; sleep 0.1; done
        if xwininfo -name panel >/dev/null 2>&1; then
            wine_started_pids+=("$tray_pid")
            sleep 0.5
            return 0
        fi
        kill "$tray_pid" 2>/dev/null || true
    done
    cat "$root/build/trayer.log" >&2
    echo "trayer did not start" >&2
    return 1
}

# Prepares a Wine prefix in `$1` (made afresh when it is new): its server started detached,
# wineboot done, Arial served by Liberation Sans, Wine drawing its own window frames.
start_wine_prefix() {
    export WINEPREFIX=$1
    local fresh=0
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    mkdir -p "$WINEPREFIX"
    setsid wineserver -p >/dev/null 2>&1 </dev/null
    setsid -w wineboot -i >/dev/null 2>&1 </dev/null
    [ "$fresh" = 1 ] || return 0
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"Arial"="Liberation Sans"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
        >"$WINEPREFIX/drive_c/setup.reg"
    wine regedit /S 'C:\setup.reg'
}

# Ends Wine's processes of this prefix and everything started here.
stop_wine() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
        timeout 15 wineserver -w 2>/dev/null || true
    fi
    local pid
    for pid in "${wine_started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${wine_started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    wine_started_pids=()
}

# The Windows form of a path on Wine's Z: drive.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
