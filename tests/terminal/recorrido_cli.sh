#!/usr/bin/env bash
# The README's walk-through of durlavex-cli, typed into a real terminal (tmux)
# as a person would type it, on the sample school in throwaway folders. Every
# command of the README's block must have its check here, so that the README
# and the programs cannot drift apart.
#
# Usage: recorrido_cli.sh README.md PROGRAM_FOLDER DEMO_SOLUC.DBF SAMPLE.xml
# Exit status 77 (skipped) without tmux; 1 under continuous integration
# (CI=true), where the install script brings it.
set -euo pipefail
readme=$1 programas=$2 soluc=$3 ejemplo=$4

if ! command -v tmux >/dev/null 2>&1; then
  [ "${CI:-}" = true ] && { echo "Sin tmux en integración continua."; exit 1; }
  echo "Sin tmux: se omite el recorrido."; exit 77
fi

# The commands: the shell block after the marker line, comments dropped.
mapfile -t ordenes < <(awk '
  /<!-- recorrido-cli -->/ { marca = 1; next }
  marca && /^```sh/ { dentro = 1; next }
  dentro && /^```/ { exit }
  dentro { sub(/[ \t]+#.*$/, ""); if ($0 != "") print }' "$readme")
[ ${#ordenes[@]} -gt 0 ] || { echo "El README no tiene el bloque <!-- recorrido-cli -->."; exit 1; }

trabajo=$(mktemp -d "${TMPDIR:-/tmp}/durlavex-recorrido.XXXXXX")
servidor=durlavex-recorrido-$$
cleanup() {
  tmux -L "$servidor" kill-server 2>/dev/null || true
  # The shell in the terminal may still be going away.
  for _ in 1 2 3 4 5; do rm -rf "$trabajo" 2>/dev/null && break; sleep 0.2; done
  return 0
}
trap cleanup EXIT

carpeta=$trabajo/escuela
mkdir -p "$carpeta" "$trabajo/wine/drive_c/KTEMP" "$trabajo/datos"
cp "$ejemplo" "$carpeta/vorna_ejemplo.xml"
# The README names the demo timetable as it lies in the build folder of the
# repository, $DURLAVEX.
mkdir -p "$trabajo/build/ejemplo"
cp "$soluc" "$trabajo/build/ejemplo/SOLUC.DBF"

printf 'set -g history-limit 50000\n' >"$trabajo/tmux.conf"
tmux -L "$servidor" -f "$trabajo/tmux.conf" -u new-session -d -x 200 -y 50 -c "$carpeta" \
  env -i HOME="$trabajo" HISTFILE=/dev/null PATH="$programas:/usr/bin:/bin" LANG=C.UTF-8 TERM=xterm-256color \
  WINEPREFIX="$trabajo/wine" XDG_DATA_HOME="$trabajo/datos" DURLAVEX="$trabajo" \
  bash --norc --noprofile
tmux -L "$servidor" send-keys "PS1='$ '" Enter

pantalla() { tmux -L "$servidor" capture-pane -p -J -S - -E -; }

# Types command i and waits for its exit status; its output goes to stdout.
teclear() {
  local i=$1 orden=$2
  tmux -L "$servidor" send-keys -l "echo '=== $i ==='; $orden; echo \"[estado \$?]\""
  tmux -L "$servidor" send-keys Enter
  for _ in $(seq 1 300); do
    if pantalla | awk -v i="=== $i ===" '$0 == i { dentro = 1; next } dentro && /^\[estado [0-9]+\]$/ { hay = 1 } END { exit !hay }'; then
      pantalla | awk -v i="=== $i ===" '$0 == i { dentro = 1; next } dentro { print } dentro && /^\[estado [0-9]+\]$/ { exit }'
      return 0
    fi
    sleep 0.1
  done
  echo "La orden «$orden» no ha terminado en 30 s. La terminal muestra:" >&2
  pantalla >&2
  return 1
}

fallos=0
comprobar() { # comprobar SALIDA ESTADO TEXTO...
  local salida=$1 estado=$2
  shift 2
  if ! grep -qx "\[estado $estado\]" <<<"$salida"; then
    echo "FALLO: se esperaba el estado $estado" >&2
    fallos=$((fallos + 1))
  fi
  for texto in "$@"; do
    if ! grep -qF -- "$texto" <<<"$salida"; then
      echo "FALLO: falta «$texto»" >&2
      fallos=$((fallos + 1))
    fi
  done
  # Nothing of libxml2's, Qt's or the system's English.
  if grep -qE "Permission denied|No such file|Document is|not proper|Reinstalling|could not" <<<"$salida"; then
    echo "FALLO: hay texto en inglés" >&2
    fallos=$((fallos + 1))
  fi
}

ktemp=$trabajo/wine/drive_c/KTEMP
for i in "${!ordenes[@]}"; do
  orden=${ordenes[$i]}
  echo "\$ $orden"
  salida=$(teclear "$i" "$orden")
  echo "$salida"
  case "$orden" in
  "durlavex-cli --help")
    comprobar "$salida" 0 "Uso:" "Estado de salida:" "Directorio de trabajo de Talvorin: $ktemp" ;;
  "durlavex-cli --version")
    comprobar "$salida" 0 "durlavex-cli (Durlavex) 1.0" ;;
  "durlavex-cli exportar --help")
    comprobar "$salida" 0 "Uso: durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]" ;;
  "durlavex-cli exportar vorna_ejemplo.xml")
    comprobar "$salida" 2 "indique cuál se aplica con --plantilla CODIGO" \
      "  «J1»  Jornada ordinaria  (del " "  «J2»" ;;
  "durlavex-cli exportar vorna_ejemplo.xml --plantilla J1")
    comprobar "$salida" 0 "Tablas de Talvorin escritas en: $ktemp" "  PROFT: " "Proceso finalizado" ;;
  "durlavex-cli volcar proft.dbf")
    comprobar "$salida" 0 "Tabla: $ktemp/PROFT.DBF" "Formato: dBase nivel 7" "X_EMPLEADO" "García López, Ana" ;;
  'cp "$DURLAVEX/build/ejemplo/SOLUC.DBF" "${WINEPREFIX:-$HOME/.wine}/drive_c/KTEMP/"')
    comprobar "$salida" 0 ;;
  "durlavex-cli importar vorna_ejemplo.xml")
    importado=$salida
    comprobar "$salida" 0 "Archivo de resultado: $carpeta/ResultadoTalvosvorna_ejemplo.xml" "Proceso finalizado" \
      "Comprobación para Vorna: " ;;
  "durlavex-cli comprobar ResultadoTalvosvorna_ejemplo.xml vorna_ejemplo.xml")
    # The sample's own keys decide: the status follows what the import said.
    estado=3
    if grep -qF "Vorna reconocerá las claves" <<<"${importado:-}"; then estado=0; fi
    comprobar "$salida" "$estado" \
      "Comprobación para Vorna de «$carpeta/ResultadoTalvosvorna_ejemplo.xml» con «$carpeta/vorna_ejemplo.xml»: " ;;
  "durlavex-cli importar no-esta.xml")
    comprobar "$salida" 3 "No existe archivo «$carpeta/no-esta.xml»" ;;
  *)
    echo "FALLO: el recorrido no sabe qué comprobar de «$orden»" >&2
    fallos=$((fallos + 1)) ;;
  esac
done

[ "$fallos" -eq 0 ] || { echo "$fallos comprobaciones fallidas." >&2; exit 1; }
echo "Recorrido completo: ${#ordenes[@]} órdenes."
