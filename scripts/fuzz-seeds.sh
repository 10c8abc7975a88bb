#!/usr/bin/env bash
# Writes the fuzzers' seed corpora into OUT/<target>/ from generated files:
# small recordings from lumora-mkcard (cut to their first kilobytes), the
# user-data records lumora-cli reads out of them, the real JPEG and NMEA test
# files, and the settings files, names and drive logs of a generated card.
# Usage: scripts/fuzz-seeds.sh BUILD_DIR OUT_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
out=$2
mkcard=$build/tools/mkcard/lumora-mkcard
cli=$build/tools/cli/lumora-cli
shared=$(sed -n 's/^LUMORA_SHARED_DIR:PATH=//p' "$build/CMakeCache.txt")
[ -n "$shared" ] || shared=$root/../shared
real=$shared/testdata/real

rm -rf "$out"
mkdir -p "$out"/{riff,userdata,jpeg,ini,recname,dit,mapcalls}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Recordings: every kind of user data, with and without a rear channel.
n=0
for kind in xblb adas two-user none; do
  for size in 160x120 320x240; do
    n=$((n + 1))
    "$mkcard" --recording --seed "$n" --seconds 1 --fps 2 --front "$size" --rear "$size" \
      --user-data "$kind" "$work/rec$n.avi" >/dev/null
    head -c 4096 "$work/rec$n.avi" >"$out/riff/head4k-$n.avi"
    head -c 24576 "$work/rec$n.avi" >"$out/riff/head24k-$n.avi"
  done
done
cp "$work/rec1.avi" "$out/riff/whole-1.avi"
"$mkcard" --recording --seed 9 --seconds 1 --fps 1 --front 160x120 --channels 1 \
  "$work/front.avi" >/dev/null
cp "$work/front.avi" "$out/riff/front-only.avi"

# User-data records as the reader hands them out (hex in lumora-cli's output).
if [ -x "$cli" ]; then
  i=0
  for rec in "$work"/rec1.avi "$work"/rec3.avi "$work"/rec5.avi; do
    "$cli" records "$rec" 2>/dev/null | grep -o '"hex":"[0-9A-Fa-f]*"' | head -n 6 |
      while read -r line; do
        hex=${line#\"hex\":\"}
        hex=${hex%\"}
        i=$((i + 1))
        printf "$(sed 's/../\\x&/g' <<<"$hex")" >"$out/userdata/record-$(basename "$rec" .avi)-$i"
      done
  done
fi
# NMEA sentences of real receivers, one record per seed.
for log in "$real"/nmea/*.log; do
  grep -a -m 4 '^\$..RMC' "$log" | tr -d '\r' | while read -r sentence; do
    n=$((n + 1))
    printf '%s\r\n' "$sentence" >"$out/userdata/nmea-$(basename "$log" .log)-$n"
  done
done

# Real JPEG pictures (the small ones) and the card's captured stills.
for jpg in "$real"/jpeg/*.jpg; do
  [ "$(stat -c %s "$jpg")" -le 65536 ] && cp "$jpg" "$out/jpeg/"
done

# A card: settings files, file names and drive logs.
"$mkcard" --seed 3 --recordings 2 --seconds 1 --fps 2 --front 160x120 --rear 160x120 \
  "$work/card" >/dev/null
find "$work/card" -iname '*.jpg' -size -64k -exec cp {} "$out/jpeg/" \;
i=0
while IFS= read -r cfg; do
  i=$((i + 1))
  cp "$cfg" "$out/ini/$i-$(basename "$cfg")"
done < <(find "$work/card" -name '*.cfg')
i=0
while IFS= read -r name; do
  i=$((i + 1))
  printf '%s' "$name" >"$out/recname/path-$i"
  printf '%s' "${name##*/}" >"$out/recname/name-$i"
done < <(find "$work/card" -type f -printf '%P\n')
find "$work/card" -iname '*.dit' -exec cp {} "$out/dit/" \;
# Map calls as the viewer sends them to the map page.
printf '%s' "javascript:DrawCurrent('139.774494', '35.684066')" >"$out/mapcalls/current"
printf '%s' "javascript:DrawRoute('139.7744','35.6840','139.7751','35.6846');" >"$out/mapcalls/route"
printf '%s' 'javascript: ClearMap ( "a\\b" ,	"\xe6\x9d\xb1" )' >"$out/mapcalls/quoted"
for kind in riff userdata jpeg ini recname dit mapcalls; do
  echo "fuzz-seeds: $kind $(find "$out/$kind" -type f | wc -l) files"
done
