#!/usr/bin/env bash
# Installs what is needed, builds the two programs and the help (the tests are
# probar.sh's business) and runs Durlavex:
# - with a display, the desktop program, on Talvorin's working directory; when
#   there is none yet, on a demonstration one with the sample school, kept in
#   the user's data folder;
# - without a display, a demonstration of both directions with the command
#   line on the sample school, in throwaway folders.
# The build says nothing unless it fails.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${DURLAVEX_BUILD_DIR:-$raiz/build}

"$raiz/scripts/instalar-dependencias.sh"

echo "Compilando Durlavex en $build (la primera vez, unos minutos)…"
registro=$(mktemp "${TMPDIR:-/tmp}/durlavex-compilacion.XXXXXX")
trap 'rm -f "$registro"' EXIT
fallo() {
  cat "$registro" >&2
  echo "La compilación ha fallado (arriba, lo que dijeron cmake y el compilador)." >&2
  exit 1
}
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$registro" 2>&1 || fallo
# The programs, the files beside them and the demo timetable; no test.
objetivos=(durlavex-cli nivelcan soluc_ejemplo)
disponibles=$(cmake --build "$build" --target help 2>/dev/null || true)
for opcional in durlavex ayuda; do
  grep -Eq "(^|/)$opcional: " <<<"$disponibles" && objetivos+=("$opcional")
done
cmake --build "$build" --parallel "$(nproc)" --target "${objetivos[@]}" >>"$registro" 2>&1 || fallo

cli=$build/bin/durlavex-cli
ejemplo=$raiz/data/ejemplo/vorna_ejemplo.xml
soluc=$build/ejemplo/SOLUC.DBF

# The sample school exported into the working directory `ktemp`, with the
# timetable Talvorin would make for it, so that both directions can be tried.
preparar_escuela() {
  local carpeta=$1 ktemp=$2
  mkdir -p "$ktemp"
  cp "$ejemplo" "$carpeta/"
  WINEPREFIX=${ktemp%/drive_c/KTEMP} "$cli" exportar "$carpeta/$(basename "$ejemplo")" --plantilla J1 >/dev/null
  cp "$soluc" "$ktemp/SOLUC.DBF"
}

hay_pantalla() {
  [ -n "${WAYLAND_DISPLAY:-}" ] && return 0
  [ -n "${DISPLAY:-}" ] || return 1
  command -v xdpyinfo >/dev/null 2>&1 || return 0
  xdpyinfo >/dev/null 2>&1
}

if [ -x "$build/bin/durlavex" ] && hay_pantalla; then
  ktemp=${WINEPREFIX:-$HOME/.wine}/drive_c/KTEMP
  if [ -d "$ktemp" ]; then
    exec "$build/bin/durlavex"
  fi
  datos=${XDG_DATA_HOME:-$HOME/.local/share}
  [[ $datos == /* ]] || datos=$HOME/.local/share
  demo=$datos/durlavex/demostracion
  export WINEPREFIX=$demo/wine
  if [ ! -d "$WINEPREFIX/drive_c/KTEMP" ]; then
    mkdir -p "$demo"
    preparar_escuela "$demo" "$WINEPREFIX/drive_c/KTEMP"
  fi
  echo
  echo "No hay directorio de trabajo de Talvorin ($ktemp): Durlavex se abre con la demostración"
  echo "del instituto de ejemplo, en $demo:"
  echo "  archivo de intercambio de Vorna:   $demo/$(basename "$ejemplo")"
  echo "  directorio de trabajo de Talvorin: $WINEPREFIX/drive_c/KTEMP"
  echo "    (ya exportado con la plantilla J1 y con el horario SOLUC.DBF, así que se puede importar)"
  echo "Para empezar la demostración de cero, borre la carpeta $demo."
  cd "$demo"
  exec "$build/bin/durlavex"
fi

# No display: both directions with the command line. A Wine prefix of its own,
# so that a real C:\KTEMP is never touched.
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-wine.XXXXXX")
ktemp=$WINEPREFIX/drive_c/KTEMP
mkdir -p "$ktemp"
carpeta=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-ejemplo.XXXXXX")
cp "$ejemplo" "$carpeta/"
intercambio=$carpeta/$(basename "$ejemplo")

echo
echo "Sin pantalla: demostración con la línea de órdenes (durlavex-cli) y el instituto de ejemplo."
echo
echo "== El archivo tiene varias plantillas horarias; sin --plantilla, se listan:"
"$cli" exportar "$intercambio" || true

echo
echo "== Exportar (Vorna → Talvorin) con la plantilla J1"
"$cli" exportar "$intercambio" --plantilla J1

# Talvorin would now build the timetable and leave SOLUC.DBF in its working
# directory; the demo timetable stands in for it.
cp "$soluc" "$ktemp/SOLUC.DBF"

echo
echo "== Importar (Talvorin → Vorna)"
"$cli" importar "$intercambio"

echo
echo "Tablas de Talvorin (directorio de trabajo): $ktemp"
echo "Archivo de resultado para Vorna:            $carpeta/ResultadoTalvos$(basename "$ejemplo")"
echo "Para ver una tabla: WINEPREFIX=$WINEPREFIX $cli volcar proft.dbf"
echo "Todas las órdenes: $cli --help"
