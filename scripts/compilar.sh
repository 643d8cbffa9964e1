#!/usr/bin/env bash
# Configures and builds Durlavex into build/ (or $DURLAVEX_BUILD_DIR).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${DURLAVEX_BUILD_DIR:-$raiz/build}
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
