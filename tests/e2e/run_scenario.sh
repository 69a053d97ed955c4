#!/usr/bin/env bash
# Runs one e2e scenario in its own copy of the prefix template, on an Xvfb
# display of its own, and ends everything it started:
#   run_scenario.sh <template dir> <windows64 build dir> <scenario> [time limit in s]
# Exit code: the driver's (0 passed, 1 a check failed), 124 on time-out,
# 2 when something it needs is missing. With E2E_X_TRAY=1 the display gets an
# X system tray (trayer), which draws each tray picture cleanly.
set -uo pipefail
template=$1
build=$2
scenario=$3
limit=${4:-90}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh"

driver=$build/tests/e2e/e2e_driver.exe
[ -f "$driver" ] || { echo "no $driver: build the windows64 preset first" >&2; exit 2; }
[ -d "$template/drive_c" ] || { echo "no prefix template at $template" >&2; exit 2; }

started=$(now_ms)
run=$(mktemp -d "${TMPDIR:-/tmp}/tervane-e2e.XXXXXX")
prefix=$run/prefix
tray_pid=
cleanup() {
    stop_wineserver "$prefix"
    if [ -n "$tray_pid" ]; then
        kill "$tray_pid" 2>/dev/null || true
        wait "$tray_pid" 2>/dev/null || true
    fi
    stop_xvfb
    rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 143' INT TERM

cp -a "$template" "$prefix"
start_xvfb "$run/display" || exit 2
if [ "${E2E_X_TRAY:-0}" = 1 ]; then
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
        --transparent false >/dev/null 2>&1 &
    tray_pid=$!
    sleep 0.5
fi
export WINEPREFIX=$prefix
ready=$(now_ms)
timeout --kill-after=10 "$limit" "$WINE" "$driver" "$scenario" --work 'C:\e2e'
rc=$?
[ $rc -eq 124 ] && echo "e2e.$scenario: timed out after $limit s"
echo "e2e.$scenario: exit $rc; set-up $(((ready - started)))ms, driver $(seconds_since "$ready") s"
exit $rc
