#!/usr/bin/env bash
# Renders the program icon res/icons/lumora-viewer.svg into the PNG sizes the
# hicolor theme gets (res/icons/<size>/lumora-viewer.png). Needs ImageMagick
# with SVG support (rsvg-convert is used when it is there).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
svg=$root/res/icons/lumora-viewer.svg
for size in 256 48; do
  out=$root/res/icons/$size/lumora-viewer.png
  mkdir -p "$(dirname "$out")"
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$out"
  else
    convert -background none -density 384 "$svg" -resize "${size}x${size}" -strip "PNG32:$out"
  fi
  echo "make-icons: wrote $out"
done
