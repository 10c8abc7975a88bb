#!/usr/bin/env bash
# Installs what is missing, builds, writes a sample card and opens it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
card=${LUMORA_DEMO_CARD:-$build/sample-card}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
# The demo card holds every kind of recording the camera leaves: with them an
# MP4 without driving data and one recording cut by a power loss at 70 %.
if [ ! -d "$card/NORMAL" ]; then
  "$build/tools/mkcard/lumora-mkcard" --cut 0.7 "$card"
fi
if [ -x "$build/app/lumora-viewer" ]; then
  exec "$build/app/lumora-viewer" --card "$card" "$@"
fi
echo "The viewer window is not built yet; the sample card's recordings are:"
"$build/tools/cli/lumora-cli" scan "$card" 2>/dev/null || find "$card" -type f | sort
