#!/usr/bin/env bash
# Shows that the tests catch faults: puts each fault of a list (default
# scripts/mutate-faults.tsv) into the source one at a time, rebuilds the test
# programs the fault names, runs them and reports the fault caught when one
# of them fails. The source is restored after each fault. Run by hand (not in
# CI) on a finished build; exits 1 when a fault was missed.
# Usage: scripts/mutate.sh [FAULT-LIST] [NAME...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
list=${1:-$root/scripts/mutate-faults.tsv}
shift || true
only=" $* "
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy QTWEBENGINE_DISABLE_SANDBOX=1

caught=0
missed=0
results=()
while IFS=$'\t' read -r name file programs find replace what; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  [[ "$only" != "  " && "$only" != *" $name "* ]] && continue
  source=$root/$file
  backup=$(mktemp)
  cp "$source" "$backup"
  trap 'cp "$backup" "$source"' EXIT
  if ! python3 - "$source" "$find" "$replace" <<'PY'; then
import sys
path, find, replace = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
text = open(path).read()
if text.count(find) != 1:
    sys.exit(1)
open(path, "w").write(text.replace(find, replace))
PY
    results+=("STALE   $name: its text is not in $file once")
    missed=$((missed + 1))
    cp "$backup" "$source"
    continue
  fi
  verdict=missed
  IFS=, read -r -a targets <<<"$programs"
  if ! cmake --build "$build" -j 2 --target "${targets[@]}" </dev/null >"$build/mutate-build.log" 2>&1; then
    verdict=no-build
  else
    for target in "${targets[@]}"; do
      exe=$(find "$build/tests" -name "$target" -type f -perm -u+x | head -n 1)
      if [ -z "$exe" ]; then
        verdict=no-program
        break
      fi
      if ! (cd "$(dirname "$exe")" && timeout 600 "$exe" --gtest_brief=1 </dev/null >/dev/null 2>&1); then
        verdict=caught
        break
      fi
    done
  fi
  cp "$backup" "$source"
  rm -f "$backup"
  trap - EXIT
  if [ "$verdict" = caught ]; then
    caught=$((caught + 1))
    results+=("caught  $name ($what)")
  else
    missed=$((missed + 1))
    results+=("MISSED  $name [$verdict] ($what)")
  fi
  echo "mutate: $name: $verdict"
done <"$list"

# Back to the unchanged programs.
cmake --build "$build" -j 2 >/dev/null 2>&1 || true
printf '%s\n' "${results[@]}"
echo "mutate: $caught caught, $missed missed"
[ "$missed" -eq 0 ]
