# Shared by every script that runs the program under Wine (scripts/run,
# scripts/measure-cpu, scripts/soak and the end-to-end runner): the Wine it
# runs, a prefix, an X display of its own with or without a system tray.
#
# The prefix is 64-bit, as a user's 64-bit Windows is; the product is the
# 32-bit Tervane_Lite.exe and runs there as a 32-bit program does on 64-bit
# Windows. Helper programs (the stand-in monitor, the e2e driver) are 64-bit.
#
# Where the kernel runs no 32-bit code (32-bit Wine fails with "Exec format
# error"), every 32-bit process runs under qemu-i386 user emulation instead;
# the wineserver, the shell and the 64-bit programs stay native. Wine starts a
# 32-bit process from a 64-bit one through the loader named "wine" beside the
# 64-bit loader that runs, so the scripts run a private copy of the 64-bit
# loader whose "wine" neighbour picks the route. TERVANE_WINE32=qemu forces
# the emulated route (to try it where 32-bit code runs natively), =native the
# direct one.

export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINESERVER=/usr/lib/wine/wineserver64

# native or qemu: how 32-bit Windows programs run here, as detected.
wine32_route() {
    case "${TERVANE_WINE32:-}" in
        native | qemu) echo "$TERVANE_WINE32"; return ;;
    esac
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo native; else echo qemu; fi
}

# Makes the private loader folder in $1 and sets WINE64 (the 64-bit loader:
# the one to run Wine's own tools and 64-bit programs with) and WINE32 (runs a
# 32-bit program by the machine's route), and WINE32_ROUTE.
wine_loaders() {
    local dir=$1
    WINE32_ROUTE=$(wine32_route)
    mkdir -p "$dir/lib/wine" "$dir/share"
    # The loader finds its libraries and data relative to its own real path.
    cp /usr/lib/wine/wine64 "$dir/lib/wine/wine64"
    ln -sfn /usr/lib/x86_64-linux-gnu "$dir/lib/x86_64-linux-gnu"
    ln -sfn /usr/share/wine "$dir/share/wine"
    ln -sfn /usr/lib/wine/wineserver "$dir/lib/wine/wineserver"
    if [ "$WINE32_ROUTE" = qemu ]; then
        command -v qemu-i386 >/dev/null || { echo "qemu-i386 is missing (scripts/setup installs it)" >&2; return 1; }
        cat >"$dir/lib/wine/wine" <<'EOF'
#!/bin/sh
# A 32-bit Windows program, under user-mode emulation: the kernel runs no 32-bit code.
WINELOADERNOEXEC=1 exec qemu-i386 /usr/lib/wine/wine "$@"
EOF
    else
        cat >"$dir/lib/wine/wine" <<'EOF'
#!/bin/sh
# A 32-bit Windows program, run directly.
exec /usr/lib/wine/wine "$@"
EOF
    fi
    chmod +x "$dir/lib/wine/wine"
    WINE64=$dir/lib/wine/wine64
    WINE32=$dir/lib/wine/wine
}

# Makes a prefix in $1 (which must not exist) on the current DISPLAY: a fresh
# 64-bit prefix with its 32-bit half, and Wine's X11 driver told not to leave
# windows to a window manager (Xvfb has none; without this every hidden window
# waits 2 s). Needs wine_loaders first.
make_prefix() {
    local prefix=$1 log
    log=$(mktemp)
    # wineboot's 32-bit half starts through the private "wine", so it takes
    # the machine's route as well.
    if ! WINEPREFIX=$prefix timeout 300 "$WINE64" wineboot -i >"$log" 2>&1; then
        cat "$log" >&2; rm -f "$log"; echo "wineboot failed" >&2; return 1
    fi
    rm -f "$log"
    WINEPREFIX=$prefix timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' \
        /v Managed /t REG_SZ /d N /f >/dev/null
    WINEPREFIX=$prefix timeout 60 "$WINESERVER" -w
    if ! prefix_runs_32bit "$prefix"; then
        # The 32-bit system folder was not filled: fill it by hand.
        WINEPREFIX=$prefix timeout 300 "$WINE32" \
            'C:\windows\syswow64\rundll32.exe' setupapi,InstallHinfSection Wow64Install 128 \
            '\\?\unix\usr\share\wine\wine.inf' >/dev/null 2>&1 || true
        WINEPREFIX=$prefix timeout 60 "$WINESERVER" -w
        prefix_runs_32bit "$prefix" || { echo "the prefix runs no 32-bit program" >&2; return 1; }
    fi
}

