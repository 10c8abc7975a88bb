#!/usr/bin/env bash
# Builds the engine tests with the thread sanitizer into build-tsan/ (or
# $LUMORA_TSAN_BUILD_DIR) and runs them. The engine is the only part with
# threads of its own: decoders, the player thread and the SDL sound callback.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_TSAN_BUILD_DIR:-$root/build-tsan}
cmake -S "$root" -B "$build" -G Ninja -DLUMORA_SANITIZE=thread >/dev/null
cmake --build "$build" -j "$(nproc)" --target test_engine
export SDL_AUDIODRIVER=dummy TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
"$build/tests/engine/test_engine" --gtest_brief=1
