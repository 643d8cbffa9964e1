#!/usr/bin/env bash
# Installs the Debian 12 packages Durlavex needs to build, test and run.
# Run as root, or as a user who may use sudo. Does nothing when all are there.
set -euo pipefail

paquetes=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libxml2-dev libicu-dev
  qt6-translations-l10n             # Qt's own texts (file dialog, buttons) in Spanish
  fonts-liberation2                 # Liberation Sans, drawn to Arial's metrics, for the windows' fonts
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev          # libFuzzer targets
  clang-format clang-tidy           # the format check of CI; .clang-tidy's checks
  libxml2-utils                     # xmllint, the bare-parse floor of the benchmarks
  fp-compiler fp-units-db fp-units-fcl fp-utils  # an independent dBase reader (TDbf) for tests; chmcmd for the help file
  xvfb xauth x11-utils xdotool imagemagick
  tmux                              # the walk-through test of the command line
  python3
  libchm-bin xchm                   # checking the built help file; the CHM viewer the program opens
)

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Instalando los paquetes que faltan: ${faltan[*]}"
# apt's own output only when something goes wrong.
registro=$(mktemp "${TMPDIR:-/tmp}/durlavex-apt.XXXXXX")
trap 'rm -f "$registro"' EXIT
if ! { "${sudo_cmd[@]}" apt-get update -qq &&
       DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
     } >"$registro" 2>&1; then
  cat "$registro" >&2
  echo "No se han podido instalar los paquetes (arriba, lo que dijo apt-get)." >&2
  exit 1
fi
