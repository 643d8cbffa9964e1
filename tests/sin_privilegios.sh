#!/usr/bin/env bash
# The tests that only mean something for a user whom file permissions stop
# (a read-only ini file or folder, a read-only table): as root they skip, so
# here they run once more as the unprivileged user "nobody".
#
# Usage: sin_privilegios.sh TEST_PLATFORM TEST_DBF
# Exit status 77 (skipped) when not root (they have run normally) or when
# the machine has no way to run them as another user.
set -euo pipefail
test_platform=$1 test_dbf=$2

[ "$(id -u)" -eq 0 ] || { echo "No es root: estas pruebas ya se han hecho con permisos normales."; exit 77; }
command -v runuser >/dev/null 2>&1 && id nobody >/dev/null 2>&1 \
  || { echo "Sin runuser o sin el usuario nobody: se omiten."; exit 77; }
runuser -u nobody -- test -x "$test_platform" \
  || { echo "El usuario nobody no puede ejecutar las pruebas en esta carpeta: se omiten."; exit 77; }

# Each must really run as that user: a skip there is a failure here.
cd /tmp
for prueba in "$test_platform IniFallos.*" "$test_dbf ComparticionEnUnProceso.UnaTablaDeSoloLectura*"; do
  read -r programa filtro <<< "$prueba"
  salida=$(runuser -u nobody -- "$programa" --gtest_filter="$filtro" 2>&1) || { echo "$salida"; exit 1; }
  echo "$salida"
  if grep -q '\[  SKIPPED \]' <<< "$salida"; then
    echo "Una prueba se omitió también como nobody."; exit 1
  fi
done
