#!/usr/bin/env bash
# Starts the viewer under Xvfb on a generated sample card, switches to DIT mode
# (8200), replays the first drive (1006) and saves the main window's picture
# into docs/dit.png.
#   scripts/screenshot-dit.sh [OUTPUT.png] [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
out=${1:-$root/docs/dit.png}
after=${2:-4}
viewer=$build/app/lumora-viewer
mkcard=$build/tools/mkcard/lumora-mkcard
for tool in "$viewer" "$mkcard"; do
  if [ ! -x "$tool" ]; then
    echo "screenshot-dit: $tool is missing; build first (scripts/build.sh)" >&2
    exit 1
  fi
done
card=$(mktemp -d "${TMPDIR:-/tmp}/lumora-dit-shot.XXXXXX")
trap 'rm -rf "$card"' EXIT
# Small recordings: the card's drive logs and stills are what DIT mode shows.
"$mkcard" --seconds 4 --recordings 2 --no-mp4 "$card" >/dev/null 2>&1
mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1600x900x24" \
  "$viewer" --card "$card" --commands 8200,1006 --screenshot "$out" --after "$after"
echo "screenshot-dit: wrote $out"
