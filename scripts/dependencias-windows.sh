#!/usr/bin/env bash
# Prepares what the Windows build links against, from Debian's source packages
# only (apt-get source): a static Qt (Core, Gui, Widgets, Test, the windows
# platform plugin and the Windows styles) and a static libxml2, both
# cross-built with mingw-w64 (cmake/windows/mingw-w64-i686.cmake) into one
# prefix. Collation uses Windows' own (CompareStringEx), so there is no ICU.
#
# The prefix lies in a cache outside the clone,
#   ${DURLAVEX_CACHE_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/durlavex/windows}/<key>
# where the key names the versions of the sources and of the compiler and a
# digest of this recipe; it is rebuilt only when one of them changes. It is
# built beside its final name and renamed into place at the end, under a lock,
# so a half-built prefix is never taken for a complete one.
#
# Prints the prefix's path on standard output (everything else goes to
# standard error, the builds' own output to a log in the cache). With --ruta
# it only prints the path, built or not.
set -euo pipefail
solo_ruta=false
[ "${1:-}" = --ruta ] && solo_ruta=true
raiz=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$raiz/cmake/windows/mingw-w64-i686.cmake
base=${DURLAVEX_CACHE_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/durlavex/windows}
hilos=$(nproc)

aviso() { echo "$@" >&2; }

# The highest version of a source package the deb-src entries offer.
version_fuente() {
  apt-cache showsrc --only-source "$1" 2>/dev/null | awk '/^Version:/ {print $2}' |
    sort -V | tail -n 1
}
version_instalada() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }
# 6.4.2+dfsg-10 -> 6.4.2
upstream() { local v=${1#*:}; v=${v%-*}; echo "${v%%+*}"; }

v_qt=$(version_fuente qt6-base)
v_xml=$(version_fuente libxml2)
v_gcc=$(version_instalada g++-mingw-w64-i686-posix)
v_herr=$(version_instalada qt6-base-dev-tools)
if [ -z "$v_qt" ] || [ -z "$v_xml" ]; then
  aviso "No encuentro las fuentes de qt6-base o libxml2: ¿faltan las entradas deb-src? (scripts/instalar-dependencias-windows.sh)"
  exit 1
fi
if [ -z "$v_gcc" ] || [ -z "$v_herr" ]; then
  aviso "Faltan g++-mingw-w64-i686-posix o qt6-base-dev-tools (scripts/instalar-dependencias-windows.sh)"
  exit 1
fi
# The cross build runs the build machine's moc, rcc and uic: same Qt version.
if [ "$(upstream "$v_qt")" != "$(upstream "$v_herr")" ]; then
  aviso "Las fuentes de qt6-base ($v_qt) no son de la versión de qt6-base-dev-tools ($v_herr)"
  exit 1
fi

# What is built, and how: a change here (or in the toolchain file) makes a
# new key, so a new prefix. Bump version_receta for a change to the steps.
version_receta=1
opciones_libxml2=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  # Without iconv (mingw has none): libxml2's own UTF-8, UTF-16, ISO-8859-x;
  # the Windows code pages are registered by src/platform/xml through Win32.
  -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_LZMA=OFF
  -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_HTTP=OFF
  -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF
  -DLIBXML2_WITH_THREADS=ON -DLIBXML2_WITH_ISO8859X=ON
)
# Core, Gui, Widgets, Test, the windows platform plugin and the Windows
# styles; the rest of qtbase off. The dfsg tarball lacks wintab.
opciones_qt=(
  -release -static -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests
  -no-opengl -no-icu -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz
  -no-feature-tabletevent -no-feature-sql -no-feature-network -no-feature-dbus
  -no-feature-printsupport -no-feature-concurrent -no-feature-xml
)
receta=$({ echo "$version_receta ${opciones_libxml2[*]} ${opciones_qt[*]}"; cat "$toolchain"; } |
  sha256sum | cut -c1-10)
clave=$(echo "qt6-base_${v_qt}_libxml2_${v_xml}_mingw_${v_gcc}_${receta}" | tr ':~+' '_._')
destino=$base/$clave

if $solo_ruta || [ -f "$destino/.completo" ]; then
  echo "$destino"
  exit 0
fi

mkdir -p "$base"
exec 9>"$base/$clave.lock"
if ! flock -n 9; then
  aviso "Otra ejecución prepara las dependencias de Windows en $base; espero a que termine…"
  flock 9
fi
if [ -f "$destino/.completo" ]; then
  echo "$destino"
  exit 0
fi

parcial=$base/$clave.parcial
obra=$base/$clave.obra
rm -rf "$parcial" "$obra" "$destino"
mkdir -p "$parcial" "$obra"
registro=$base/$clave.log
: >"$registro"
aviso "Preparando las dependencias de Windows (Qt $v_qt, libxml2 $v_xml) en $destino"
aviso "(salida completa en $registro)"

# Processor seconds (user + system) of the finished child processes so far:
# on a machine shared with other work the wall time of a stage says little,
# its processor time divided by the cores is what it takes on an idle one.
# (times must run in this shell, not in a $(...) subshell, whose children
# are not these.)
cpu_hijos() { # variable to set
  times >"$registro.times"
  printf -v "$1" '%s' "$(tail -n 1 "$registro.times" |
    awk '{ t = 0; for (i = 1; i <= 2; i++) { split($i, p, /[ms]/); t += p[1] * 60 + p[2] } printf "%d", t }')"
}
tiempos=()
etapa() {
  local nombre=$1; shift
  local inicio=$SECONDS cpu_inicio cpu_fin
  cpu_hijos cpu_inicio
  aviso "  · $nombre…"
  if ! "$@" >>"$registro" 2>&1; then
    aviso "Falló: $nombre. Final de $registro:"
    tail -n 40 "$registro" >&2
    exit 1
  fi
  cpu_hijos cpu_fin
  local s=$((SECONDS - inicio)) cpu=$((cpu_fin - cpu_inicio))
  tiempos+=("$nombre: ${s} s (procesador: ${cpu} s en $hilos núcleos)")
  aviso "    ${s} s (procesador: ${cpu} s)"
}

