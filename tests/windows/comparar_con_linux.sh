#!/usr/bin/env bash
# The Windows build against the Linux build: durlavex-cli.exe under Wine, in
# the Wine prefix's own C:\KTEMP, must write exactly the bytes durlavex-cli
# writes on Linux from the same inputs, end with the same exit statuses, and
# speak Spanish in the console's code page.
#
#   comparar_con_linux.sh LINUX_BUILD WINDOWS_BUILD
#
# Needs WINEPREFIX (an initialised prefix, 32-bit), run with a locale whose
# ANSI code page is 1252 (scripts/probar-windows.sh sets LANG=es_ES.UTF-8:
# ANSI 1252, OEM 850). Cases: the sample school (template J1, and the demo
# SOLUC.DBF) and the benchmark's scale-10 school (its SOLUC.DBF written from
# the Linux export). Prints one line per check and "N passed, N failed".
set -uo pipefail
raiz=$(cd "$(dirname "$0")/../.." && pwd)
linux=$1
windows=$2
: "${WINEPREFIX:?WINEPREFIX hace falta}"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

cli_linux=$linux/bin/durlavex-cli
cli_windows=$windows/bin/durlavex-cli.exe
for f in "$cli_linux" "$cli_windows"; do
  [ -f "$f" ] || { echo "Falta $f" >&2; exit 1; }
done

temporal=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-comparar.XXXXXX")
trap 'rm -rf "$temporal"' EXIT
ktemp_windows=$WINEPREFIX/drive_c/KTEMP
datos_windows=$WINEPREFIX/drive_c/datos
pagina_consola=${DURLAVEX_PAGINA_CONSOLA:-CP850}

# shellcheck source=comprobaciones.sh
. "$(dirname "${BASH_SOURCE[0]}")/comprobaciones.sh"

# A dBase table's header bytes 1-3 hold the date of its last update: for the
# files the two builds wrote at build time, possibly on two different days.
sin_fecha_dbf() { { head -c 1 "$1"; tail -c +5 "$1"; } }
mismo_dbf_salvo_fecha() { cmp -s <(sin_fecha_dbf "$1") <(sin_fecha_dbf "$2"); }
sin_fecha_resultado() { sed -E 's/ fecha="[^"]*"//' "$1"; }
mismo_resultado() { cmp -s <(sin_fecha_resultado "$1") <(sin_fecha_resultado "$2"); }

# Both runs of one command: Linux in its own fake prefix, Windows under Wine.
# Output into $temporal/<caso>.{linux,windows}.{out,err,rc}.
linux_prefijo=$temporal/linux-prefijo
ejecutar_linux() { # caso, args...
  local caso=$1; shift
  WINEPREFIX=$linux_prefijo XDG_DATA_HOME=$temporal/linux-datos \
    "$cli_linux" "$@" >"$temporal/$caso.linux.out" 2>"$temporal/$caso.linux.err"
  echo $? >"$temporal/$caso.linux.rc"
}
ejecutar_windows() { # caso, args...
  local caso=$1; shift
  wine "$cli_windows" "$@" >"$temporal/$caso.windows.out" 2>"$temporal/$caso.windows.err"
  echo $? >"$temporal/$caso.windows.rc"
}
mismo_estado() { # caso
  local l w
  l=$(cat "$temporal/$1.linux.rc"); w=$(cat "$temporal/$1.windows.rc")
  [ "$l" = "$w" ] || { echo "       estado: Linux $l, Windows $w" >&2; return 1; }
}
# The Windows text, from the console's code page and CR LF, equals Linux's.
mismo_texto() { # caso, out|err
  diff <(iconv -f "$pagina_consola" -t UTF-8 "$temporal/$1.windows.$2" | tr -d '\r') "$temporal/$1.linux.$2" >&2
}

vaciar_ktemp() {
  rm -rf "$linux_prefijo/drive_c/KTEMP" "$ktemp_windows"
  mkdir -p "$linux_prefijo/drive_c/KTEMP" "$ktemp_windows"
}

# The build's own files: the level table and the sample timetable, written by
# the same table writer on each system.
comprobar "NIVELCAN.DBF de la compilación de Windows igual que la de Linux" \
  mismo_dbf_salvo_fecha "$linux/bin/NIVELCAN.DBF" "$windows/bin/NIVELCAN.DBF"
comprobar "SOLUC.DBF de ejemplo de la compilación de Windows igual que la de Linux" \
  mismo_dbf_salvo_fecha "$linux/ejemplo/SOLUC.DBF" "$windows/ejemplo/SOLUC.DBF"
