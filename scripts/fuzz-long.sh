#!/usr/bin/env bash
# Runs every fuzz target in turn for MINUTES minutes each (fractions allowed) on its corpus
# and prints one markdown table: target, seconds, executions, executions per second,
# coverage (libFuzzer's edge count at the end) and findings (crashes, leaks, timeouts and
# broken properties, each an input in build-fuzz/artifacts/TARGET/), with the load average
# before and after. A finding ends that target's run; the next target still runs.
#   ./scripts/fuzz-long.sh MINUTES [libFuzzer options...]
# FUZZ_LONG_PARSER_RUNS and FUZZ_LONG_EDITOR_RUNS end a parser or editor target once it has
# run that many inputs (MINUTES stays the limit); FUZZ_LONG_JOBS=2 runs two targets side by
# side, one a core. FUZZ_LONG_TARGETS="battle_editor ips" runs only the targets named.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ] || ! awk -v m="$1" 'BEGIN { exit !(m + 0 > 0) }'; then
  echo "usage: $0 MINUTES [libFuzzer options...]  (MINUTES > 0, fractions allowed)" >&2
  exit 2
fi
minutes=$1
shift
seconds=$(awk -v m="$minutes" 'BEGIN { s = int(m * 60 + 0.5); print (s < 1 ? 1 : s) }')
builddir=${FUZZ_BUILD_DIR:-build-fuzz}
export FUZZ_BUILD_DIR=$builddir

./scripts/fuzz.sh --list >/dev/null
cmake --build "$builddir" -j "${FUZZ_JOBS:-2}" >/dev/null

loadavg() { cut -d' ' -f1-3 /proc/loadavg; }
before=$(loadavg)
parallel=${FUZZ_LONG_JOBS:-1}
total_findings=0

# Runs one target and writes its table row to $builddir/long-TARGET.row.
run_target() {
  local target=$1 kind=$2
  shift 2
  local log=$builddir/long-$target.log artifacts=$builddir/artifacts/$target
  mkdir -p "$artifacts"
  local found_before
  found_before=$(find "$artifacts" -type f | wc -l)
  local goal=()
  [ "$kind" = parser ] && [ -n "${FUZZ_LONG_PARSER_RUNS:-}" ] && goal=(-runs="$FUZZ_LONG_PARSER_RUNS")
  [ "$kind" = editor ] && [ -n "${FUZZ_LONG_EDITOR_RUNS:-}" ] && goal=(-runs="$FUZZ_LONG_EDITOR_RUNS")
  local start end
  start=$(date +%s.%N)
  ./scripts/fuzz.sh --no-build "$target" "$seconds" "${goal[@]}" "$@" >"$log" 2>&1 || true
  end=$(date +%s.%N)
  local found=$(( $(find "$artifacts" -type f | wc -l) - found_before ))
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n1 || true)
  if [ -z "$runs" ]; then
    # A finding ends the run before the final statistics: the last status line has the count.
    runs=$(grep -o '^#[0-9]*' "$log" | tail -n1 | tr -d '#' || true)
  fi
  local cov
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n1 | grep -o '[0-9]*$' || true)
  awk -v t="$target" -v s="$start" -v e="$end" -v n="${runs:-0}" -v c="${cov:-?}" -v f="$found" 'BEGIN {
    d = e - s; if (d <= 0) d = 1
    printf "| `%s` | %d | %d | %d | %s | %d |\n", t, d + 0.5, n, n / d + 0.5, c, f }' >"$builddir/long-$target.row"
}

targets=()
while read -r target kind; do
  [ -n "$target" ] || continue
  if [ -n "${FUZZ_LONG_TARGETS:-}" ] && [[ " $FUZZ_LONG_TARGETS " != *" $target "* ]]; then continue; fi
  targets+=("$target")
  rm -f "$builddir/long-$target.row"
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  run_target "$target" "$kind" "$@" &
done <"$builddir/fuzz/targets.txt"
wait

rows=()
for target in "${targets[@]}"; do
  row=$(cat "$builddir/long-$target.row")
  rows+=("$row")
  total_findings=$(( total_findings + $(awk -F'|' '{ gsub(/ /, "", $7); print $7 }' <<<"$row") ))
done

goals=""
[ -n "${FUZZ_LONG_PARSER_RUNS:-}${FUZZ_LONG_EDITOR_RUNS:-}" ] &&
  goals=", or ${FUZZ_LONG_PARSER_RUNS:-no limit} inputs a parser and ${FUZZ_LONG_EDITOR_RUNS:-no limit} an editor"
echo "Load average before: $before; after: $(loadavg) ($(nproc) cores, $parallel target(s) at a time)." \
  "At most $minutes min per target$goals."
echo
echo "| target | seconds | executions | exec/s | cov | findings |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
[ "$total_findings" -eq 0 ]
