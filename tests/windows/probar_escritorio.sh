#!/usr/bin/env bash
# The desktop program on Windows as Talvorin's users get it, under Wine and
# Xvfb, in a fresh 32-bit Wine prefix: the installer installs it silently, the
# installed durlavex-cli.exe exports the sample school, and a test host
# (anfitrion_pruebas.exe, standing for Talvorin) starts the installed
# durlavex.exe with its window handle:
#   - an export of the sample with the hour-template dialog answered: the
#     window seen painted over the host (screenshot pixels), Talvorin.ini
#     "Transformado=1", the tables those of the command line with J1;
#   - the host going while the template dialog is open: the export still
#     ends when the dialog is answered, "Transformado=1";
#   - a file that does not exist: "Transformado=-1";
#   - F1 on the main window and on the teacher dialog: Wine's HTML Help opens
#     VORNA.chm at ventana_principal.html and control_profesores.html (the
#     help window's title from the host, the page from Wine's own htmlhelp
#     trace);
#   - the host moving: the window follows it;
#   - the host closing its window: Durlavex ends with 0, "Transformado=0";
#   - the child form (DURLAVEX_INCRUSTACION=hija), for the record: whether
#     this Wine paints it;
# then the uninstaller leaves nothing behind, and in a folder shared with
# Talvorin removes only what is Durlavex's.
#
#   probar_escritorio.sh WINDOWS_BUILD
#
# WINDOWS_BUILD holds Durlavex-*-setup.exe (target instalador) and
# anfitrion_pruebas.exe. Screenshots go to $DURLAVEX_CAPTURAS (default
# WINDOWS_BUILD/capturas). Prints one line per check and "N passed, N failed";
# without Wine, Xvfb or ImageMagick it skips (status 77), or fails under CI=true.
set -uo pipefail
raiz=$(cd "$(dirname "$0")/../.." && pwd)
windows=$(cd "$1" && pwd)
capturas=${DURLAVEX_CAPTURAS:-$windows/capturas}

faltan=()
for herramienta in wine wineboot wineserver winepath Xvfb import convert python3; do
  command -v "$herramienta" >/dev/null || faltan+=("$herramienta")
done
instalador=$(ls "$windows"/Durlavex-*-setup.exe 2>/dev/null | head -n 1)
[ -n "$instalador" ] || faltan+=("Durlavex-*-setup.exe (cmake --build $windows --target instalador)")
[ -f "$windows/anfitrion_pruebas.exe" ] || faltan+=("$windows/anfitrion_pruebas.exe")
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Faltan para las pruebas de escritorio bajo Wine: ${faltan[*]}" >&2
  [ "${CI:-}" = true ] && exit 1
  echo "SKIPPED: pruebas de escritorio bajo Wine"
  exit 77
fi

temporal=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-escritorio.XXXXXX")
export WINEPREFIX=$temporal/prefijo WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
export LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8
xvfb=
terminar() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$temporal"
}
trap terminar EXIT
mkdir -p "$capturas" "$WINEPREFIX"

# One X server for all the cases, on a free display number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$temporal/pantalla" </dev/null >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$temporal/pantalla" ] && break; sleep 0.1; done
if [ ! -s "$temporal/pantalla" ]; then
  echo "Xvfb no ha arrancado" >&2
  exit 1
fi
export DISPLAY=:$(head -n 1 "$temporal/pantalla")

# One wineserver for the whole group, on /dev/null (cmake/windows/wine.sh).
wineserver -p </dev/null >/dev/null 2>&1
wineboot -i </dev/null >/dev/null 2>&1

# shellcheck source=comprobaciones.sh
. "$(dirname "${BASH_SOURCE[0]}")/comprobaciones.sh"
unix() { winepath -u "$1" 2>/dev/null; }

c=$WINEPREFIX/drive_c
mkdir -p "$c/KTEMP" "$c/datos" "$c/pruebas"
cp "$raiz/data/ejemplo/vorna_ejemplo.xml" "$c/datos/"
cp "$windows/anfitrion_pruebas.exe" "$c/pruebas/"
local_appdata=$(wine cmd.exe /c echo %LOCALAPPDATA% </dev/null 2>/dev/null | tr -d '\r')
programa_win="$local_appdata\\Programs\\Durlavex"
programa=$(unix "$programa_win")
menu=$(unix "$(wine cmd.exe /c echo %APPDATA% </dev/null 2>/dev/null | tr -d '\r')")/Microsoft/Windows/Start\ Menu/Programs/Durlavex

