#!/usr/bin/env bash
# Installs what is needed, builds, and runs Durlavex: the desktop program when
# there is a display, otherwise the command line on the bundled sample data.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/scripts/instalar-dependencias.sh"
"$raiz/scripts/compilar.sh"
build=${DURLAVEX_BUILD_DIR:-$raiz/build}
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/src/app/durlavex" ]; then
  exec "$build/src/app/durlavex"
fi
exec "$build/src/cli/durlavex-cli" --help
