#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Packages already present are skipped; nothing is downloaded when all are.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev libqt6opengl6-dev qt6-webengine-dev libqt6printsupport6
  libsdl2-dev
  libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
  ffmpeg
  libjs-leaflet
  libgtest-dev libgmock-dev googletest
  nlohmann-json3-dev libcli11-dev
  dosfstools libjpeg-turbo-progs libxml2-utils libxml2-dev gpsbabel
  udisks2 pkexec dbus python3-dbus python3-gi mount
  xvfb xauth x11-apps x11-utils imagemagick poppler-utils
  dpkg-dev file desktop-file-utils
  fonts-noto-cjk fonts-noto-core libgl1-mesa-dri
)
if [ "${LUMORA_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi
echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