# A run folder of its own (RUN_DIR) with the loaders and a copy of the prefix
# template at $1 (WINEPREFIX); when the script exits, whatever of Wine, Xvfb
# and the X tray runs there is stopped and the folder removed. $2 names it.
run_in_template_copy() {
    local template=$1
    RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tervane-$2.XXXXXX")
    export WINEPREFIX=$RUN_DIR/prefix
    trap 'stop_wineserver "$WINEPREFIX"; stop_x_tray; stop_xvfb; rm -rf "$RUN_DIR"' EXIT
    trap 'exit 143' INT TERM
    wine_loaders "$RUN_DIR/loaders" || return 1
    cp -a "$template" "$WINEPREFIX"
}

# True when a 32-bit program of the prefix runs and reports itself as one.
prefix_runs_32bit() {
    local out
    out=$(WINEPREFIX=$1 timeout 120 "$WINE32" 'C:\windows\syswow64\cmd.exe' /c 'echo %PROCESSOR_ARCHITECTURE%' 2>/dev/null | tr -d '\r')
    [ "$out" = x86 ]
}

# The machine field of a PE file's header: i386, x86_64 or unknown.
pe_machine() {
    local offset machine
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
    case "$machine" in
        014c) echo i386 ;;
        8664) echo x86_64 ;;
        *) echo unknown ;;
    esac
}

# Starts an Xvfb of its own on a display number it picks itself, at the
# given DPI (default 96). Sets XVFB_PID and DISPLAY; non-zero when it does
# not come up in time.
start_xvfb() {
    local display_file=$1 dpi=${2:-96}
    rm -f "$display_file"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi "$dpi" -nolisten tcp 3>"$display_file" 2>/dev/null &
    XVFB_PID=$!
    local waited=0
    until [ -s "$display_file" ]; do
        if [ $waited -ge 100 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start" >&2
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export DISPLAY=":$(head -n1 "$display_file")"
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

# An X system tray at the bottom right of the display: it draws each tray
# picture cleanly, where Wine's own tray window draws a new one over the old.
start_x_tray() {
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
        --transparent false >/dev/null 2>&1 &
    TRAY_PID=$!
    local waited=0
    # Ready once its panel is mapped.
    until xwininfo -root -tree 2>/dev/null | grep -q '"panel": ("panel" "trayer")'; do
        [ $waited -ge 50 ] && break
        sleep 0.1
        waited=$((waited + 1))
    done
}

stop_x_tray() {
    if [ -n "${TRAY_PID:-}" ]; then
        kill "$TRAY_PID" 2>/dev/null || true
        wait "$TRAY_PID" 2>/dev/null || true
        TRAY_PID=
    fi
}

# Ends every Wine process of the prefix and its server.
stop_wineserver() {
    local prefix=$1
    WINEPREFIX=$prefix timeout 20 "$WINESERVER" -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 20 "$WINESERVER" -w 2>/dev/null || true
}

# The stand-in monitor's file (tests/standin/standin_config.h): the anchor and
# nine readings, the CPU reading as given (default 45.0 C).
standin_readings() {
    local cpu=${1:-45.0 C}
    printf 'window 1 MonitorForm\nwindow 1 3.30 V\nwindow 1 5.05 V\nwindow 1 12.1 V\n'
    printf 'window 1 1.42 V\nwindow 1 %s\nwindow 1 1820\nwindow 1 0\nwindow 1 2410\n' "$cpu"
    printf 'window 1 38.5 C\n'
}

# Milliseconds since the epoch, for the run times the scripts print.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
seconds_since() { local ms=$(($(now_ms) - $1)); printf '%d.%01d' $((ms / 1000)) $((ms % 1000 / 100)); }
