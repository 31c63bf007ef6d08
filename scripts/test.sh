#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows presets and runs every test: the native suite
# with ctest, then the Windows suite under Wine (scripts/run-windows-tests.sh), then each fuzz target for a short
# while (scripts/run-fuzz.sh; FUZZ_SECONDS sets how long, 30 by default). Ends with one summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export CCACHE_BASEDIR="$PWD"
# The tests' game folders live in memory where the machine has it: the fault walks force thousands of small
# files to disk, which costs minutes on a real one and proves nothing more.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=$(mktemp -d /dev/shm/tovarin-tests.XXXXXX)
  export TMPDIR
  trap 'rm -rf "$TMPDIR"' EXIT
fi
jobs=$(nproc)

cmake --preset native
cmake --build --preset native -j "$jobs"
native_log=build/native/test-results.txt
ctest --preset native -j "$jobs" | tee "$native_log"

cmake --preset windows
cmake --build --preset windows -j "$jobs"
windows_log=build/windows/test-results.txt
scripts/run-windows-tests.sh | tee "$windows_log"

scripts/run-fuzz.sh "${FUZZ_SECONDS:-30}"

# Both suites and the fuzz targets passed (a failure ends the script above); count the tests that ran.
native=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$native_log")
# The Windows suite runs in two Wine prefixes (see run-windows-tests.sh): its counts add up.
windows=$(awk '/^\[  PASSED  \] [0-9]+ tests?\.$/ { n += $4 } END { print n + 0 }' "$windows_log")
skipped=$(awk '/^\[  SKIPPED \] [0-9]+ tests?, listed below:$/ { n += $4 } END { print n + 0 }' "$windows_log")
echo "tests: $(( ${native:-0} + ${windows:-0} )) passed, 0 failed, ${skipped:-0} skipped"
