# Sourced by the Windows test scripts: one line per check ("ok" or "FALLO")
# and the count at the end.
aprobadas=0
fallidas=0
bien() { echo "ok     $*"; aprobadas=$((aprobadas + 1)); }
mal() { echo "FALLO  $*"; fallidas=$((fallidas + 1)); }
comprobar() { # descripción, orden de prueba...
  local que=$1; shift
  if "$@"; then bien "$que"; else mal "$que"; fi
}
# The last line of a script: the count, and its status.
resumen() {
  echo "$aprobadas passed, $fallidas failed"
  [ "$fallidas" -eq 0 ]
}
