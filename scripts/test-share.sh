#!/usr/bin/env bash
# Prints the tests' share of the code: non-blank, non-comment lines of .cpp and .h files under tests/ against
# those everywhere else in the repository (build folders left out).
set -euo pipefail
cd "$(dirname "$0")/.."

count_lines() {
  # Blank lines and lines holding only a // comment (or the inside of a /* */ block) are not counted.
  awk '
    /^[[:space:]]*$/ { next }
    inblock { if ($0 ~ /\*\//) inblock = 0; next }
    /^[[:space:]]*\/\*/ { if ($0 !~ /\*\//) inblock = 1; next }
    /^[[:space:]]*\/\// { next }
    { n++ }
    END { print n + 0 }
  ' "$@" </dev/null
}

mapfile -t test_files < <(git ls-files -co --exclude-standard -- 'tests/*.cpp' 'tests/*.h' | sort -u)
mapfile -t code_files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' ':!tests/' ':!build/' | sort -u)
tests=$(count_lines "${test_files[@]}")
code=$(count_lines "${code_files[@]}")
echo "test share: ${tests} test lines against ${code} code lines ($(( 100 * tests / code ))%)"
