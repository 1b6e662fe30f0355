#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over every source file of src/, tests/, bench/ and fuzz/
# as the build compiled it; any finding fails. Needs a configured build directory
# (default: build) with compile_commands.json.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
root="$(pwd)"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
# Qt's generated sources (moc, uic, rcc) are not ours to judge.
status=0
run-clang-tidy -quiet -p "$dir" -j"$(nproc)" "^${root}/(src|tests|bench|fuzz)/.*\.cpp\$" >"$log" 2>&1 || status=$?
grep -v -E '^[0-9]+ warnings?( and [0-9]+ errors?)? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^clang-tidy(-[0-9]+)? |^Running clang-tidy|^$' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "clang-tidy: findings above" >&2
fi
exit "$status"
