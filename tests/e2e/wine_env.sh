# Shared by the e2e scripts: the 64-bit Wine they run and its environment.
# (This kernel runs no 32-bit code, so the runs use wine64 and the x86_64 build.)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Starts an Xvfb of our own on a display number it picks itself. Sets
# XVFB_PID and DISPLAY; returns non-zero when it does not come up in time.
start_xvfb() {
    local display_file=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
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

# Ends every Wine process of the prefix and its server.
stop_wineserver() {
    local prefix=$1
    WINEPREFIX=$prefix timeout 20 "$WINESERVER" -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 20 "$WINESERVER" -w 2>/dev/null || true
}

# Milliseconds since the epoch, for the run times the scripts print.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
seconds_since() { local ms=$(($(now_ms) - $1)); printf '%d.%01d' $((ms / 1000)) $((ms % 1000 / 100)); }
