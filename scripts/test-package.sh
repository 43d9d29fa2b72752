#!/usr/bin/env bash
# Builds the Release tree, makes the Debian package with cpack, checks what it holds,
# unpacks it into a temporary root with dpkg -x (nothing is installed on the machine) and
# starts the unpacked programs from there: the command line writes the demo files, and the
# editor opens the demo ROM offscreen and is stopped after a few seconds.
#   ./scripts/test-package.sh            (build folder: build-package/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-package

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTSUMUGI_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target tsumugi tsumugi-cli
rm -f "$build"/tsumugi_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tsumugi_*.deb)
echo "package: $deb"

fail() { echo "test-package: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/tsumugi ./usr/bin/tsumugi-cli ./usr/share/applications/tsumugi.desktop \
            ./usr/share/icons/hicolor/16x16/apps/tsumugi.png ./usr/share/icons/hicolor/48x48/apps/tsumugi.png \
            ./usr/share/icons/hicolor/256x256/apps/tsumugi.png; do
  grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 qt6-qpa-plugins zlib1g; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
echo "depends: $depends"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
dpkg -x "$deb" "$root"
desktop="$root/usr/share/applications/tsumugi.desktop"
grep -q '^MimeType=application/x-gba-rom;' "$desktop" || fail "the desktop entry lacks the .gba type"
grep -q '^Name\[ja\]=' "$desktop" || fail "the desktop entry lacks its Japanese name"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi

# The unpacked command line, and the user's config folder holding string.txt as an
# installed program reads it (its own folder holds none).
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/tsumugi" "$work/demo"
"$root/usr/bin/tsumugi-cli" demo "$work/demo"
cp "$work/demo/string.txt" "$XDG_CONFIG_HOME/tsumugi/string.txt"
"$root/usr/bin/tsumugi-cli" table export "$work/demo/demo.gba" weapons --bom -o "$work/weapons.csv" \
  --table "$XDG_CONFIG_HOME/tsumugi/string.txt"
[ "$(head -c 3 "$work/weapons.csv" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the CSV lacks its byte-order mark"

# The editor, offscreen, on the demo ROM: still running after 5 seconds means it started
# and waits for the user; anything else (a missing library, a crash) is a failure.
set +e
QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/tsumugi" "$work/demo/demo.gba" 2>"$work/stderr"
status=$?
set -e
grep -v -e propagateSizeHints -e 'XDG_RUNTIME_DIR' "$work/stderr" >&2 || true
[ "$status" = 124 ] || fail "the unpacked editor ended with status $status instead of running"
echo "test-package: the package holds both programs, the desktop entry and the icons; both programs run unpacked"
