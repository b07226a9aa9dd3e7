#!/usr/bin/env bash
# Installs the Debian packages Vellumo builds, runs and tests with.
# Quick when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev
  zlib1g-dev libturbojpeg0-dev libjpeg62-turbo-dev libexif-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libebur128-dev
  libopencc-dev opencc
  ffmpeg
  fonts-noto-cjk
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  desktop-file-utils
  dvdauthor genisoimage xorriso vcdimager cdrdao libdvdread-dev lsdvd
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
