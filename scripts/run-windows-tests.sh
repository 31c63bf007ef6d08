#!/usr/bin/env bash
# Runs the Windows test suite (built by the windows preset) under Wine, headless on a private X display, with a
# Wine prefix of its own under build/windows. Started as root it runs the suite as the unprivileged user
# "tovarin-test" (created when missing): Wine started as root ignores the read-only attribute, and the suite
# tests read-only game files. Extra arguments go to the suite (for example --gtest_filter=MainWindow*).
#
# The suite runs in a prefix with Wine's own fonts; when it ran whole, the test of the windows' captions runs again
# in a prefix without them, as a player's fresh prefix on Debian is. --without-wine-fonts as the first argument runs
# the suite (with the arguments after it) in that prefix only.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/windows
suite=$build/tests/tovarin_tests.exe
editor=$build/src/win32/Tovarin.exe
cli=$build/src/cli/tovarin-cli.exe
[ -f "$suite" ] && [ -f "$editor" ] && [ -f "$cli" ] ||
  { echo "run-windows-tests: build the windows preset first" >&2; exit 2; }

# The suite, the editor and the command line run from a folder of their own, laid out as in the build tree (the
# suite finds Tovarin.exe and tovarin-cli.exe from its own folder), so that only this folder needs to belong to the
# test user.
run=$PWD/$build/wine
as_tester=()
if [ "$(id -u)" -eq 0 ]; then
  tester=tovarin-test
  if ! id "$tester" >/dev/null 2>&1; then
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$tester"
  fi
  as_tester=(runuser -u "$tester" --)
  # A checkout in a private folder (root's home, say) is out of the test user's reach; it runs from /tmp then.
  if ! "${as_tester[@]}" test -x "$PWD/$build"; then
    run=${TMPDIR:-/tmp}/tovarin-windows-suite-$(printf %s "$PWD" | md5sum | cut -c1-8)
    echo "The test user cannot reach $PWD; the Windows suite runs from $run"
  fi
fi
mkdir -p "$run/tests" "$run/src/win32" "$run/src/cli" "$run/home"
cp "$suite" "$run/tests/"
cp "$editor" "$run/src/win32/"
cp "$cli" "$run/src/cli/"
[ ${#as_tester[@]} -eq 0 ] || chown -R "$tester:" "$run"

without_wine_fonts=""
if [ "${1:-}" = "--without-wine-fonts" ]; then without_wine_fonts=yes; shift; fi
captions_test=--gtest_filter=MainWindowTest.EveryCaptionOfBothWindowsFitsItsControl

# Runs the suite with the given arguments in the prefix named by the first argument, made ready with the options in
# the second.
run_suite() {
  local name=$1 options=$2
  local prefix=$run/$name
  shift 2
  local env_vars=(HOME="$run/home" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")
  # shellcheck disable=SC2086 # the options are words
  "${as_tester[@]}" env "${env_vars[@]}" bash -s -- --virtual-desktop $options <scripts/prepare-wine-prefix.sh
  echo "Running the Windows suite under Wine (prefix $name) ..."
  set +e
  "${as_tester[@]}" env "${env_vars[@]}" timeout 1200 \
    xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
    sh -c 'cd "$1/tests" && shift && wine tovarin_tests.exe "$@"; status=$?; wineserver --kill; exit $status' \
    run-suite "$run" "$@" | tr -d '\r'
  local status=${PIPESTATUS[0]}
  set -e
  if [ "$status" -eq 124 ]; then echo "run-windows-tests: the Windows suite did not finish within 20 minutes" >&2; fi
  return "$status"
}

if [ -n "$without_wine_fonts" ]; then
  run_suite prefix-without-wine-fonts --without-wine-fonts "$@"
  exit
fi
run_suite prefix "" "$@"
if [ $# -eq 0 ]; then run_suite prefix-without-wine-fonts --without-wine-fonts "$captions_test"; fi
