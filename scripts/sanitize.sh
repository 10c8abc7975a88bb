#!/usr/bin/env bash
# Builds the plain libraries, the command-line tools and every test that needs
# no Qt with the address and undefined-behaviour sanitizers into build-asan/
# (or $LUMORA_ASAN_BUILD_DIR) and runs those tests. The engine's thread-
# sanitizer run is scripts/test-tsan.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_ASAN_BUILD_DIR:-$root/build-asan}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMORA_SANITIZE=address,undefined -DLUMORA_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 900
