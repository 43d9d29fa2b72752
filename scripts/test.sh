#!/usr/bin/env bash
# Installs what is missing, builds everything once with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (the libraries also carry libFuzzer's coverage, so the same
# objects serve the tests and the fuzz targets), runs every test, then runs every fuzz
# target briefly on its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
builddir=${TEST_BUILD_DIR:-build-test}
if [ ! -f "$builddir/build.ninja" ] || ! grep -q 'TSUMUGI_FUZZ:BOOL=ON' "$builddir/CMakeCache.txt"; then
  rm -rf "$builddir"
  CC=clang CXX=clang++ cmake -S . -B "$builddir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTSUMUGI_SANITIZE=ON -DTSUMUGI_FUZZ=ON
fi
cmake --build "$builddir"
ctest --test-dir "$builddir" --output-on-failure -j2
FUZZ_BUILD_DIR=$builddir ./scripts/fuzz-smoke.sh
