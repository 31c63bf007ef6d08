#!/usr/bin/env bash
# Sets the machine up, builds Tovarin.exe and the demo generator, generates the demo installation (once; delete
# the folder for a fresh one), puts Tovarin.exe into it and starts it under Wine on your display. Without a
# display it runs it on a private X display instead, saves a screenshot of the window and prints its path.
#
#   scripts/run-demo.sh [--nightwatch] [FOLDER]     (FOLDER defaults to build/demo)
set -euo pipefail
cd "$(dirname "$0")/.."

edition=()
folder=build/demo
for argument in "$@"; do
  case "$argument" in
    --nightwatch) edition=(--nightwatch) ;;
    -*) sed -n '6p' "$0" | sed 's/^# *//'; exit 2 ;;
    *) folder=$argument ;;
  esac
done

scripts/install-deps.sh
export CCACHE_BASEDIR="$PWD"
jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native --target tovarin_demo -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tovarin -j "$jobs"

if [ -e "$folder" ]; then
  echo "Using the demo installation in $folder (delete it for a fresh one)."
else
  build/native/demo/tovarin_demo "$folder" "${edition[@]}"
fi
cp build/windows/src/win32/Tovarin.exe "$folder/"

# A Wine prefix of the demo's own, so that yours stays as it is.
export WINEPREFIX="$PWD/build/wine-demo" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/prepare-wine-prefix.sh
if [ -n "${DISPLAY:-}" ]; then
  cd "$folder"
  exec wine Tovarin.exe
fi

screenshot=$PWD/build/demo-screenshot.png
# The window is titled "<ship> - Tovarin 1.0". Return answers the boxes of the first start as a player would: Yes
# to installing the mark into the demo's archive, OK to its confirmation.
scripts/wine-screenshot.sh "$folder/Tovarin.exe" "$screenshot" 'Tovarin 1\.0$' --answer Return
echo "No display here: the editor ran on a private X display; its window is in $screenshot"
