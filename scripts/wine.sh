# Building the Windows program and running it under Wine on a real or virtual X display.
# Sourced after lib.sh by scripts/run and scripts/test.
# shellcheck shell=bash

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

wine_started_pids=()

# The cross compilers, Wine (both bitnesses where the machine runs 32-bit programs), a virtual
# display with a tray host, and fonts; then the Wine this machine can run (use_runnable_wine).
ensure_wine_packages() {
    local packages=(cmake make mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
        wine wine64 xvfb x11-utils xdotool trayer imagemagick fonts-liberation fonts-wine)
    if machine_runs_32bit; then
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            local sudo=()
            [ "$(id -u)" -eq 0 ] || sudo=(sudo)
            "${sudo[@]}" dpkg --add-architecture i386
            "${sudo[@]}" apt-get update -qq
        fi
        packages+=(wine32:i386 libxrender1:i386 libxrandr2:i386 libxinerama1:i386
            libxcursor1:i386 libxi6:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386)
    fi
    ensure_packages "${packages[@]}"
    use_runnable_wine
}

# Whether this machine runs 32-bit x86 programs: some 64-bit-only virtual machines answer every
# one with "Exec format error". Found out once by running the smallest such program, a static
# i386 ELF of 96 bytes that only exits with status 42.
machine_runs_32bit() {
    if [ -z "${machine_32bit:-}" ]; then
        local probe="$root/build/probe-i386" status=0
        mkdir -p "$root/build"
        base64 -d >"$probe" <<<'f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhgAAAAYAAAAAUAAAAAEAAAuAEAAAC7KgAAAM2A'
        chmod +x "$probe"
        "$probe" 2>/dev/null || status=$?
        machine_32bit=$([ "$status" -eq 42 ] && echo yes || echo no)
    fi
    [ "$machine_32bit" = yes ]
}

# Why the checks that need 32-bit code cannot run here; empty where they can.
wine_32bit_skip=""

# Debian's wine starts the 32-bit loader whenever wine32 is installed, which fails at once on a
# machine that runs no 32-bit programs. There every wine command, wineboot's own included, goes
# to Wine's 64-bit loader, which runs the x86_64 program, and wine_32bit_skip gives the reason
# the 32-bit checks are skipped.
use_runnable_wine() {
    machine_runs_32bit && return 0
    wine_32bit_skip="this machine's kernel runs no 32-bit programs"
    local loader=/usr/lib/wine/wine64 bin="$root/build/wine64-only" name
    mkdir -p "$bin"
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$bin/$name"
        chmod +x "$bin/$name"
    done
    export WINELOADER=$loader PATH="$bin:$PATH"
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

# Whether EXE is a PE image for ARCH (x86_64 or i686) that imports nothing but Windows' own
# DLLs, so that it runs on a bare Windows with no compiler runtime beside it. Read from the file,
# so it holds also where the exe cannot be run; what it imports otherwise is shown.
is_standalone_windows_exe() {
    local exe=$1 arch=$2 format headers others
    case $arch in x86_64) format=pei-x86-64 ;; i686) format=pei-i386 ;; *) return 1 ;; esac
    headers=$("$arch-w64-mingw32-objdump" -p "$exe") || return 1
    grep -q "file format $format\$" <<<"$headers" || { echo "$exe is no $format image" >&2; return 1; }
    others=$(sed -nE 's/^\s*DLL Name: //p' <<<"$headers" | grep -viE \
        '^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ntdll|advapi32|ole32|oleaut32|oleacc|uxtheme|dwmapi|version|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$' ||
        true)
    [ -z "$others" ] || { echo "$exe imports$(printf ' %s' $others)" >&2; return 1; }
}

# Starts Xvfb on a display it picks itself (so that parallel runs never share one), with
# trayer as the tray host, so that Wine shows no tray window of its own. Sets DISPLAY.
start_virtual_display() {
    start_xvfb wine_started_pids || return 1
    export DISPLAY=$xvfb_display
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

# Runs a wine command line with its output in FILE, Windows line ends made Unix ones; its
# status. Into a file, not a pipe: Wine 10's server holds on to a pipe it was handed, so a
# reader would wait for the pipe's end long after the program ended.
wine_output_to() {
    local file=$1 status=0
    shift
    "$@" >"$file.raw" 2>/dev/null || status=$?
    tr -d '\r' <"$file.raw" >"$file"
    rm -f "$file.raw"
    return "$status"
}

# The Windows form of a path on Wine's Z: drive.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
