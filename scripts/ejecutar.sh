#!/usr/bin/env bash
# Installs what is needed, builds, and runs Durlavex: the desktop program when
# there is a display, otherwise the command line on the bundled sample data.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/scripts/instalar-dependencias.sh"
"$raiz/scripts/compilar.sh"
build=${DURLAVEX_BUILD_DIR:-$raiz/build}
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/bin/durlavex" ]; then
  exec "$build/bin/durlavex"
fi
exec "$build/bin/durlavex-cli" --help