# Whatever else data/ lays beside the programs, laid there on Windows too.
for f in "$linux"/bin/*; do
  nombre=$(basename "$f")
  case $nombre in durlavex|durlavex-cli|*.chm|NIVELCAN.DBF) continue ;; esac
  [ -x "$f" ] && continue
  comprobar "$nombre junto a los programas de Windows" cmp -s "$f" "$windows/bin/$nombre"
done

# caso, intercambio.xml, plantilla, SOLUC.DBF ("" = written from the export)
un_instituto() {
  local caso=$1 xml=$2 plantilla=$3 soluc=$4
  local nombre
  nombre=$(basename "$xml")
  vaciar_ktemp
  mkdir -p "$temporal/$caso" "$datos_windows"
  cp "$xml" "$temporal/$caso/$nombre"
  cp "$xml" "$datos_windows/$nombre"

  ejecutar_linux "$caso-exportar" exportar "$temporal/$caso/$nombre" --plantilla "$plantilla"
  ejecutar_windows "$caso-exportar" exportar "C:\\datos\\$nombre" --plantilla "$plantilla"
  comprobar "$caso: exportar, mismo estado de salida ($(cat "$temporal/$caso-exportar.linux.rc"))" \
    mismo_estado "$caso-exportar"
  comprobar "$caso: exportar, «Proceso finalizado» en la consola de Windows" \
    grep -q "Proceso finalizado" "$temporal/$caso-exportar.windows.out"
  local tablas=0
  for t in "$linux_prefijo"/drive_c/KTEMP/*; do
    tablas=$((tablas + 1))
    comprobar "$caso: exportar, $(basename "$t") byte a byte" cmp "$t" "$ktemp_windows/$(basename "$t")"
  done
  comprobar "$caso: exportar, las mismas tablas ($tablas)" \
    diff <(ls "$linux_prefijo/drive_c/KTEMP") <(ls "$ktemp_windows")

  if [ -z "$soluc" ]; then
    python3 "$raiz/bench/generar_escuela.py" soluc "$linux_prefijo/drive_c/KTEMP" >/dev/null
    soluc=$temporal/$caso/SOLUC.DBF
    mv "$linux_prefijo/drive_c/KTEMP/SOLUC.DBF" "$soluc"
  fi
  cp "$soluc" "$linux_prefijo/drive_c/KTEMP/SOLUC.DBF"
  cp "$soluc" "$ktemp_windows/SOLUC.DBF"
  ejecutar_linux "$caso-importar" importar "$temporal/$caso/$nombre"
  ejecutar_windows "$caso-importar" importar "C:\\datos\\$nombre"
  comprobar "$caso: importar, mismo estado de salida ($(cat "$temporal/$caso-importar.linux.rc"))" \
    mismo_estado "$caso-importar"
  comprobar "$caso: importar, archivo de resultado byte a byte salvo fecha" \
    mismo_resultado "$temporal/$caso/ResultadoTalvos$nombre" "$datos_windows/ResultadoTalvos$nombre"
  comprobar "$caso: importar, las tablas quedan como estaban" \
    diff -r "$linux_prefijo/drive_c/KTEMP" "$ktemp_windows"
}

ejemplo=$raiz/data/ejemplo/vorna_ejemplo.xml
un_instituto ejemplo "$ejemplo" J1 "$linux/ejemplo/SOLUC.DBF"
python3 "$raiz/bench/generar_escuela.py" intercambio 10 "$temporal/escuela10.xml"
un_instituto escala10 "$temporal/escuela10.xml" J1 ""

# Statuses and messages of the runs that stop early, as on Linux.
vaciar_ktemp
cp "$ejemplo" "$datos_windows/vorna_ejemplo.xml"
cp "$ejemplo" "$temporal/vorna_ejemplo.xml"
ejecutar_linux sin-plantilla exportar "$temporal/vorna_ejemplo.xml"
ejecutar_windows sin-plantilla exportar 'C:\datos\vorna_ejemplo.xml'
comprobar "varias plantillas sin --plantilla: mismo estado ($(cat "$temporal/sin-plantilla.linux.rc"))" \
  mismo_estado sin-plantilla
comprobar "varias plantillas sin --plantilla: el mismo mensaje en español, en la página de la consola" \
  mismo_texto sin-plantilla err
ejecutar_linux orden-desconocida exportarr
ejecutar_windows orden-desconocida exportarr
comprobar "orden desconocida: mismo estado ($(cat "$temporal/orden-desconocida.linux.rc"))" \
  mismo_estado orden-desconocida
comprobar "orden desconocida: el mismo mensaje" mismo_texto orden-desconocida err
ejecutar_linux sin-soluc importar "$temporal/vorna_ejemplo.xml"
ejecutar_windows sin-soluc importar 'C:\datos\vorna_ejemplo.xml'
comprobar "importar sin tablas: mismo estado ($(cat "$temporal/sin-soluc.linux.rc"))" mismo_estado sin-soluc
# The same words, each naming its own working directory.
mismo_texto_ktemp() { # caso, out|err
  diff <(iconv -f "$pagina_consola" -t UTF-8 "$temporal/$1.windows.$2" | tr -d '\r') \
    <(sed "s|$linux_prefijo/drive_c/KTEMP|C:\\\\KTEMP|g" "$temporal/$1.linux.$2") >&2
}
comprobar "importar sin tablas: el mismo mensaje en español («SOLUC», C:\\KTEMP), en la página de la consola" \
  mismo_texto_ktemp sin-soluc err

resumen
