#!/usr/bin/env bash
# contact_sheet.sh ICON_DIR OUTPUT_PNG
# Lays out every icon image of ICON_DIR (icon_<id>.ico) enlarged on a grey
# ground, each labelled with its group id: first the application icon and the
# two range pictures, then the black digits, then the white digits.
set -euo pipefail
icon_dir=$1
output=$2
columns=17
tile=96

args=()
count=0
add_tile() {  # label, image
    args+=(-label "$1" "$2")
    count=$((count + 1))
}
finish_row() {  # pads the row with empty tiles
    while ((count % columns != 0)); do
        args+=(-label "" null:)
        count=$((count + 1))
    done
}
add_group() {  # id, with one tile per image of the group
    local file=$icon_dir/icon_$1.ico
    [[ -f $file ]] || { echo "contact_sheet: missing $file" >&2; exit 1; }
    local sizes
    mapfile -t sizes < <(identify -format '%w\n' "$file")
    ((${#sizes[@]} > 0)) || { echo "contact_sheet: cannot read $file" >&2; exit 1; }
    if ((${#sizes[@]} == 1)); then
        add_tile "$1" "$file[0]"
    else
        local i
        for i in "${!sizes[@]}"; do
            add_tile "$1 (${sizes[$i]}px)" "$file[$i]"
        done
    fi
}
add_digits() {  # id: a single 32 x 32 image
    local file=$icon_dir/icon_$1.ico
    [[ -f $file ]] || { echo "contact_sheet: missing $file" >&2; exit 1; }
    add_tile "$1" "$file[0]"
}

for id in 1 200 300; do add_group "$id"; done
finish_row
for id in $(seq 20 70); do add_digits "$id"; done
finish_row
for id in $(seq 120 170); do add_digits "$id"; done
finish_row

# Labels need a real font file; ImageMagick's default may have none behind it.
font=$(convert -list font | awk '/Font: DejaVu-Sans$/ {print $2; exit}')
[[ -n $font ]] || font=$(convert -list font | awk '/Font:/ {print $2; exit}')

# Point sampling keeps every pixel a sharp square when enlarged.
montage -font "$font" -background '#dde2e7' -fill black -pointsize 14 \
    -filter point -geometry "${tile}x${tile}+10+6" -bordercolor '#7f8fa0' -border 1 -tile "${columns}x" \
    "${args[@]}" "$output"
