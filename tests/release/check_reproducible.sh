#!/usr/bin/env bash
# check_reproducible.sh SOURCE_DIR
#
# Builds the 32-bit program from SOURCE_DIR twice, in two fresh build folders
# at different paths (different names, different depths) a few seconds apart,
# packs each, and requires byte-identical Tervane_Lite.exe files, zips and
# SHA256SUMS, with neither build folder's path inside the program.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 SOURCE_DIR" >&2
    exit 2
fi
source_dir=$(cd "$1" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tervane-reproducible.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

builds=("$scratch/first" "$scratch/second/build/at/another/depth")

build() {
    local dir=$1
    echo "== building in $dir"
    (cd "$source_dir" && cmake --preset windows -B "$dir" >"$scratch/configure.log" 2>&1) || {
        cat "$scratch/configure.log"
        return 1
    }
    cmake --build "$dir" --target Tervane_Lite >"$scratch/build.log" 2>&1 || {
        tail -40 "$scratch/build.log"
        return 1
    }
    (cd "$dir" && cpack --config CPackConfig.cmake >"$scratch/package.log" 2>&1) || {
        cat "$scratch/package.log"
        return 1
    }
}

build "${builds[0]}"
sleep 3  # whatever time stamp leaked in would now differ
build "${builds[1]}"

zip_name=$(cd "${builds[0]}" && ls Tervane_Lite-*-win32.zip)
exe=platform/win32/Tervane_Lite.exe
failed=0
for file in "$exe" "$zip_name" SHA256SUMS; do
    first="${builds[0]}/$file"
    second="${builds[1]}/$file"
    if [ ! -f "$first" ] || [ ! -f "$second" ]; then
        echo "FAIL: $file is missing from a build"
        failed=1
        continue
    fi
    sha256sum "$first" "$second" | sed "s|$scratch/||"
    if ! cmp -s "$first" "$second"; then
        echo "FAIL: $file differs between the two builds ($(cmp -l "$first" "$second" 2>/dev/null |
            wc -l) bytes differ)"
        failed=1
    fi
done

# Neither build folder nor the source folder may show in the program, as
# plain or as UTF-16 text.
for dir in "${builds[@]}" "$source_dir"; do
    for encoding in s l; do
        if strings -a -e "$encoding" "${builds[0]}/$exe" "${builds[1]}/$exe" | grep -qF "$dir"; then
            echo "FAIL: the program holds the path $dir"
            failed=1
        fi
    done
done

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "reproducible: the program, $zip_name and SHA256SUMS are byte-identical"
