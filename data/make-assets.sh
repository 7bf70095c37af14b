#!/bin/sh
# Draws the program's icons and makes its sounds. Run from anywhere; writes
# into the folder this script lives in. Needs ImageMagick (convert) and sox.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
icons="$here/Icons"
sound="$here/Sound"
theme="$here/desktop/icons"
mkdir -p "$icons" "$sound"

# A round badge with a blocky "H" in it, drawn on a 32-unit grid and scaled
# to $3 pixels; $1 = fill colour, $2 = output file.
# desktop/icons/scalable/handlehound.svg is the same drawing.
badge() {
    scale=$(awk "BEGIN { print $3 / 32 }")
    convert -size "$3x$3" xc:none -draw "scale $scale,$scale
        fill '$1' stroke '#202020' stroke-width 2 circle 16,16 16,2
        fill white stroke none
        rectangle 9,8 13,24 rectangle 19,8 23,24 rectangle 9,14 23,18" \
        -define png:exclude-chunks=date,time "PNG32:$2"
}
badge '#7a7a7a' "$icons/Handlehound.png" 32         # tray: monitoring off
badge '#2e9e3e' "$icons/Handlehound_Enabled.png" 32 # tray: monitoring on
convert "$icons/Handlehound.png" "$icons/Handlehound.ico"
convert "$icons/Handlehound_Enabled.png" "$icons/Handlehound_Enabled.ico"
# The menu's icon in the sizes desktops ask for.
for size in 16 32 48 64 128 256; do
    mkdir -p "$theme/${size}x${size}"
    badge '#2e9e3e' "$theme/${size}x${size}/handlehound.png" "$size"
done

# A plain dot for the status bar's state panel.
dot() {
    convert -size 16x16 xc:none -fill "$1" -stroke '#202020' -strokewidth 1 \
        -draw 'circle 8,8 8,2' "PNG32:$icons/$2.png"
    convert "$icons/$2.png" "$icons/$2.ico"
    rm -f "$icons/$2.png"
}
dot '#2ecc40' Enabled
dot '#d62828' Disabled

# Short sine tones, 22050 Hz mono 16-bit: $1 = name, then sox synth arguments.
tone() {
    name=$1
    shift
    sox -n -r 22050 -c 1 -b 16 "$sound/$name.wav" synth "$@" fade 0.01 0 0.03 vol 0.5
}
tone on 0.25 sine 660:990
tone off 0.25 sine 990:660
tone default 0.15 sine 880
tone close 0.3 sine 220
tone complete 0.3 sine 523.25:1046.5
tone cmd 0.1 sine 1320
tone beat 0.08 sine 440
