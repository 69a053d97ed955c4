#!/usr/bin/env bash
# Runs one e2e scenario in its own copy of the prefix template, on an Xvfb
# display of its own, and ends everything it started:
#   run_scenario.sh <template dir> <windows64 build dir> <program exe> <scenario> [time limit in s]
# The driver and the stand-in monitor come from the 64-bit build; the program
# under test is the exe named. Exit code: the driver's (0 passed, 1 a check
# failed), 124 on time-out, 2 when something it needs is missing. With
# E2E_X_TRAY=1 the display gets an X system tray, which draws each tray
# picture cleanly; E2E_DPI sets the display's and the prefix's DPI.
set -uo pipefail
template=$1
build=$2
program=$3
scenario=$4
limit=${5:-90}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/wine.sh"

driver=$build/tests/e2e/e2e_driver.exe
[ -f "$driver" ] || { echo "no $driver: build the windows64 preset first" >&2; exit 2; }
[ -f "$program" ] || { echo "no $program: build the windows preset first" >&2; exit 2; }
[ -d "$template/drive_c" ] || { echo "no prefix template at $template" >&2; exit 2; }

started=$(now_ms)
run_in_template_copy "$template" e2e || exit 2
dpi=${E2E_DPI:-96}
start_xvfb "$RUN_DIR/display" "$dpi" || exit 2
if [ "$dpi" != 96 ]; then
    # The DPI Wine gives its programs.
    timeout 60 "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$dpi" /f >/dev/null 2>&1
fi
[ "${E2E_X_TRAY:-0}" = 1 ] && start_x_tray
echo "e2e.$scenario: program $(basename "$program") (PE machine $(pe_machine "$program")), 32-bit programs run $WINE32_ROUTE"
ready=$(now_ms)
timeout --kill-after=10 "$limit" "$WINE64" "$driver" "$scenario" --work 'C:\e2e' --program "$program"
rc=$?
[ $rc -eq 124 ] && echo "e2e.$scenario: timed out after $limit s"
echo "e2e.$scenario: exit $rc; set-up $(((ready - started)))ms, driver $(seconds_since "$ready") s"
exit $rc
