#!/usr/bin/env bash
# Configures and builds the project into build/ (or $LUMORA_BUILD_DIR).
# With LUMORA_NO_DEBUG_INFO=1 (CI) the optimised build leaves out debug
# information: the same code and warnings, compiled in about a third less time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
extra=()
if [ "${LUMORA_NO_DEBUG_INFO:-0}" = 1 ]; then
  extra=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG")
fi
cmake -S "$root" -B "$build" -G Ninja "${extra[@]}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
