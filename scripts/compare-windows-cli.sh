#!/usr/bin/env bash
# Runs every command of tsumugi-cli on the demo ROM twice, once with the Linux build and
# once with the Windows build under Wine, each in a folder of its own holding the same
# files, and fails on any difference: stdout, stderr, exit status or a file written.
#
#   scripts/compare-windows-cli.sh LINUX_CLI WINDOWS_CLI_EXE
# Wine must be running already (scripts/wine-env.sh) or is started here for the run.
set -euo pipefail
linux_cli=$(realpath "$1")
windows_cli=$(realpath "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
if [ -z "${WINE:-}" ]; then
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  wine_start "${WINEPREFIX:-$work/wine}"
  trap 'wine_stop; rm -rf "$work"' EXIT
else
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/linux" "$work/windows"

failures=0
runs=0
# Runs one command in both folders (stdin from /dev/null) and compares what it said.
both() {
  runs=$((runs + 1))
  local status_l status_w
  set +e
  (cd "$work/linux" && "$linux_cli" "$@" </dev/null >../out.l 2>../err.l)
  status_l=$?
  (cd "$work/windows" && "$WINE" "$windows_cli" "$@" </dev/null >../out.w 2>../err.w)
  status_w=$?
  set -e
  if [ "$status_l" != "$status_w" ] || ! cmp -s "$work/out.l" "$work/out.w" || ! cmp -s "$work/err.l" "$work/err.w"; then
    failures=$((failures + 1))
    echo "DIFFERENT: $* (status $status_l / $status_w)" >&2
    diff <(od -c "$work/out.l") <(od -c "$work/out.w") | head -5 >&2 || true
    diff "$work/err.l" "$work/err.w" | head -5 >&2 || true
  fi
}

# The same starting files in both folders: the demo ROM and table, a ROM with a few
# changed words in the weapon and unit tables, a copy under a Japanese name.
both demo .
python3 - "$work/linux" <<'PY'
import sys, shutil
folder = sys.argv[1]
rom = bytearray(open(f"{folder}/demo.gba", "rb").read())
for offset, value in ((0xC1160 + 2, 0x0123), (0xC1160 + 100 * 3 + 8, 0x4567), (0xD13A0 + 6, 0x0102),
                      (0xC75B4 + 168 * 2 + 10, 0x0303), (0x100, 0xBEEF)):
    rom[offset:offset + 2] = value.to_bytes(2, "little")
open(f"{folder}/changed.gba", "wb").write(rom)
shutil.copy(f"{folder}/demo.gba", f"{folder}/ゲーム 改.gba")
with open(f"{folder}/hand.txt", "wb") as f:
    f.write(b"08000100:1234\r\n080C1162:0042\r\n09FFFFF0:FFFF\r\n")
PY
cp -a "$work/linux/." "$work/windows/"

t=(--table string.txt)
both "${t[@]}" decode demo.gba 0x08100000 --limit 64
both "${t[@]}" decode demo.gba 0x100000 --json
both "${t[@]}" decode demo.gba 0x0A000000
both "${t[@]}" encode "出撃準備" --json
both "${t[@]}" encode "ユニット①" --limit 4
both "${t[@]}" encode "é"
for kind in unit pilot weapon skill part spirit bgm ace-bonus full-bonus chapter; do
  both "${t[@]}" names demo.gba "$kind"
done
both "${t[@]}" names "ゲーム 改.gba" unit
both "${t[@]}" names "ない.gba" unit
both codes diff demo.gba changed.gba
both codes diff demo.gba changed.gba -o diff.txt
both codes apply demo.gba diff.txt -o applied.gba
both codes apply demo.gba hand.txt -o extended.gba --extend
both codes apply demo.gba hand.txt -o refused.gba
cp "$work/linux/demo.gba" "$work/linux/written.gba"
cp "$work/windows/demo.gba" "$work/windows/written.gba"
both codes write written.gba diff.txt
both "${t[@]}" codes explain demo.gba diff.txt
both "${t[@]}" codes explain demo.gba hand.txt --json
both codes export demo.gba diff.txt --bps diff.bps
both codes export demo.gba diff.txt --ips diff.ips
both patch apply demo.gba diff.bps -o from-bps.gba
both patch apply demo.gba diff.ips -o from-ips.gba
both patch apply string.txt diff.bps -o wrong.gba
both "${t[@]}" table list
both "${t[@]}" table export changed.gba weapons
both "${t[@]}" table export changed.gba units -o units.csv
both "${t[@]}" table import demo.gba units units.csv --codes units-codes.txt
both "${t[@]}" table import demo.gba units units.csv -o units.gba
both "${t[@]}" table import demo.gba weapons string.txt -o never.gba
both
both codes frobnicate
both --help

if ! diff -r "$work/linux" "$work/windows" >&2; then
  failures=$((failures + 1))
  echo "DIFFERENT: the files the two builds wrote" >&2
fi
if [ "$failures" -gt 0 ]; then
  echo "compare-windows-cli: $failures of $runs runs differ" >&2
  exit 1
fi
echo "compare-windows-cli: $runs runs, the same bytes, statuses and files from both builds"
