#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows presets and runs every test: the native suite
# with ctest, then the Windows suite under Wine (scripts/run-windows-tests.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export CCACHE_BASEDIR="$PWD"
jobs=$(nproc)

cmake --preset native
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

cmake --preset windows
cmake --build --preset windows -j "$jobs"
scripts/run-windows-tests.sh
