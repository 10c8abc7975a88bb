#!/usr/bin/env bash
# Makes the Debian package from the finished build in build/ (or
# $LUMORA_BUILD_DIR; built first only when it is not there yet), installs it
# with dpkg -i (apt pulls in what it depends on) and starts the installed
# viewer under Xvfb on a sample card: it has to come up, take a picture of
# its window and exit cleanly, and store nothing in the home folder.
# Prints the viewer's start time as the viewer itself reports it
# (--report-start): from the program's start to the first paint of its window
# with the card's list filled and the first recording open, and to the map
# page's load; best and median of 5 starts. The goal (under a second) is
# reported, not enforced: the figure depends on the machine's load.
# Run as root or with sudo. LUMORA_KEEP_DEB=1 leaves the package installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja >/dev/null
fi
# cpack installs the whole build; it must already be complete (scripts/test.sh).
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/lumora-viewer_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lumora-viewer_*.deb)
echo "check-deb: built $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ */check-deb: depends /'
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | sed 's/^/check-deb: file /'

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if ! $sudo dpkg -i "$deb"; then
  # Pulls in what the package depends on and is not installed yet.
  $sudo apt-get install -y -qq -f >/dev/null
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-deb.XXXXXX")
cleanup() {
  rm -rf "$work"
  if [ "${LUMORA_KEEP_DEB:-0}" != 1 ]; then $sudo dpkg -r lumora-viewer >/dev/null || true; fi
}
trap cleanup EXIT
dpkg-query -W -f='${Status}\n' lumora-viewer | grep -q "install ok installed"
for path in /usr/bin/lumora-viewer /usr/bin/lumora-cli /usr/bin/lumora-mkcard \
  /usr/share/applications/lumora-viewer.desktop \
  /usr/share/icons/hicolor/256x256/apps/lumora-viewer.png \
  /usr/share/icons/hicolor/48x48/apps/lumora-viewer.png \
  /usr/share/icons/hicolor/scalable/apps/lumora-viewer.svg \
  /usr/libexec/lumora-viewer/lumora-format-helper \
  /usr/share/polkit-1/actions/org.lumora.viewer.format-card.policy; do
  [ -e "$path" ] || { echo "check-deb: $path is missing" >&2; exit 1; }
done
# The format helper runs, refuses what is no device, and its polkit policy
# is well-formed and names the installed helper for pkexec.
helper=/usr/libexec/lumora-viewer/lumora-format-helper
policy=/usr/share/polkit-1/actions/org.lumora.viewer.format-card.policy
[ -x "$helper" ] || { echo "check-deb: $helper is not executable" >&2; exit 1; }
if "$helper" /usr/bin/lumora-viewer 2>/dev/null; then
  echo "check-deb: the format helper accepted a file" >&2
  exit 1
fi
xmllint --noout "$policy"
named=$(xmllint --xpath 'string(//annotate[@key="org.freedesktop.policykit.exec.path"])' "$policy")
[ "$named" = "$helper" ] || { echo "check-deb: the policy names $named, not $helper" >&2; exit 1; }
echo "check-deb: format helper and polkit policy installed ($named)"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/lumora-viewer.desktop
fi

# The installed programs, not the ones in the build folder, with a home
# folder of their own to see that the viewer keeps no settings.
mkdir -p "$work/home"
cd "$work"
/usr/bin/lumora-cli --help >/dev/null
/usr/bin/lumora-mkcard "$work/card" >/dev/null
cat >"$work/start.sh" <<'SCRIPT'
#!/usr/bin/env bash
# Under Xvfb: one start that keeps its picture, then five reported starts.
set -euo pipefail
work=$1
/usr/bin/lumora-viewer --card "$work/card" --screenshot "$work/window.png" --after 3
for i in 1 2 3 4 5; do
  /usr/bin/lumora-viewer --card "$work/card" --report-start >>"$work/start.json"
done
SCRIPT
chmod +x "$work/start.sh"
# A desktop session has its own session bus; without one, libdbus would
# start one through X11 and leave its address file in the home folder.
HOME=$work/home XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_CACHE_HOME= \
  timeout 300 dbus-run-session -- xvfb-run -a -s "-screen 0 1600x900x24" "$work/start.sh" "$work"
file "$work/window.png" | grep -q "PNG image data"
echo "check-deb: installed viewer started and drew its window ($(file -b "$work/window.png"))"
echo "check-deb: load average $(cut -d' ' -f1-3 /proc/loadavg)"
# Each line: {"start_ms": N, "first_paint_ms": N, "map_ready_ms": N}.
figure() {
  sed -n "s/.*\"$1\": *\(-\{0,1\}[0-9]*\).*/\1/p" "$work/start.json" | sort -n |
    awk -v name="$1" '{ms[NR] = $1} END {
      if (NR != 5) { printf "check-deb: %s: %d of 5 starts reported\n", name, NR; exit 1 }
      printf "check-deb: %s on the sample card: best %d ms, median %d ms (5 starts)\n",
        name, ms[1], ms[3]
      if (name == "start_ms")
        printf "check-deb: start goal (under 1000 ms): %s\n", ms[3] < 1000 ? "met" : "not met"
    }'
}
figure start_ms
figure first_paint_ms
figure map_ready_ms
# Caches (Qt's shader cache) and the sound server's runtime link may appear;
# settings or stored state of the viewer's own may not.
left=$(cd "$work/home" && find . -mindepth 1 -type f | grep -v -E '^\./\.cache/|^\./\.config/pulse/' | sort || true)
if [ -n "$left" ]; then
  echo "check-deb: the viewer stored files in the home folder:" >&2
  echo "$left" >&2
  exit 1
fi
echo "check-deb: the viewer stored nothing in the home folder (only caches: $(cd "$work/home" && find . -type f | wc -l) files)"
