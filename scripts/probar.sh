#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/scripts/instalar-dependencias.sh"
extra=()
[ "${CI:-}" = true ] && extra+=(-DDURLAVEX_WERROR=ON)
"$raiz/scripts/compilar.sh" "${extra[@]}"
build=${DURLAVEX_BUILD_DIR:-$raiz/build}
cd "$build"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
