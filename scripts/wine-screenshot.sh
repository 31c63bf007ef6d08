#!/usr/bin/env bash
# Runs a Windows program under Wine on a private X display, waits for its window, saves a screenshot of it as a
# PNG and stops everything it started. Used where there is no display to show the program on.
#
#   scripts/wine-screenshot.sh EXE OUT.png [TITLE] [--answer KEY] [--wait SECONDS] [-- ARGS...]
#
# EXE runs in its own folder, inside a Wine desktop window so that its frame and caption show too. TITLE is the
# window caption to wait for (default: any window of the program). --answer presses KEY (Return, n, Escape...)
# in every message box captioned "Tovarin" that appears meanwhile. Exit status 0 when the window appeared.
# WINEPREFIX is used as set (Wine's default otherwise). Needs wine, xvfb, xdotool and imagemagick.
set -uo pipefail

usage() { sed -n '5,11p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
[ $# -ge 2 ] || usage
exe=$1 out=$2
shift 2
title='.' answer="" wait=60 args=()
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then title=$1; shift; fi
while [ $# -gt 0 ]; do
  case "$1" in
    --answer) answer=$2; shift 2 ;;
    --wait) wait=$2; shift 2 ;;
    --) shift; args=("$@"); break ;;
    *) usage ;;
  esac
done
for tool in wine wineserver Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "wine-screenshot: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done

width=800 height=600
display=""
for n in $(seq 90 189); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "wine-screenshot: no free X display number" >&2; exit 1; }

log=$(mktemp)
Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wine_pid=""
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=$display WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for _ in $(seq 1 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done

(cd "$(dirname "$exe")" && exec wine explorer "/desktop=Tovarin,${width}x${height}" "$(basename "$exe")" "${args[@]}") \
  >"$log" 2>&1 &
wine_pid=$!

found=""
for _ in $(seq 1 "$wait"); do
  sleep 1
  if [ -n "$answer" ]; then
    for box in $(xdotool search --name '^Tovarin$' 2>/dev/null); do
      xdotool windowfocus "$box" key "$answer" 2>/dev/null
    done
  fi
  found=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | while read -r w; do
    name=$(xdotool getwindowname "$w" 2>/dev/null)
    case "$name" in "Tovarin - Wine desktop" | "Default IME" | "") ;; *) echo "$w"; break ;; esac
  done)
  [ -n "$found" ] && { sleep 2; break; }
  kill -0 "$wine_pid" 2>/dev/null || break
done

import -window root "$out" 2>/dev/null
if [ -n "$found" ]; then
  echo "window '$(xdotool getwindowname "$found")'; screenshot $out"
else
  echo "no window matching '$title' within $wait s; screenshot $out" >&2
  sed -n '1,20p' "$log" >&2
  exit 1
fi
