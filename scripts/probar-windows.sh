#!/usr/bin/env bash
# The Windows build and its tests under Wine: installs what is needed
# (scripts/instalar-dependencias-windows.sh), prepares the Windows
# dependencies once (scripts/dependencias-windows.sh, cached outside the
# clone), builds build-windows/, then in a fresh temporary 32-bit Wine prefix
# runs the unit tests as Windows programs and compares durlavex-cli.exe's
# tables and result files with those of the Linux build in build/ (built
# first when missing); then builds the installer and tests the desktop
# program under Wine and Xvfb as installed (tests/windows/probar_escritorio.sh,
# in a prefix and an X server of its own; screenshots in build-windows/capturas).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/scripts/instalar-dependencias.sh"
"$raiz/scripts/instalar-dependencias-windows.sh"

linux=${DURLAVEX_BUILD_DIR:-$raiz/build}
windows=${DURLAVEX_WINDOWS_BUILD_DIR:-$raiz/build-windows}
extra=()
[ "${CI:-}" = true ] && extra+=(-DDURLAVEX_WERROR=ON)

# Wine's code pages follow the locale: es_ES gives ANSI 1252 (the tables'
# code page) and OEM 850 (the console's), as a Spanish Windows has.
export LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-wine-windows.XXXXXX")
export WINEPREFIX
terminar() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap terminar EXIT
inicio=$SECONDS
# One wineserver for every run of the build and the tests, and the services
# wineboot starts with it, all on /dev/null: started by a program under ctest
# or ninja they would keep its output open (cmake/windows/wine.sh).
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot -i </dev/null >/dev/null 2>&1
echo "Prefijo de Wine de 32 bits preparado en $((SECONDS - inicio)) s: $WINEPREFIX"

inicio=$SECONDS
"$raiz/scripts/compilar-windows.sh" "${extra[@]}"
echo "Compilación de Windows: $((SECONDS - inicio)) s"
if [ ! -x "$linux/bin/durlavex-cli" ]; then
  DURLAVEX_BUILD_DIR=$linux "$raiz/scripts/compilar.sh"
fi

inicio=$SECONDS
(cd "$windows" && ctest --output-on-failure --timeout 900)
echo "Pruebas unitarias bajo Wine: $((SECONDS - inicio)) s"

inicio=$SECONDS
bash "$raiz/tests/windows/comparar_con_linux.sh" "$linux" "$windows"
echo "Comparación con Linux bajo Wine: $((SECONDS - inicio)) s"

inicio=$SECONDS
cmake --build "$windows" --target instalador
echo "Instalador: $((SECONDS - inicio)) s"

inicio=$SECONDS
estado=0
bash "$raiz/tests/windows/probar_escritorio.sh" "$windows" || estado=$?
echo "Escritorio bajo Wine (instalar, modo anfitrión, ayuda, desinstalar): $((SECONDS - inicio)) s"
# 77: skipped for a missing tool, which outside CI is no failure.
[ "$estado" -eq 0 ] || [ "$estado" -eq 77 ]
