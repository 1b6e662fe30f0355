#!/usr/bin/env bash
# Installs the dependencies, builds and runs the whole test suite offscreen.
# With --sanitize the suite is built and run under AddressSanitizer and UBSan instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/build.sh build-asan -DQUORBEL_SANITIZE=ON -DQUORBEL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  ctest --test-dir build-asan --output-on-failure -j2
else
  bash scripts/build.sh build -DQUORBEL_WERROR=ON
  ctest --test-dir build --output-on-failure -j2
fi