transformado() { tr -d '\r' <"$programa/Talvorin.ini" 2>/dev/null | sed -n 's/^Transformado=//p'; }
ini_dice() { [ "$(transformado)" = "$1" ]; }
clave_registro() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
sin_clave_registro() { ! clave_registro "$1"; }
tiene() { grep -qF -- "$2" "$temporal/$1.out"; }
# A dBase table's bytes 1-3 hold the date of its last update.
sin_fecha_dbf() { { head -c 1 "$1"; tail -c +5 "$1"; } }
mismas_tablas() { # carpeta, carpeta
  local t
  diff <(ls "$1") <(ls "$2") >&2 || return 1
  for t in "$1"/*; do
    case $t in
      *.DBF) cmp -s <(sin_fecha_dbf "$t") <(sin_fecha_dbf "$2/$(basename "$t")") || return 1 ;;
      *) cmp -s "$t" "$2/$(basename "$t")" || return 1 ;;
    esac
  done
}

# The test host, its report in $temporal/CASO.out and Wine's messages in
# CASO.err. With --captura, the screenshot is taken while the host waits.
anfitrion() { # caso, argumentos del anfitrión...
  local caso=$1; shift
  rm -f "$c/pruebas/captura.txt" "$c/pruebas/captura.txt.hecho" "$programa/Talvorin.ini"
  timeout 150 wine 'C:\pruebas\anfitrion_pruebas.exe' --plazo 90 "$@" \
    </dev/null >"$temporal/$caso.out" 2>"$temporal/$caso.err" &
  local proceso=$!
  if [[ " $* " == *" --captura "* ]]; then
    for _ in $(seq 1 600); do
      [ -s "$c/pruebas/captura.txt" ] && break
      kill -0 "$proceso" 2>/dev/null || break
      sleep 0.1
    done
    if [ -s "$c/pruebas/captura.txt" ]; then
      import -window root "$capturas/$caso.png"
      cp "$c/pruebas/captura.txt" "$temporal/$caso.lugares"
      touch "$c/pruebas/captura.txt.hecho"
    fi
  fi
  wait "$proceso"
  sed "s/^/       $caso: /" "$temporal/$caso.out"
}
pintada() { # caso
  python3 "$raiz/tests/windows/pixeles_captura.py" "$capturas/$1.png" "$temporal/$1.lugares" | sed 's/^/       /'
  return "${PIPESTATUS[0]}"
}
pagina_de_ayuda() { # caso, página
  grep -aq "navigate_url L\"mk:@MSITStore:.*VORNA.chm::/$2\"" "$temporal/$1.err"
}

# --- Installing, as a user without administrator rights would.
inicio=$SECONDS
wine "$instalador" /S </dev/null >/dev/null 2>&1
comprobar "instalador silencioso: durlavex.exe, durlavex-cli.exe, NIVELCAN.DBF, NIVELES.TXT y VORNA.chm en $programa_win" \
  test -f "$programa/durlavex.exe" -a -f "$programa/durlavex-cli.exe" -a -f "$programa/NIVELCAN.DBF" \
  -a -f "$programa/NIVELES.TXT" -a -f "$programa/VORNA.chm"
comprobar "instalador: el instituto de ejemplo en doc\\ejemplo" \
  test -f "$programa/doc/ejemplo/vorna_ejemplo.xml" -a -f "$programa/doc/ejemplo/SOLUC.DBF"
comprobar "instalador: entradas del menú Inicio" \
  test -f "$menu/Durlavex.lnk" -a -f "$menu/Ayuda de Durlavex.lnk" -a -f "$menu/Desinstalar Durlavex.lnk"
comprobar "instalador: desinstalación registrada para el usuario" \
  clave_registro 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Durlavex'
echo "       instalación: $((SECONDS - inicio)) s"

# --- The installed command line on the sample: the reference tables.
wine "$programa_win\\durlavex-cli.exe" exportar 'C:\datos\vorna_ejemplo.xml' --plantilla J1 \
  </dev/null >"$temporal/cli.out" 2>"$temporal/cli.err"
estado=$?
comprobar "durlavex-cli.exe instalado exporta el ejemplo con J1 (estado $estado)" \
  grep -q "Proceso finalizado" "$temporal/cli.out"
cp -r "$c/KTEMP" "$temporal/tablas-cli"
rm -f "$c/KTEMP"/*

# --- Host mode: an export of the sample.
inicio=$SECONDS
anfitrion exportar --archivo 'C:\datos\vorna_ejemplo.xml' --captura 'C:\pruebas\captura.txt' \
  --captura-con "Plantillas Horarias" "$programa_win\\durlavex.exe" exportar
comprobar "exportar: la ventana, propia del anfitrión, en la esquina de su área de cliente" \
  tiene exportar "incrustada: propia, en 0,0 del area de cliente, 632x266"
comprobar "exportar: la ventana se ve pintada sobre el anfitrión (captura exportar.png)" pintada exportar
comprobar "exportar: diálogo de plantillas contestado, «Proceso finalizado» cerrado" \
  tiene exportar "dialogo: Plantillas Horarias, Intro (Continuar)"
comprobar "exportar: Durlavex termina con 0" tiene exportar "salida: 0"
comprobar "exportar: Talvorin.ini dice Transformado=1" ini_dice 1
comprobar "exportar: las tablas son las de durlavex-cli con J1" mismas_tablas "$temporal/tablas-cli" "$c/KTEMP"
echo "       exportar: $((SECONDS - inicio)) s"

# --- The host goes while the template dialog waits: the person still
# answers it, the export ends and then so does Durlavex.
anfitrion cierre-en-plantillas --archivo 'C:\datos\vorna_ejemplo.xml' --cerrar-con "Plantillas Horarias" \
  "$programa_win\\durlavex.exe" exportar
comprobar "el anfitrión se va con el diálogo de plantillas abierto: la exportación acaba, Durlavex termina con 0 y Transformado=1" \
  eval 'tiene cierre-en-plantillas "salida: 0" && ini_dice 1'

# --- A file that does not exist.
anfitrion no-existe --archivo 'C:\datos\no-esta.xml' "$programa_win\\durlavex.exe" exportar
comprobar "archivo inexistente: «No existe archivo» cerrado, Durlavex termina con 0" \
  tiene no-existe "salida: 0"
comprobar "archivo inexistente: Talvorin.ini dice Transformado=-1" ini_dice -1

# --- F1 on the main window, then the host goes.
WINEDEBUG=-all,+htmlhelp anfitrion ayuda-principal --captura 'C:\pruebas\captura.txt' --mover --f1 principal \
  --cerrar "$programa_win\\durlavex.exe" revisar
comprobar "sin dirección: la ventana se ve pintada sobre el anfitrión (captura ayuda-principal.png)" \
  pintada ayuda-principal
comprobar "el anfitrión se mueve: la ventana le sigue a la esquina de su área de cliente" \
  tiene ayuda-principal "tras moverse el anfitrion: en 0,0 del area de cliente"
comprobar "F1 en la ventana principal: se abre la ayuda «Ayuda de Durlavex»" \
  tiene ayuda-principal 'ayuda: "Ayuda de Durlavex"'
comprobar "F1 en la ventana principal: en la página ventana_principal.html (contexto 3)" \
  pagina_de_ayuda ayuda-principal ventana_principal.html
comprobar "el anfitrión cierra su ventana: Durlavex termina con 0" tiene ayuda-principal "salida: 0"
comprobar "el anfitrión cierra su ventana: Talvorin.ini dice Transformado=0" ini_dice 0

# --- F1 on the teacher dialog: an import with a teacher left incomplete.
python3 "$raiz/tests/windows/vaciar_campo_dbf.py" "$c/KTEMP/PROFT.DBF" X_EMPLEADO 1
cp "$programa/doc/ejemplo/SOLUC.DBF" "$c/KTEMP/"
WINEDEBUG=-all,+htmlhelp anfitrion ayuda-profesores --archivo 'C:\datos\vorna_ejemplo.xml' --f1 profesores \
  "$programa_win\\durlavex.exe" importar
comprobar "importar con un profesor incompleto: se muestra Control de Profesores" \
  tiene ayuda-profesores "dialogo: Control de Profesores, F1"
comprobar "F1 en Control de Profesores: en la página control_profesores.html (contexto 1)" \
  pagina_de_ayuda ayuda-profesores control_profesores.html
comprobar "profesor aún incompleto: la importación se detiene, Durlavex termina con 0 y Transformado=0" \
  eval 'tiene ayuda-profesores "salida: 0" && ini_dice 0'

# --- The child form, which Debian 12's Wine does not paint: for the record.
DURLAVEX_INCRUSTACION=hija anfitrion hija --captura 'C:\pruebas\captura.txt' --mover --cerrar \
  "$programa_win\\durlavex.exe" revisar
comprobar "DURLAVEX_INCRUSTACION=hija: la ventana, hija de la del anfitrión, en 0,0" \
  tiene hija "incrustada: hija, en 0,0 del area de cliente, 632x266"
comprobar "DURLAVEX_INCRUSTACION=hija: el anfitrión se mueve y la ventana sigue en 0,0" \
  tiene hija "tras moverse el anfitrion: en 0,0 del area de cliente"
comprobar "DURLAVEX_INCRUSTACION=hija: al cerrarse el anfitrión, Durlavex termina con 0 y Transformado=0" \
  eval 'tiene hija "salida: 0" && ini_dice 0'
if pintada hija >/dev/null; then
  echo "       (información) este Wine pinta la ventana hija (captura hija.png)"
else
  echo "       (información) este Wine no pinta la ventana hija (captura hija.png)"
fi

# --- Uninstalling. NSIS's uninstaller copies itself away and returns at
# once: its work is done when the registry keys, which it removes last, have
# gone (at most 30 s).
inicio=$SECONDS
wine "$programa_win\\desinstalar.exe" /S </dev/null >/dev/null 2>&1
for _ in $(seq 1 60); do
  clave_registro 'HKCU\Software\Durlavex' || break
  sleep 0.5
done
comprobar "desinstalador silencioso: no queda la carpeta del programa (ni Talvorin.ini)" test ! -e "$programa"
comprobar "desinstalador: no queda el menú Inicio" test ! -e "$menu"
comprobar "desinstalador: no quedan sus claves del registro" eval \
  "sin_clave_registro 'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Durlavex' &&
   sin_clave_registro 'HKCU\\Software\\Durlavex'"
echo "       desinstalación: $((SECONDS - inicio)) s"

# --- Installed in Talvorin's own folder: Talvorin's files stay.
talvorin=$c/Talvorin
mkdir -p "$talvorin"
printf 'programa\r\n' >"$talvorin/TALVORIN.EXE"
printf '[Talvorin]\r\nIdioma=es\r\n' >"$talvorin/Talvorin.ini"
wine "$instalador" /S '/D=C:\Talvorin' </dev/null >/dev/null 2>&1
comprobar "instalado en la carpeta de Talvorin" test -f "$talvorin/durlavex.exe"
printf '[Talvorin]\r\nIdioma=es\r\n[Transformadores]\r\nTransformado=1\r\n' >"$talvorin/Talvorin.ini"
wine 'C:\Talvorin\desinstalar.exe' /S </dev/null >/dev/null 2>&1
for _ in $(seq 1 60); do
  clave_registro 'HKCU\Software\Durlavex' || break
  sleep 0.5
done
comprobar "desinstalado de la carpeta de Talvorin: quedan sus archivos y solo ellos" \
  diff <(ls "$talvorin") <(printf 'TALVORIN.EXE\nTalvorin.ini\n')
comprobar "desinstalado de la carpeta de Talvorin: Talvorin.ini sin la clave de Durlavex, con lo de Talvorin" \
  diff <(tr -d '\r' <"$talvorin/Talvorin.ini") <(printf '[Talvorin]\nIdioma=es\n')

resumen
