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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
fi
exec wine "$@"
