#!/usr/bin/env bash
# Makes the Wine prefix that every e2e run of this test run copies:
#   make_prefix_template.sh <template dir>
set -euo pipefail
template=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/wine.sh"

started=$(now_ms)
work=$(mktemp -d "$(dirname "$template")/.template.XXXXXX")
prefix=$work/prefix
cleanup() {
    stop_wineserver "$prefix"
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

wine_loaders "$work/loaders"
start_xvfb "$work/display"
make_prefix "$prefix"

rm -rf "$template"
mv "$prefix" "$template"
echo "prefix template $template made in $(seconds_since "$started") s ($(du -sh "$template" | cut -f1)); 32-bit programs run $WINE32_ROUTE"
