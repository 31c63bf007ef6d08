#!/usr/bin/env bash
# Draws Tovarin's icon with ImageMagick and writes src/win32/tovarin.ico: a fighter seen from above, nose up, its
# engine lit, on a night-sky disc. Every size the Windows shell asks for (16, 24, 32, 48 and 256 pixels) is drawn at
# that size from the same shapes; the two smallest leave out the stars and outlines, which would only blur there.
# The icon is committed, so building needs no ImageMagick; run this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v convert >/dev/null || { echo "make-icon: ImageMagick is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }

# The shapes on a 256-pixel square.
sky="fill '#0e1a33' stroke '#5d7fb8' stroke-width 8 circle 128,128 128,8"
stars="fill '#ffffff' stroke none circle 60,70 60,72.5 circle 196,58 196,60 circle 206,150 206,152 circle 52,168 52,170"
flame="fill '#ff9f1c' stroke none path 'M 114,196 L 128,244 L 142,196 Z'"
hull="path 'M 128,22 L 148,104 L 222,186 L 222,204 L 152,190 L 144,208 L 112,208 L 104,190 L 34,204 L 34,186 L 108,104 Z'"
cockpit="ellipse 128,110 10,24 0,360"
guns="fill '#e4572e' stroke none path 'M 34,186 L 56,182 L 56,200 L 34,204 Z' path 'M 222,186 L 200,182 L 200,200 L 222,204 Z'"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
images=()
for size in 16 24 32 48 256; do
  if [ "$size" -le 24 ]; then
    shapes="$sky $flame fill '#dfe6f0' stroke none $hull fill '#3fb6f2' $cockpit $guns"
  else
    shapes="$sky $stars $flame fill '#dfe6f0' stroke '#1d2b45' stroke-width 5 stroke-linejoin round $hull"
    shapes="$shapes fill '#3fb6f2' stroke '#1d2b45' stroke-width 4 $cockpit $guns"
  fi
  scale=$(awk -v size="$size" 'BEGIN { print size / 256 }')
  convert -size "${size}x${size}" xc:none -draw "scale $scale,$scale $shapes" "PNG32:$work/$size.png"
  images+=("$work/$size.png")
done
convert "${images[@]}" src/win32/tovarin.ico
echo "wrote src/win32/tovarin.ico"
