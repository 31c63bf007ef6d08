#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the fuzz targets and the demo need. Quick when all are
# there already.
set -euo pipefail

packages=(
  g++ cmake make ninja-build ccache git python3 dpkg-dev file
  googletest libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  clang-14 libclang-rt-14-dev
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick
  librsvg2-bin libxml2-utils libpng-dev
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
