#!/usr/bin/env bash
# Installs what is missing, builds the editor (Release, in build/), puts the demo ROM and
# its character table "string.txt" next to the program when they are missing, and starts
# the editor on the ROM given, or on the demo ROM.
#   ./scripts/run.sh [ROM.gba]
set -euo pipefail
rom=""
if [ $# -gt 0 ]; then rom=$(realpath -- "$1"); fi
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target tsumugi

if [ ! -f build/demo.gba ] || [ ! -f build/string.txt ]; then
  demo_dir=$(mktemp -d)
  build/tsumugi --write-demo "$demo_dir"
  for f in demo.gba string.txt; do
    [ -f "build/$f" ] || cp "$demo_dir/$f" "build/$f"
  done
  rm -rf "$demo_dir"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run: no display available (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are all unset); the editor window cannot open." >&2
  exit 1
fi

exec build/tsumugi "${rom:-build/demo.gba}"
