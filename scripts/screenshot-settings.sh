#!/usr/bin/env bash
# Pictures of every settings page in English, Japanese and Korean, and of the
# legacy and DIT setup dialogs, into docs/settings/*.png (drawn by the
# settings-dialog test program).
#   scripts/screenshot-settings.sh [OUTPUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
out=${1:-$root/docs/settings}
tests=$build/tests/settings_qt/test_settings_qt
if [ ! -x "$tests" ]; then
  echo "screenshot-settings: $tests is missing; build the target test_settings_qt first" >&2
  exit 1
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
QT_QPA_PLATFORM=offscreen LUMORA_SETTINGS_SHOTS=$out "$tests" \
  --gtest_filter='SettingsPictures.*' >/dev/null
# Fewer colours keep the committed pictures small.
if command -v pngquant >/dev/null; then
  for f in "$out"/*.png; do pngquant --force --skip-if-larger --output "$f" 64 -- "$f" || true; done
fi
echo "screenshot-settings: wrote $(ls "$out"/*.png | wc -l) pictures to $out"
