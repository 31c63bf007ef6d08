#!/usr/bin/env bash
# Checks that a fuzz target puts its game back completely between inputs: runs the target's seeds and kept
# inputs (and any further inputs given) in one process, first in name order and then in the reverse order, with
# TOVARIN_FUZZ_OUTCOMES set, and compares what each input did (the boxes it showed and every file it left, hashed;
# see tests/fuzz/fuzz_game.h). What one input leaves behind must never change what the next one does. Then runs
# them once more with the program started anew for every input (TOVARIN_FUZZ_FRESH_WINDOW, see
# tests/fuzz/kept_window.h): the window the targets keep from input to input must do what a fresh start does.
# Usage: scripts/fuzz-order-check.sh TARGET [INPUT...]      (build the fuzz preset first)
# Prints one line and exits 0 when both orders agree; otherwise names the inputs whose outcome depends on the order.
set -euo pipefail
cd "$(dirname "$0")/.."
name=$1
shift
target=build/fuzz/targets/$name
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
work=$(mktemp -d "${TMPDIR:-/tmp}/tovarin-order-$name.XXXXXX")
trap 'rm -rf "$work"' EXIT

TOVARIN_FUZZ_SEEDS=$work/seeds "$target"
inputs=("$work"/seeds/* "$@")
[ -d "tests/fuzz/findings/$name" ] && inputs+=("tests/fuzz/findings/$name"/*)
mapfile -t reversed < <(printf '%s\n' "${inputs[@]}" | tac)

run() {  # order outcomes
  if ! TOVARIN_FUZZ_OUTCOMES=$2 "$target" -artifact_prefix="$work/" "${@:3}" >"$work/$1.log" 2>&1; then
    tail -n 20 "$work/$1.log"
    echo "fuzz order $name: an input failed in the $1 order (log above)"
    exit 1
  fi
}
run forward "$work/forward" "${inputs[@]}"
run reverse "$work/reverse" "${reversed[@]}"
TOVARIN_FUZZ_FRESH_WINDOW=1 run fresh "$work/fresh" "${inputs[@]}"

# The same input given twice (a seed kept as a finding, or an input libFuzzer runs again to look for a leak) has
# one outcome per run; compare the sets of lines. Names the inputs whose lines differ (by their hash, the first
# word of a line).
differ() {  # outcomes outcomes what
  diff <(sort -u "$1") <(sort -u "$2") >"$work/diff" && return 1
  differing=$(grep '^[<>]' "$work/diff" | awk '{print $2}' | sort -u)
  for input in "${inputs[@]}"; do
    hash=$(TOVARIN_FUZZ_OUTCOMES=$work/one "$target" "$input" >/dev/null 2>&1; tail -n 1 "$work/one" | cut -d' ' -f1)
    grep -qx "$hash" <<<"$differing" && echo "  $3: $input"
  done
  return 0
}
if differ "$work/forward" "$work/reverse" "depends on the inputs run before it"; then
  echo "fuzz order $name: FAILED: ${#inputs[@]} inputs do not do the same in both orders (TOVARIN_FUZZ_OUTCOMES_IN_FULL=1 shows what each did)"
  exit 1
fi
if differ "$work/forward" "$work/fresh" "does not do what it does after a fresh start"; then
  echo "fuzz order $name: FAILED: ${#inputs[@]} inputs do not do in the kept window what they do after a fresh start (TOVARIN_FUZZ_OUTCOMES_IN_FULL=1 shows what each did)"
  exit 1
fi
echo "fuzz order $name: passed, ${#inputs[@]} inputs do the same in both orders and after a fresh start"
