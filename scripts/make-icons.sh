#!/usr/bin/env bash
# Renders the program's icon images from resources/verbaro.svg into resources/icons/, each as
# <size>-<bits>.png: the sizes of 16 to 48 pixels once in full colour with alpha (32 bits) and once
# as an 8-bit palette image, the larger ones, for screens scaled up and for the desktop's
# launchers, in full colour only.
# The images are committed, so the build itself needs none of these tools; run this only after
# changing the artwork. Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
source_svg="$root/resources/verbaro.svg"
out="$root/resources/icons"
mkdir -p "$out"

for size in 256 128 96 64 48 32 24 16; do
    rsvg-convert --width "$size" --height "$size" "$source_svg" --output "$out/$size-32.png"
    # PNG8: a palette of at most 256 colours with on/off transparency.
    if ((size <= 48)); then convert "$out/$size-32.png" -strip -colors 255 "PNG8:$out/$size-8.png"; fi
    convert "$out/$size-32.png" -strip "PNG32:$out/$size-32.png"
done
