# Sourced: runs Windows programs under Wine quickly and safely.
#   wine_start PREFIX   makes or reuses the Wine prefix and keeps one Wine server running
#   "$WINE" prog.exe    runs a program (about 0.1 s a call once the server runs)
#   wine_stop           stops that server
# Debian's Wine stops its server after every program (about 3 s a call): one is kept for
# the run instead. The first program after the server starts launches Wine's own services,
# which inherit its stdout and stderr and would hold a caller's pipes open: a warm-up call
# with all output to /dev/null takes that. The crash debugger is turned off, since it
# writes a backtrace onto the program's own stdout, where a crash could pass as output.

WINE=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)

wine_start() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
  "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d 'no-debugger.exe' /f </dev/null >/dev/null 2>&1 || true
  "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f \
    </dev/null >/dev/null 2>&1 || true
  export WINE
}

wine_stop() {
  "$WINESERVER" -k 2>/dev/null || true
}
