#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows presets and runs every test: the native suite
# with ctest, then the Windows suite under Wine (scripts/run-windows-tests.sh), then the demo as the README starts
# it (scripts/run-demo.sh), then each fuzz target for a short while (scripts/run-fuzz.sh; FUZZ_SECONDS sets how
# long, 30 by default). Ends with one summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export CCACHE_BASEDIR="$PWD"
# The native tests' game folders live in memory where the machine has it: the fault walks force thousands of
# small files to disk, which costs minutes on a real one and proves nothing more.
test_tmp=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  test_tmp=$(mktemp -d /dev/shm/tovarin-tests.XXXXXX)
  trap 'rm -rf "$test_tmp"' EXIT
fi
jobs=$(nproc)

cmake --preset native
cmake --build --preset native -j "$jobs"
native_log=build/native/test-results.txt
TMPDIR=$test_tmp ctest --preset native -j "$jobs" | tee "$native_log"

cmake --preset windows
cmake --build --preset windows -j "$jobs"
windows_log=build/windows/test-results.txt
scripts/run-windows-tests.sh | tee "$windows_log"

# The README's first command, as on a machine without a display: a fresh demo installation, the editor started
# in it, its window found. It stops the run when the window does not show.
rm -rf build/demo-check
env -u DISPLAY scripts/run-demo.sh build/demo-check

# The fuzz targets run from their seeds and kept inputs; what they find is printed with its log and reported in
# the summary, but does not stop the run: a short random run is no verdict on a change.
# Targets that do not build are a failed build like any other, and stop the run.
fuzz_found=0
scripts/run-fuzz.sh "${FUZZ_SECONDS:-30}" || {
  status=$?
  [ "$status" -ne 2 ] || exit 1
  fuzz_found=1
}
# Every input the targets have ever found is replayed on its own, and that does stop the run: a mended fault stays
# mended.
for findings in tests/fuzz/findings/*/; do
  target=build/fuzz/targets/$(basename "$findings")
  TMPDIR=$test_tmp "$target" "$findings"* >build/fuzz/logs/replay.log 2>&1 || {
    tail -n 20 build/fuzz/logs/replay.log
    echo "fuzz: a kept input of $(basename "$findings") fails again"
    exit 1
  }
done

# Both suites passed (a failure ends the script above); count the tests that ran.
native=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$native_log")
# The Windows suite runs in two Wine prefixes (see run-windows-tests.sh): its counts add up.
windows=$(awk '/^\[  PASSED  \] [0-9]+ tests?\.$/ { n += $4 } END { print n + 0 }' "$windows_log")
skipped=$(awk '/^\[  SKIPPED \] [0-9]+ tests?, listed below:$/ { n += $4 } END { print n + 0 }' "$windows_log")
[ "$fuzz_found" -eq 0 ] || echo "fuzz: a target found a problem (see build/fuzz/logs and tests/fuzz/findings/README.md)"
scripts/test-share.sh
echo "tests: $(( ${native:-0} + ${windows:-0} )) passed, 0 failed, ${skipped:-0} skipped"
