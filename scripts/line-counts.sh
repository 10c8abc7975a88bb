#!/usr/bin/env bash
# Prints the C++ lines of the program (app ui engine display data library
# settings platform tools res), of the tests (tests/) and the tests' share of
# the program in per cent. The tests are meant to stay at most 40 % of it.
set -euo pipefail
cd "$(dirname "$0")/.."

cxx_lines() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.cc' -o -name '*.h' -o -name '*.hpp' \) -print0 |
    xargs -0 cat | wc -l
}

program=$(cxx_lines app ui engine display data library settings platform tools res)
tests=$(cxx_lines tests)
echo "program C++ lines: $program"
echo "tests C++ lines:   $tests"
awk -v t="$tests" -v p="$program" 'BEGIN { printf "tests/program:     %.1f %%\n", 100 * t / p }'
