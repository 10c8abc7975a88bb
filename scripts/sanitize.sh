#!/usr/bin/env bash
# Runs every test that needs no Qt under the address and undefined-behaviour
# sanitizers, in the clang build scripts/asan-build.sh makes (build-asan/ or
# $LUMORA_ASAN_BUILD_DIR; the fuzz targets come from the same build). The
# engine's thread-sanitizer run is scripts/test-tsan.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_ASAN_BUILD_DIR:-$root/build-asan}
export LUMORA_ASAN_BUILD_DIR=$build
"$root/scripts/asan-build.sh"
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
# A test that fails is run once more: the playback tests compare against the
# wall clock, which a loaded machine can upset; a sanitizer's finding repeats.
ctest --output-on-failure -j "$(nproc)" --timeout 900 --repeat until-pass:2
