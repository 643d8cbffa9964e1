#!/bin/sh
# The Windows build's CMAKE_CROSSCOMPILING_EMULATOR: runs one of its programs
# under Wine (build steps such as writing NIVELCAN.DBF, and the tests).
#   wine.sh DEFAULT_PREFIX PROGRAM.exe [ARGUMENTS...]
# The Wine prefix is $WINEPREFIX when set (scripts/probar-windows.sh sets a
# fresh temporary one), else DEFAULT_PREFIX, a 32-bit prefix of the build
# folder, made on first use.
set -eu
predeterminado=$1
shift
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX=$predeterminado
  WINEARCH=win32
  export WINEARCH
fi
export WINEPREFIX
WINEDEBUG=${WINEDEBUG:--all}
# No offer to install Mono or Gecko, which a console program never needs.
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEDEBUG WINEDLLOVERRIDES
# Wine's background processes (wineserver and the services it starts,
# winedevice.exe) outlive a program and keep the output it was given open:
# ctest and ninja, which read a step's output to its end, would wait for them.
# So when no wineserver runs for the prefix, one is started here (kept 60 s
# after its last program) and the services with it, all on /dev/null.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1 || true
  else
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
  fi
fi
exec wine "$@"
