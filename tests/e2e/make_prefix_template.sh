#!/usr/bin/env bash
# Makes the Wine prefix that every e2e run of this test run copies:
#   make_prefix_template.sh <template dir>
# A fresh 64-bit prefix, and Wine's X11 driver told not to leave windows to a
# window manager (Xvfb has none; without this every hidden window waits 2 s).
set -euo pipefail
template=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh"

started=$(now_ms)
work=$(mktemp -d "$(dirname "$template")/.template.XXXXXX")
prefix=$work/prefix
cleanup() {
    stop_wineserver "$prefix"
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb "$work/display"
export WINEPREFIX=$prefix
timeout 120 "$WINE" wineboot -i >"$work/wineboot.log" 2>&1 ||
    { cat "$work/wineboot.log" >&2; echo "wineboot failed" >&2; exit 1; }
timeout 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
timeout 60 "$WINESERVER" -w

rm -rf "$template"
mv "$prefix" "$template"
echo "prefix template $template made in $(seconds_since "$started") s ($(du -sh "$template" | cut -f1))"
