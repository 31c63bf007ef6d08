#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX ready for Tovarin, once: a fresh prefix without Mono and Gecko (the editor
# needs neither, and Wine would ask to install them), with Wine's own fonts in its Fonts folder so that the
# window gets its "MS Sans Serif" (Debian does not hand them to new prefixes).
#
#   scripts/prepare-wine-prefix.sh [--virtual-desktop] [--without-wine-fonts]
#
# --virtual-desktop runs every program of the prefix inside one Wine desktop window. Tests want that: without a
# window manager (as on Xvfb) Wine waits seconds for one whenever a window is hidden or destroyed.
# --without-wine-fonts leaves the Fonts folder as Wine made it: the prefix a player on Debian has for the game.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the prefix to prepare}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
desktop="" wine_fonts=yes
for argument in "$@"; do
  case "$argument" in
    --virtual-desktop) desktop=yes ;;
    --without-wine-fonts) wine_fonts="" ;;
    *) sed -n '6p' "$0" | sed 's/^# *//' >&2; exit 2 ;;
  esac
done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX ..."
  wineboot --init >/dev/null 2>&1
  wineserver --wait
fi

fonts="$WINEPREFIX/drive_c/windows/Fonts"
for source in /usr/share/wine/fonts /opt/wine-stable/share/wine/fonts /usr/local/share/wine/fonts; do
  if [ -n "$wine_fonts" ] && [ -d "$source" ] && [ -d "$fonts" ]; then
    for font in "$source"/*; do
      [ -e "$fonts/$(basename "$font")" ] || ln -s "$font" "$fonts/"
    done
    break
  fi
done

if [ -n "$desktop" ] && ! grep -q '^"Desktop"="Default"' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  wineserver --wait
fi
