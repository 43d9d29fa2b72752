#!/usr/bin/env bash
# The code commands of tsumugi-cli side by side with xdelta3 on two 32 MiB ROMs that differ
# in 10,000 scattered 16-bit words, whole process each time: the median wall time, processor
# time and peak memory (maximum resident set) of RUNS runs (5 by default) of each command.
#
#   bench/cli_vs_xdelta.sh [path/to/tsumugi-cli]
#
# Without a path the Release command line is built in build-clibench first. xdelta3 and
# /usr/bin/time come from scripts/install-deps.sh. Files stay in the page cache between
# runs; a file written in place is synced before it is timed, so that the timed sync is the
# command's own. Every output a timed run leaves is checked against the new ROM.
set -euo pipefail

RUNS=${RUNS:-5}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

cli=${1:-}
if [[ -z $cli ]]; then
    build=$root/build-clibench
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DTSUMUGI_BUILD_UI=OFF -DTSUMUGI_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" --target tsumugi-cli >/dev/null
    cli=$build/tsumugi-cli
fi
for tool in "$cli" xdelta3 /usr/bin/time python3 cmp; do
    if ! command -v "$tool" >/dev/null; then
        echo "cli_vs_xdelta: $tool is missing (scripts/install-deps.sh installs xdelta3 and time)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
old=$work/old.gba new=$work/new.gba
python3 "$here/make_rom_pair.py" "$old" "$new"
# The inputs each timed command reads: a code file and an xdelta3 patch of the same change.
"$cli" codes diff "$old" "$new" -o "$work/codes.txt"
xdelta3 -e -s "$old" "$new" "$work/patch.xd3"
sync

# timed NAME CMD...: runs CMD once and appends "WALL_US CPU_US KB" to $work/NAME: wall and
# processor time (user + system) from bash's clock, finer than time's 10 ms, and the peak
# memory from /usr/bin/time -v.
timed() {
    local name=$1
    shift
    local TIMEFORMAT='%3R %3U %3S'
    { time /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>&1; } 2>"$work/clock.txt"
    local kb
    kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    awk -v kb="$kb" '{printf "%d %d %d\n", $1 * 1e6, ($2 + $3) * 1e6, kb}' "$work/clock.txt" \
        >>"$work/$name"
}

# One round: every command once, in an order that spreads any load of the machine evenly.
round() {
    rm -f "$work/codes-o.txt"
    timed diff "$cli" codes diff "$old" "$new" -o "$work/codes-o.txt"
    rm -f "$work/patch-o.xd3"
    timed xdelta-e xdelta3 -e -s "$old" "$new" "$work/patch-o.xd3"
    timed diff-stdout "$cli" codes diff "$old" "$new"
    rm -f "$work/applied.gba"
    timed apply "$cli" codes apply "$old" "$work/codes.txt" -o "$work/applied.gba"
    rm -f "$work/decoded.gba"
    timed xdelta-d xdelta3 -d -s "$old" "$work/patch.xd3" "$work/decoded.gba"
    cp "$old" "$work/inplace.gba"
    sync "$work/inplace.gba"
    timed write "$cli" codes write "$work/inplace.gba" "$work/codes.txt"
    cmp -s "$work/applied.gba" "$new" && cmp -s "$work/inplace.gba" "$new" &&
        cmp -s "$work/decoded.gba" "$new" && cmp -s "$work/codes-o.txt" "$work/codes.txt" || {
        echo "cli_vs_xdelta: an output differs from what it should be" >&2
        exit 1
    }
}

# One round first whose figures are dropped: it warms the page cache and the allocators the
# same way for every command.
round
rm -f "$work"/diff "$work"/xdelta-e "$work"/diff-stdout "$work"/apply "$work"/xdelta-d "$work"/write
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for _ in $(seq "$RUNS"); do round; done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# median NAME COLUMN: the median of one column of a result file.
median() { sort -n -k"$2" "$work/$1" | awk -v c="$2" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'; }

row() {
    local label=$1 ours=$2 theirs=$3 theirs_label=$4
    awk -v l="$label" -v tl="$theirs_label" \
        -v us="$(median "$ours" 1)" -v cpu="$(median "$ours" 2)" -v kb="$(median "$ours" 3)" \
        -v them="$(median "$theirs" 1)" -v tcpu="$(median "$theirs" 2)" \
        -v tkb="$(median "$theirs" 3)" \
        'BEGIN {printf "| %-28s | %7.1f | %7.1f | %6.1f | %-27s | %7.1f | %7.1f | %6.1f | %6.1fx |\n",
                l, us / 1000, cpu / 1000, kb / 1024, tl, them / 1000, tcpu / 1000, tkb / 1024,
                them / us}'
}

echo "tsumugi-cli vs xdelta3, 32 MiB ROMs, 10,000 changed words; median of $RUNS runs each"
echo "load average before: $load_before, after: $load_after ($(nproc) cores)"
echo "wall and CPU (user + system) in ms, peak memory (max RSS) in MiB; faster = wall ratio"
echo
echo "| tsumugi-cli                  | wall ms | CPU ms  | MiB    | xdelta3                     | wall ms | CPU ms  | MiB    | faster  |"
echo "|------------------------------|---------|---------|--------|-----------------------------|---------|---------|--------|---------|"
row "codes diff OLD NEW -o CODES" diff xdelta-e "xdelta3 -e -s OLD NEW PATCH"
row "codes diff OLD NEW (stdout)" diff-stdout xdelta-e "xdelta3 -e -s OLD NEW PATCH"
row "codes apply OLD CODES -o OUT" apply xdelta-d "xdelta3 -d -s OLD PATCH OUT"
row "codes write ROM CODES" write xdelta-d "xdelta3 -d -s OLD PATCH OUT"
