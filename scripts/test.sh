#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTSUMUGI_SANITIZE=ON
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2
# Every fuzz target for a few seconds on its corpus (a clang build of its own, in build-fuzz).
./scripts/fuzz-smoke.sh
