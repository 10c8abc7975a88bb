#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy QTWEBENGINE_DISABLE_SANDBOX=1
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
