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

# Fuzz smoke: each fuzzer runs briefly (DURLAVEX_FUZZ_SMOKE_SECONDS, 20 s by
# default) over a copy of its seeds, in a build of its own made with clang.
# Without clang this part is skipped with a message.
if ! command -v clang++ >/dev/null 2>&1; then
  echo "Sin clang++: se omite la prueba breve de los fuzzers." >&2
  exit 0
fi
fuzz=${DURLAVEX_FUZZ_BUILD_DIR:-$raiz/build-fuzz}
cmake -S "$raiz" -B "$fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DDURLAVEX_FUZZ=ON \
  -DDURLAVEX_GUI=OFF -DDURLAVEX_TESTS=OFF >/dev/null
cmake --build "$fuzz" --parallel "$(nproc)"
cd "$fuzz"
ctest --output-on-failure -R smoke
