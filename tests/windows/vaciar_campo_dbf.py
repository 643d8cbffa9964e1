#!/usr/bin/env python3
"""Blanks one field of one row of a dBase table, in place.

    vaciar_campo_dbf.py TABLA.DBF CAMPO FILA

FILA counts from 1. Reads dBase III/IV descriptors (32 bytes each, from byte
32) and level 7 ones (48 bytes, from byte 68). Used to make a teacher
incomplete, so that an import shows the teacher dialog.
"""

import struct
import sys


def main():
    ruta, campo, fila = sys.argv[1], sys.argv[2].upper(), int(sys.argv[3])
    with open(ruta, "r+b") as f:
        datos = bytearray(f.read())
        filas, cabecera, largo = struct.unpack_from("<IHH", datos, 4)
        nivel7 = datos[0] & 0x07 == 4
        inicio, tamano, nombre_largo, tipo_en = (68, 48, 32, 32) if nivel7 else (32, 32, 11, 11)
        desplazamiento = 1
        i = inicio
        while datos[i] != 0x0D:
            nombre = bytes(datos[i:i + nombre_largo]).split(b"\0")[0].decode("ascii")
            ancho = datos[i + tipo_en + 1]
            if nombre.upper() == campo:
                if not 1 <= fila <= filas:
                    sys.exit(f"{ruta} tiene {filas} filas, no {fila}")
                k = cabecera + (fila - 1) * largo + desplazamiento
                datos[k:k + ancho] = b" " * ancho
                f.seek(0)
                f.write(datos)
                return
            desplazamiento += ancho
            i += tamano
    sys.exit(f"{ruta} no tiene el campo {campo}")


if __name__ == "__main__":
    main()
