#!/usr/bin/env bash
# Builds the fuzz tree (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer,
# optimised with -O1 as long fuzz runs want, assertions kept) when needed and runs one
# fuzz target for SECONDS on its corpus in fuzz/corpus/TARGET.
# Inputs the run finds new go to build-fuzz/corpus-new/TARGET, crashes to
# build-fuzz/artifacts/TARGET/; the repository's corpus is only read.
#   ./scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   ./scripts/fuzz.sh --list            the targets and their kind (parser or editor)
# TARGET is a name from the list (cp932, units_editor, ...). With --no-build first, the
# tree is used as it is (scripts/fuzz-smoke.sh builds it once for all targets).
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${FUZZ_BUILD_DIR:-build-fuzz}

configure() {
  if [ ! -f "$builddir/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$builddir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DTSUMUGI_FUZZ=ON -DTSUMUGI_SANITIZE=ON \
      -DBUILD_TESTING=OFF -DTSUMUGI_BUILD_BENCH=OFF
  else
    cmake "$builddir" >/dev/null
  fi
}

dobuild=1
if [ "${1:-}" = "--no-build" ]; then dobuild=0; shift; fi

if [ "${1:-}" = "--list" ]; then
  configure
  cat "$builddir/fuzz/targets.txt"
  exit 0
fi
if [ $# -lt 2 ]; then
  echo "usage: $0 [--no-build] TARGET SECONDS [libFuzzer options...]  (or --list)" >&2
  exit 2
fi
target=$1 seconds=$2
shift 2

if [ "$dobuild" = 1 ]; then
  configure
  cmake --build "$builddir" --target "${target}_fuzz" -j "${FUZZ_JOBS:-2}"
fi
kind=$(awk -v t="$target" '$1 == t { print $2 }' "$builddir/fuzz/targets.txt")
if [ -z "$kind" ]; then
  echo "$0: no fuzz target named $target (see $0 --list)" >&2
  exit 2
fi

corpus=fuzz/corpus/$target
scratch=$builddir/corpus-new/$target
artifacts=$builddir/artifacts/$target
mkdir -p "$scratch" "$artifacts"

opts=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/")
if [ "$kind" = editor ]; then
  # Qt keeps caches for the life of the process, which the leak checker would report.
  export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
  opts+=(-timeout=120 -detect_leaks=0 -rss_limit_mb=4096)
else
  opts+=(-timeout=20 -rss_limit_mb=2560)
fi
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
exec "$builddir/fuzz/${target}_fuzz" "${opts[@]}" "$@" "$scratch" "$corpus"
