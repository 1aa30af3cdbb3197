#!/usr/bin/env bash
# Installs every Debian package that building, testing, running and making the content of the
# game needs. Safe to run again: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # toolchain and tests
  build-essential cmake ninja-build pkg-config googletest libgtest-dev libgmock-dev
  # the fuzz targets: clang with libFuzzer and the sanitizer runtimes
  clang libclang-rt-14-dev
  # libraries the game links
  zlib1g-dev libpng-dev libjpeg-dev libogg-dev libvorbis-dev libtinyxml2-dev
  libsdl2-dev libsdl2-mixer-dev
  # content pipeline: drawing, fonts, music and their sources
  libcairo2-dev librsvg2-dev librsvg2-bin libfreetype-dev
  fluidsynth timgm6mb-soundfont vorbis-tools
  tuxpaint-stamps-default tuxpaint-data openclipart-svg
  fonts-comic-neue fonts-quicksand
  # looking at and listening to the game without a desktop
  xvfb xauth xdotool imagemagick x11-utils sox
  # a window manager for the virtual screen: title bars, close buttons, full-screen requests
  openbox
  # the installed game: validators of its desktop files, the Debian package and its checks
  desktop-file-utils appstream dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
