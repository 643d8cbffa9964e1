#!/usr/bin/env bash
# The core's tests, the command line's end-to-end tests and the fuzzers'
# seeds once more in a build with AddressSanitizer and UndefinedBehaviorSanitizer
# (no desktop program; warnings are the ordinary build's business, since the
# sanitizers make GCC warn falsely): a read past a buffer, a leak or an undefined
# operation fails the run even where the result looked right.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/scripts/instalar-dependencias.sh"
build=${DURLAVEX_SANITIZE_BUILD_DIR:-$raiz/build-sanitizadores}
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDURLAVEX_SANITIZE=ON \
   -DDURLAVEX_GUI=OFF -DDURLAVEX_WERROR=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure --timeout 900 -j "$(nproc)" -E '^recorrido_cli$'
