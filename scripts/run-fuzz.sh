#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target (build/fuzz/targets) for SECONDS each (default 30),
# from a fresh corpus: the seeds the target writes from the demo installation, and the inputs kept under
# tests/fuzz/findings/<target>, all run before any new input. Prints one line per target with the inputs it ran
# per second: as libFuzzer counts them, over the whole run, and per second of CPU time the target's process used
# (the targets run one after the other, each on one core; the machine's load is printed first, as the wall-clock
# rates depend on it much more than the CPU rate: tests/fuzz/findings/README.md lists rates measured alongside the
# build before a change). Then checks that each target puts its game back completely between inputs
# (scripts/fuzz-order-check.sh, over the seeds, the kept inputs and what the run kept). A target's output goes to
# build/fuzz/logs/<target>.log, and its gist is printed when the target finds a crash, a hang or a broken promise.
# Exits 1 when a target found a problem, 2 when the targets did not build.
# Usage: [FUZZ_FLAGS=...] scripts/run-fuzz.sh [SECONDS]     Reproduce a kept input: build/fuzz/targets/<target> FILE
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build/fuzz

scripts/install-deps.sh
mkdir -p "$out/logs"
if ! { cmake --preset fuzz && cmake --build --preset fuzz -j "$(nproc)"; } >"$out/logs/build.log" 2>&1; then
  tail -n 30 "$out/logs/build.log"
  echo "fuzz: the fuzz preset did not build (log: $out/logs/build.log)"
  exit 2
fi

# The targets put their game folder back between inputs, and the program syncs what it saves: memory is quicker.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

echo "fuzz: $(uptime | sed 's/.*load average/load average/'), $(nproc) cores"
failed=0
for target in "$out"/targets/*; do
  name=$(basename "$target")
  corpus=$out/corpus/$name seeds=$out/seeds/$name crashes=$out/crashes/$name log=$out/logs/$name.log
  rm -rf "$corpus" "$seeds" "$crashes"
  mkdir -p "$corpus" "$crashes"
  TOVARIN_FUZZ_SEEDS=$seeds timeout 120 "$target"
  kept=()
  [ -d "tests/fuzz/findings/$name" ] && kept=("tests/fuzz/findings/$name")
  # shellcheck disable=SC2086 # FUZZ_FLAGS: further libFuzzer flags, one word each (e.g. -entropic=0)
  TIMEFORMAT='%U %S'
  if { time "$target" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$crashes/" ${FUZZ_FLAGS:-} \
      "$corpus" "$seeds" "${kept[@]}" >"$log" 2>&1; } 2>"$log.cpu"; then
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
    [ "${took:-0}" -gt 0 ] || took=$seconds
    rate=$(grep -o 'exec/s: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    cpu=$(awk '{ printf "%d", ($1 + $2) * 1000 }' "$log.cpu")  # user and system time, in milliseconds
    echo "fuzz $name: passed, $runs inputs in $took s, ${rate:-?} per second as libFuzzer counts them" \
      "($((${runs:-0} / took)) over the whole run, with the seeds and kept inputs;" \
      "$((${runs:-0} * 1000 / (cpu > 0 ? cpu : 1))) per second of its CPU time)"
  else
    grep -E 'Broken promise|box shown|ERROR:|runtime error|SUMMARY' "$log" | head -n 20 || true
    echo "fuzz $name: FAILED on $(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1) (log: $log)"
    failed=1
    continue
  fi
  # What the run kept, sampled, beside the seeds and kept inputs: one input must not change what the next does.
  mapfile -t sample < <(find "$corpus" -type f | sort | head -n 200)
  scripts/fuzz-order-check.sh "$name" "${sample[@]}" || failed=1
done
exit $failed
