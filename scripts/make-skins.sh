#!/bin/sh
# Regenerates the skin bitmaps in res/skin/ with lumora-skingen.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target lumora-skingen
QT_QPA_PLATFORM=offscreen "$build/tools/skingen/lumora-skingen" "$root/res/skin"
