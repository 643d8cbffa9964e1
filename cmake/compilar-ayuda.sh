#!/bin/sh
# Builds VORNA.chm from the help project with chmcmd.
#
#   compilar-ayuda.sh CHMCMD CARPETA_AYUDA CARPETA_TEMPORAL SALIDA.chm
#
# chmcmd 3.2.2 records the absolute path of every page it maps to a context
# number ([ALIAS]/[MAP]), so a file built in /home/x/build/ayuda would send
# "help context 3" to /home/x/build/ayuda/ventana_principal.html, a page that
# exists only on the build machine. Run inside a tiny chroot whose root is the
# project, the recorded path becomes /ventana_principal.html, which viewers
# find in the file wherever it is installed. The chroot needs root, or an
# unprivileged user namespace (unshare -r); without either the file is still
# built, with a warning, and its context help works only on this machine.
set -eu
chmcmd=$1 ayuda=$2 temporal=$3 salida=$4

raiz=$temporal/raiz
rm -rf "$temporal"
mkdir -p "$raiz"
cp "$ayuda"/* "$raiz/"

# The compiler and the libraries it loads, at their own paths inside the root.
programa=$(readlink -f "$(command -v "$chmcmd")")
cp "$programa" "$raiz/chmcmd"
# The Free Pascal runtime also opens libpthread and libdl by name at start-up,
# which ldd does not list; they lie beside libc.
bibliotecas=$(ldd "$programa" | grep -o '/[^ ]*')
libc=$(echo "$bibliotecas" | grep '/libc\.so' | head -n 1)
for extra in libpthread.so.0 libdl.so.2; do
  if [ -e "$(dirname "$libc")/$extra" ]; then
    bibliotecas="$bibliotecas $(dirname "$libc")/$extra"
  fi
done
for biblioteca in $bibliotecas; do
  mkdir -p "$raiz$(dirname "$biblioteca")"
  cp -L "$biblioteca" "$raiz$biblioteca"
done

chroot=$(command -v chroot || echo /usr/sbin/chroot)
if [ "$(id -u)" -eq 0 ] && "$chroot" "$raiz" /chmcmd VORNA.hhp >"$temporal/chmcmd.log" 2>&1; then
  :
elif unshare -r "$chroot" "$raiz" /chmcmd VORNA.hhp >"$temporal/chmcmd.log" 2>&1; then
  :
else
  echo "AVISO: no se puede compilar la ayuda en un chroot (hace falta ser root o poder usar" >&2
  echo "'unshare -r'). VORNA.chm se compila igualmente, pero la ayuda por contexto (F1)" >&2
  echo "sólo funcionará en este equipo." >&2
  (cd "$raiz" && "$programa" VORNA.hhp) >"$temporal/chmcmd.log" 2>&1
fi
if [ ! -s "$raiz/VORNA.chm" ]; then
  cat "$temporal/chmcmd.log" >&2
  echo "chmcmd no ha escrito VORNA.chm" >&2
  exit 1
fi
cp "$raiz/VORNA.chm" "$salida"