# The toolchain file goes into the prefix: Qt's own toolchain file there
# loads it, so builds against the prefix need nothing from the clone.
install -D -m 644 "$toolchain" "$parcial/lib/cmake/mingw-w64-i686.cmake"
toolchain_fijo=$parcial/lib/cmake/mingw-w64-i686.cmake
# Qt records the path of the toolchain it was built with; that path must be
# the final one.
toolchain_final=$destino/lib/cmake/mingw-w64-i686.cmake

descargar() {
  cd "$obra"
  # apt-get source unpacks with dpkg-source and applies Debian's patches.
  apt-get source -qq "qt6-base=$v_qt" "libxml2=$v_xml"
}
etapa "descargar y desempaquetar las fuentes de Debian" descargar
fuente_qt=$(find "$obra" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
fuente_xml=$(find "$obra" -maxdepth 1 -type d -name 'libxml2-*' | head -n 1)

compilar_libxml2() {
  cmake -S "$fuente_xml" -B "$obra/libxml2-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain_fijo" -DCMAKE_INSTALL_PREFIX="$parcial" "${opciones_libxml2[@]}"
  cmake --build "$obra/libxml2-build" --parallel "$hilos"
  cmake --install "$obra/libxml2-build"
}
etapa "compilar libxml2 $v_xml" compilar_libxml2

configurar_qt() {
  mkdir -p "$obra/qt-build"
  cd "$obra/qt-build"
  "$fuente_qt/configure" -prefix "$destino" -extprefix "$parcial" "${opciones_qt[@]}" \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain_final" \
    -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -dumpmachine)/cmake"
}
# Qt's configure loads the toolchain from its final path: lay it there for
# the time of the build (the prefix itself takes its place at the end).
mkdir -p "$(dirname "$toolchain_final")"
cp "$toolchain" "$toolchain_final"
etapa "configurar Qt $v_qt" configurar_qt
etapa "compilar Qt (Core, Gui, Widgets, Test, plataforma windows)" \
  cmake --build "$obra/qt-build" --parallel "$hilos"
etapa "instalar Qt" cmake --install "$obra/qt-build"

rm -rf "$destino"
{
  echo "qt6-base $v_qt"; echo "libxml2 $v_xml"; echo "g++-mingw-w64-i686-posix $v_gcc"
  printf '%s\n' "${tiempos[@]}"
} >"$parcial/versiones.txt"
rm -f "$registro.times"
touch "$parcial/.completo"
mv -T "$parcial" "$destino"
rm -rf "$obra"
aviso "Dependencias de Windows listas: $destino"
printf '%s\n' "${tiempos[@]}" | sed 's/^/  /' >&2
echo "$destino"
