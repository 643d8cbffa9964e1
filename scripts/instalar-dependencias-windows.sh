#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows build needs on top of
# instalar-dependencias.sh: the mingw-w64 cross compilers (posix thread model),
# Wine with its 32-bit half (i386 architecture), and the deb-src entries plus
# the tools that fetch and build Debian's sources of Qt and libxml2
# (scripts/dependencias-windows.sh), NSIS for the installer, ImageMagick for
# the screenshots of the desktop tests, and the es_ES.UTF-8 locale the Wine tests
# run in (Wine takes its code pages from it: ANSI 1252, OEM 850). Run as
# root, or as a user who may use sudo. Does nothing when all are there.
set -euo pipefail

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

paquetes=(
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth
  nsis                         # makensis: Durlavex-<version>-setup.exe
  imagemagick                  # import, convert: screenshots of the desktop tests
  fp-utils                     # chmcmd: VORNA.chm, which the installer carries
  dpkg-dev                     # apt-get source unpacks with dpkg-source
  locales                      # localedef, for es_ES.UTF-8
  cmake ninja-build perl python3 pkg-config
  qt6-base-dev-tools           # moc, rcc, uic of the same Qt version, for the cross build
)

actualizar=false
# wine32 is an i386 package.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Añadiendo la arquitectura i386 (para wine32)"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  actualizar=true
fi

# Source entries for the suites of the binary ones, so that apt-get source
# finds qt6-base and libxml2.
fuentes=/etc/apt/sources.list.d/durlavex-fuentes.sources
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
  tmp=$(mktemp)
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    # deb822: the same stanzas, as deb-src.
    sed -n '/^Types:/{s/^Types:.*/Types: deb-src/};p' /etc/apt/sources.list.d/debian.sources >"$tmp"
  else
    # One-line format: each "deb" line once more as "deb-src".
    { grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
      sed 's/^deb /deb-src /' >"${tmp}"
    fuentes=/etc/apt/sources.list.d/durlavex-fuentes.list
  fi
  if [ ! -s "$tmp" ]; then
    echo "No encuentro las entradas de apt de Debian para añadir sus fuentes (deb-src)." >&2
    exit 1
  fi
  echo "Añadiendo las fuentes de Debian (deb-src): $fuentes"
  "${sudo_cmd[@]}" install -m 644 "$tmp" "$fuentes"
  rm -f "$tmp"
  actualizar=true
fi

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ] || $actualizar; then
  "${sudo_cmd[@]}" apt-get update -qq
fi
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

# The Spanish locale Wine reads its code pages from.
if ! locale -a 2>/dev/null | grep -qix 'es_ES\.utf-\?8'; then
  echo "Generando la configuración regional es_ES.UTF-8"
  "${sudo_cmd[@]}" localedef -i es_ES -c -f UTF-8 es_ES.UTF-8
fi
