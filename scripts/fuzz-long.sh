#!/usr/bin/env bash
# Runs every fuzz target in turn for MINUTES minutes each (fractions allowed) on its corpus
# and prints one markdown table: target, seconds, executions, executions per second,
# coverage (libFuzzer's edge count at the end) and findings (crashes, leaks, timeouts and
# broken properties, each an input in build-fuzz/artifacts/TARGET/), with the load average
# before and after. A finding ends that target's run; the next target still runs.
#   ./scripts/fuzz-long.sh MINUTES [libFuzzer options...]
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
rows=()
total_findings=0
while read -r target kind; do
  [ -n "$target" ] || continue
  log=$builddir/long-$target.log
  artifacts=$builddir/artifacts/$target
  mkdir -p "$artifacts"
  found_before=$(find "$artifacts" -type f | wc -l)
  start=$(date +%s.%N)
  ./scripts/fuzz.sh --no-build "$target" "$seconds" "$@" >"$log" 2>&1 || true
  end=$(date +%s.%N)
  found=$(( $(find "$artifacts" -type f | wc -l) - found_before ))
  total_findings=$(( total_findings + found ))
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n1 || true)
  if [ -z "$runs" ]; then
    # A finding ends the run before the final statistics: the last status line has the count.
    runs=$(grep -o '^#[0-9]*' "$log" | tail -n1 | tr -d '#' || true)
  fi
  runs=${runs:-0}
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n1 | grep -o '[0-9]*$' || true)
  rows+=("$(awk -v t="$target" -v s="$start" -v e="$end" -v n="$runs" -v c="${cov:-?}" -v f="$found" 'BEGIN {
    d = e - s; if (d <= 0) d = 1
    printf "| `%s` | %d | %d | %d | %s | %d |", t, d + 0.5, n, n / d + 0.5, c, f }')")
done <"$builddir/fuzz/targets.txt"

echo "Load average before: $before; after: $(loadavg) ($(nproc) cores). $minutes min per target."
echo
echo "| target | seconds | executions | exec/s | cov | findings |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
[ "$total_findings" -eq 0 ]
