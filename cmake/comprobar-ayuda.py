#!/usr/bin/env python3
"""Checks that a built VORNA.chm opens help context 1 and 3 on their pages.

    comprobar-ayuda.py VORNA.chm

Context numbers are kept in the file's #IVB (pairs of a context number and an
offset into #STRINGS) and #STRINGS (the page paths). A path that names the
build folder would work only on the build machine, so each context must name
its page at the root of the file, and the page must be there.
Exit status: 0 good, 1 wrong, 77 cannot check here (no help file or no
extract_chmLib).
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

CONTEXTOS = {3: "/ventana_principal.html", 1: "/control_profesores.html"}


def main():
    chm = sys.argv[1]
    if not os.path.exists(chm):
        print("No hay %s: chmcmd no está instalado (paquete fp-utils); no se comprueba la ayuda." % chm)
        return 77
    extractor = shutil.which("extract_chmLib")
    if not extractor:
        print("Falta extract_chmLib (paquete libchm-bin); no se comprueba la ayuda.")
        return 77
    with tempfile.TemporaryDirectory() as carpeta:
        subprocess.run([extractor, chm, carpeta], check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(carpeta, "#IVB"), "rb") as f:
            ivb = f.read()
        with open(os.path.join(carpeta, "#STRINGS"), "rb") as f:
            cadenas = f.read()
        (largo,) = struct.unpack_from("<I", ivb, 0)
        mapa = {}
        for posicion in range(4, 4 + largo, 8):
            contexto, desplazamiento = struct.unpack_from("<II", ivb, posicion)
            fin = cadenas.index(b"\0", desplazamiento)
            mapa[contexto] = cadenas[desplazamiento:fin].decode("latin-1")
        errores = []
        for contexto, pagina in sorted(CONTEXTOS.items()):
            encontrada = mapa.get(contexto)
            if encontrada != pagina:
                errores.append("el contexto %d lleva a %r y debería llevar a %r" % (contexto, encontrada, pagina))
            elif not os.path.isfile(os.path.join(carpeta, pagina.lstrip("/"))):
                errores.append("el contexto %d lleva a %s, que no está en el archivo" % (contexto, pagina))
    for error in errores:
        print("%s: %s" % (chm, error))
    if not errores:
        print("%s: contextos %s correctos" % (chm, ", ".join("%d -> %s" % c for c in sorted(mapa.items()))))
    return 1 if errores else 0


if __name__ == "__main__":
    sys.exit(main())
