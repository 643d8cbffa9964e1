#!/usr/bin/env bash
# Installs what is needed, builds, and runs Durlavex: the desktop program when
# there is a display, otherwise a demonstration of both directions with the
# command line on the bundled sample school, in throwaway folders.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/scripts/instalar-dependencias.sh"
"$raiz/scripts/compilar.sh"
build=${DURLAVEX_BUILD_DIR:-$raiz/build}
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/bin/durlavex" ]; then
  exec "$build/bin/durlavex"
fi

cli=$build/bin/durlavex-cli
ejemplo=$raiz/data/ejemplo/vorna_ejemplo.xml
soluc=$build/ejemplo/SOLUC.DBF

# A Wine prefix of its own, so that a real C:\KTEMP is never touched.
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-wine.XXXXXX")
ktemp=$WINEPREFIX/drive_c/KTEMP
mkdir -p "$ktemp"
carpeta=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-ejemplo.XXXXXX")
cp "$ejemplo" "$carpeta/"
intercambio=$carpeta/$(basename "$ejemplo")

# The sample holds two school-day templates; take the first one.
plantilla=$(xmllint --xpath \
  'string(/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq="JORNADAS_ESCOLARES"]/grupo_datos[1]/dato[1])' \
  "$intercambio")

echo "== Exportar (Vorna → Talvorin), plantilla horaria $plantilla"
"$cli" exportar "$intercambio" --plantilla "$plantilla"

# Talvorin would now build the timetable and leave SOLUC.DBF in its working
# directory; the demo timetable stands in for it.
cp "$soluc" "$ktemp/SOLUC.DBF"

echo
echo "== Importar (Talvorin → Vorna)"
"$cli" importar "$intercambio"

echo
echo "Tablas de Talvorin (directorio de trabajo): $ktemp"
echo "Archivo de resultado para Vorna:            $carpeta/ResultadoTalvos$(basename "$ejemplo")"
echo "Para ver una tabla: $cli volcar $ktemp/PROFT.DBF"
