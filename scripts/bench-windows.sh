#!/usr/bin/env bash
# Times the Fleet page of the real window on 1,000 ships under Wine (bench/windows: filling the list view, sorting
# by a click on a head, filtering), headless on a private X display, and prints the times. Not part of the test
# suite. Build the windows preset first. Its Wine prefix is its own, under build/windows/wine-bench (the Windows
# suite's folder build/windows/wine may belong to the suite's own user).
#
#   scripts/bench-windows.sh [RUNS]    (5 runs when not given)
#
# The wineserver is started before the runs and kept until they end, as it is while a player uses the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bench=build/windows/bench/windows/tovarin_window_bench.exe
[ -f "$bench" ] || { echo "bench-windows: build the windows preset first ($bench is missing)" >&2; exit 2; }
runs=${1:-5}

run=$PWD/build/windows/wine-bench
mkdir -p "$run/bench" "$run/home"
cp "$bench" "$run/bench/"
export HOME=$run/home WINEPREFIX=$run/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
bash scripts/prepare-wine-prefix.sh --virtual-desktop

echo "Load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
set +e
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
  sh -c 'cd "$1" && wineserver --persistent=60 && wine tovarin_window_bench.exe "$2"; status=$?; wineserver --kill; exit $status' \
  bench-windows "$run/bench" "$runs" | tr -d '\r'
status=${PIPESTATUS[0]}
set -e
echo "Load average after the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"
