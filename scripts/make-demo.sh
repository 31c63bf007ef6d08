#!/usr/bin/env bash
# Builds the demo generator (native preset) and writes the demo installation into a folder.
# Usage: scripts/make-demo.sh [FOLDER] [--nightwatch]     (FOLDER defaults to demo-install/ in the repository)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/demo-install}"
[ $# -gt 0 ] && shift
mkdir -p "$out"
out="$(cd "$out" && pwd)"

cd "$root"
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target tovarin_demo -j 2
build/native/demo/tovarin_demo "$out" "$@"
