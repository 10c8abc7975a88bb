#!/usr/bin/env bash
# Configures and builds the one clang build that the sanitizer and fuzz runs
# share: every part without Qt, its tests, the tools and the libFuzzer targets,
# compiled with the address and undefined-behaviour sanitizers and libFuzzer's
# coverage instrumentation. Without optimisation (it compiles in about half
# the time, and the sanitizers see every operation as written), with line
# tables and assertions; the benchmarks are left out.
# Usage: scripts/asan-build.sh [TARGET...]   (default: everything)
# Build dir: $LUMORA_ASAN_BUILD_DIR or build-asan/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_ASAN_BUILD_DIR:-$root/build-asan}
LUMORA_FUZZ=1 "$root/scripts/install-deps.sh"
# Warnings are checked by the gcc build; clang's own extra ones do not fail this one.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O0 -gline-tables-only" \
  -DCMAKE_C_FLAGS_RELEASE="-O0 -gline-tables-only" -DLUMORA_BUILD_BENCH=OFF \
  -DLUMORA_FUZZ=ON -DLUMORA_BUILD_GUI=OFF -DLUMORA_WERROR=OFF >/dev/null
if [ $# -eq 0 ]; then
  cmake --build "$build" -j "$(nproc)"
else
  cmake --build "$build" -j "$(nproc)" --target "$@"
fi
