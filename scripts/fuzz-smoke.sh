#!/usr/bin/env bash
# Builds the fuzz tree and runs every fuzz target briefly on its corpus (parsers 5 s,
# editors 10 s; FUZZ_SMOKE_PARSER / FUZZ_SMOKE_EDITOR change that). Fails on the first
# crash, leak, timeout or broken property, naming the target; the input that did it is
# in build-fuzz/artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${FUZZ_BUILD_DIR:-build-fuzz}
export FUZZ_BUILD_DIR=$builddir

./scripts/fuzz.sh --list >/dev/null
cmake --build "$builddir" -j "${FUZZ_JOBS:-2}"

failed=()
while read -r target kind; do
  [ -n "$target" ] || continue
  seconds=${FUZZ_SMOKE_PARSER:-5}
  [ "$kind" = editor ] && seconds=${FUZZ_SMOKE_EDITOR:-10}
  log=$builddir/smoke-$target.log
  if ./scripts/fuzz.sh --no-build "$target" "$seconds" >"$log" 2>&1; then
    echo "fuzz $target: ok ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?') runs)"
  else
    echo "fuzz $target: FAILED (log: $log)"
    tail -n 40 "$log"
    failed+=("$target")
  fi
done <"$builddir/fuzz/targets.txt"

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz smoke run failed: ${failed[*]}" >&2
  exit 1
fi
