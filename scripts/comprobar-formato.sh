#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the project differs from
# .clang-format; `scripts/comprobar-formato.sh --arreglar` formats them.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"
mapfile -t archivos < <(git ls-files '*.cpp' '*.h' ':!:*.inc')
if [ "${1:-}" = --arreglar ]; then
  clang-format -i "${archivos[@]}"
  exit 0
fi
distintos=()
for a in "${archivos[@]}"; do
  clang-format --dry-run --Werror "$a" >/dev/null 2>&1 || distintos+=("$a")
done
if [ ${#distintos[@]} -gt 0 ]; then
  printf 'Sin el formato de .clang-format: %s\n' "${distintos[@]}" >&2
  echo "Para arreglarlo: scripts/comprobar-formato.sh --arreglar" >&2
  exit 1
fi
echo "Formato: ${#archivos[@]} archivos C++ conformes a .clang-format."
