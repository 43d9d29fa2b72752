#!/usr/bin/env bash
# Builds the fuzz tree and runs every fuzz target briefly on its corpus (parsers 5 s,
# editors 10 s; FUZZ_SMOKE_PARSER / FUZZ_SMOKE_EDITOR change that), one target a core.
# Fails on any crash, leak, timeout or broken property, naming the targets; the inputs
# that did it are in build-fuzz/artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${FUZZ_BUILD_DIR:-build-fuzz}
export FUZZ_BUILD_DIR=$builddir

./scripts/fuzz.sh --list >/dev/null
cmake --build "$builddir" -j "${FUZZ_JOBS:-2}"

# Two targets at a time (FUZZ_SMOKE_JOBS), one a core; each writes its verdict to a file
# and the verdicts are told in the list's order.
parallel=${FUZZ_SMOKE_JOBS:-$(nproc)}
smoke() {
  local target=$1 seconds=$2 log=$builddir/smoke-$1.log
  if ./scripts/fuzz.sh --no-build "$target" "$seconds" >"$log" 2>&1; then
    echo "fuzz $target: ok ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?') runs)" >"$log.verdict"
  else
    echo "fuzz $target: FAILED (log: $log)" >"$log.verdict"
  fi
}
targets=()
while read -r target kind; do
  [ -n "$target" ] || continue
  seconds=${FUZZ_SMOKE_PARSER:-5}
  [ "$kind" = editor ] && seconds=${FUZZ_SMOKE_EDITOR:-10}
  targets+=("$target")
  rm -f "$builddir/smoke-$target.log.verdict"
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  smoke "$target" "$seconds" &
done <"$builddir/fuzz/targets.txt"
wait

failed=()
for target in "${targets[@]}"; do
  log=$builddir/smoke-$target.log
  verdict=$(cat "$log.verdict" 2>/dev/null || echo "fuzz $target: FAILED (no verdict; log: $log)")
  echo "$verdict"
  if [[ $verdict != *": ok "* ]]; then
    tail -n 40 "$log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz smoke run failed: ${failed[*]}" >&2
  exit 1
fi
