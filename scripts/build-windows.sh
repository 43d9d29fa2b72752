#!/usr/bin/env bash
# Builds the core, tsumugi-cli.exe and the core tests for 64-bit Windows with mingw-w64,
# into $BUILD_DIR (else build-windows/), runs the core tests under Wine, then compares
# every command's output with the Linux build's (scripts/compare-windows-cli.sh; the Linux
# program is $LINUX_CLI when set, else built into $BUILD_DIR/linux). Installs the cross
# compiler, Wine and the rest from Debian when they are missing.
#
#   scripts/build-windows.sh             # build and test
#   scripts/build-windows.sh --no-test   # build only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
builddir=${BUILD_DIR:-build-windows}
case "$builddir" in /*) ;; *) builddir=$root/$builddir ;; esac
run_tests=1
[ "${1:-}" = "--no-test" ] && run_tests=0

packages=(cmake ninja-build g++ python3 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
          googletest wine64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$builddir/build.ninja" ]; then
  cmake -S . -B "$builddir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DTSUMUGI_BUILD_UI=OFF -DTSUMUGI_BUILD_BENCH=OFF -DTSUMUGI_FUZZ=OFF \
    -DTSUMUGI_GTEST_SOURCE=/usr/src/googletest
fi
cmake --build "$builddir" -j2 --target tsumugi-cli tsumugi_core_tests

# The program must start on a bare Windows: it may import Windows' own DLLs only.
imports=$(x86_64-w64-mingw32-objdump -p "$builddir/tsumugi-cli.exe" | sed -n 's/^\s*DLL Name: //p')
for dll in $imports; do
  case "${dll,,}" in
    kernel32.dll | msvcrt.dll | advapi32.dll | user32.dll | shell32.dll | ws2_32.dll | bcrypt.dll | \
    ntdll.dll | api-ms-win-*) ;;
    *) echo "build-windows: tsumugi-cli.exe needs $dll, which Windows does not have" >&2; exit 1 ;;
  esac
done
echo "build-windows: $builddir/tsumugi-cli.exe imports only $(echo $imports | tr ' ' ',')"

[ "$run_tests" = 1 ] || exit 0
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_start "$builddir/wine"
trap wine_stop EXIT
# Their temporary files go to Wine's %TEMP%.
(cd "$builddir/tests" && "$WINE" ./tsumugi_core_tests.exe)

linux_cli=${LINUX_CLI:-}
if [ -z "$linux_cli" ]; then
  if [ ! -f "$builddir/linux/build.ninja" ]; then
    cmake -S . -B "$builddir/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTSUMUGI_BUILD_UI=OFF \
      -DTSUMUGI_BUILD_BENCH=OFF -DBUILD_TESTING=OFF
  fi
  cmake --build "$builddir/linux" -j2 --target tsumugi-cli
  linux_cli=$builddir/linux/tsumugi-cli
fi
"$root/scripts/compare-windows-cli.sh" "$linux_cli" "$builddir/tsumugi-cli.exe"
