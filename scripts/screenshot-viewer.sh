#!/usr/bin/env bash
# Starts the viewer under Xvfb on a generated sample card, lets it play for a
# few seconds and saves the main window's picture into docs/viewer.png.
#   scripts/screenshot-viewer.sh [OUTPUT.png] [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
out=${1:-$root/docs/viewer.png}
after=${2:-6}
viewer=$build/app/lumora-viewer
mkcard=$build/tools/mkcard/lumora-mkcard
for tool in "$viewer" "$mkcard"; do
  if [ ! -x "$tool" ]; then
    echo "screenshot-viewer: $tool is missing; build first (scripts/build.sh)" >&2
    exit 1
  fi
done
card=$(mktemp -d "${TMPDIR:-/tmp}/lumora-shot.XXXXXX")
trap 'rm -rf "$card"' EXIT
# One two-channel recording of a steady drive, so both video panes, the
# needle, the heading arrow and a route line show.
"$mkcard" --seed 5 --seconds 12 --recordings 1 --no-mp4 "$card" >/dev/null 2>&1
mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1600x900x24" \
  "$viewer" --card "$card" --screenshot "$out" --after "$after"
echo "screenshot-viewer: wrote $out"
