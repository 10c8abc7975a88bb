#!/usr/bin/env bash
# Builds the Debian package, installs it into this machine with dpkg -i and
# starts the installed viewer under Xvfb on a generated card: it has to come
# up, take a picture of its window and exit cleanly.
# Uses the build in build/ (or $LUMORA_BUILD_DIR); run as root or with sudo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMORA_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j "$(nproc)" --target lumora-viewer lumora-cli lumora-mkcard
rm -f "$build"/lumora-viewer_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lumora-viewer_*.deb)
echo "check-deb: built $deb"
dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ */check-deb: depends /'

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if ! $sudo dpkg -i "$deb"; then
  # Pulls in what the package depends on and is not installed yet.
  $sudo apt-get install -y -qq -f >/dev/null
fi
dpkg-query -W -f='${Status}\n' lumora-viewer | grep -q "install ok installed"
for path in /usr/bin/lumora-viewer /usr/bin/lumora-cli /usr/bin/lumora-mkcard \
  /usr/share/applications/lumora-viewer.desktop \
  /usr/share/icons/hicolor/256x256/apps/lumora-viewer.png \
  /usr/share/icons/hicolor/48x48/apps/lumora-viewer.png; do
  [ -e "$path" ] || { echo "check-deb: $path is missing" >&2; exit 1; }
done
# The installed programs, not the ones in the build folder.
work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
/usr/bin/lumora-cli --help >/dev/null
/usr/bin/lumora-mkcard --seconds 2 --recordings 1 --no-mp4 "$work/card" >/dev/null
timeout 180 xvfb-run -a -s "-screen 0 1600x900x24" \
  /usr/bin/lumora-viewer --card "$work/card" --screenshot "$work/window.png" --after 3
file "$work/window.png" | grep -q "PNG image data"
echo "check-deb: installed viewer started and drew its window ($(file -b "$work/window.png"))"
