#!/bin/sh
# Builds Durlavex-VERSION-setup.exe with NSIS (cmake/windows/instalador.nsi):
# the programs stripped of their symbols, the files beside them, and the
# README with the sample school for the documentation folder.
#
#   instalador.sh MAKENSIS STRIP BIN SOLUC.DBF RAIZ VERSION TEMPORAL SALIDA.exe
set -eu
makensis=$1 strip=$2 bin=$3 soluc=$4 raiz=$5 version=$6 temporal=$7 salida=$8

rm -rf "$temporal"
mkdir -p "$temporal/programa" "$temporal/doc/ejemplo"
for programa in durlavex.exe durlavex-cli.exe; do
  "$strip" -o "$temporal/programa/$programa" "$bin/$programa"
done
for archivo in NIVELCAN.DBF NIVELES.TXT VORNA.chm; do
  if [ ! -f "$bin/$archivo" ]; then
    echo "Falta $bin/$archivo, que el instalador lleva junto al programa" >&2
    exit 1
  fi
  cp "$bin/$archivo" "$temporal/programa/"
done
cp "$raiz/README.md" "$temporal/doc/"
cp "$raiz/data/ejemplo/vorna_ejemplo.xml" "$soluc" "$temporal/doc/ejemplo/"

"$makensis" -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DPROGRAMA="$temporal/programa" \
  -DDOC="$temporal/doc" -DSALIDA="$salida" "$raiz/cmake/windows/instalador.nsi"
