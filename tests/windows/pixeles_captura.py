#!/usr/bin/env python3
"""Whether a screenshot shows Durlavex's main window painted over the host.

    pixeles_captura.py CAPTURA.png LUGARES.txt

LUGARES.txt is what the test host wrote: "anfitrion X Y ANCHO ALTO" (its
client area on screen) and "ventana X Y ANCHO ALTO" (the main window). The
host paints its client area magenta, a colour Durlavex never uses. The window
counts as painted when no host pixel shows through it and its left edge shows
the two gradients of the main window: the top panel (from a warm yellow
through white to a pale orange) and the bottom strip (pale blues). The left
edge, because the hour-template dialog may cover the middle.

Prints what it found; exit status 0 painted, 1 not painted, 2 unreadable.
"""

import subprocess
import sys

ANFITRION = (255, 0, 255)


def leer_ppm(ruta_png):
    datos = subprocess.run(["convert", ruta_png, "-depth", "8", "ppm:-"], check=True,
                           capture_output=True).stdout
    # P6 header: magic, width, height, maximum, each followed by whitespace.
    campos = []
    i = 0
    while len(campos) < 4:
        while datos[i:i + 1].isspace():
            i += 1
        inicio = i
        while not datos[i:i + 1].isspace():
            i += 1
        campos.append(datos[inicio:i])
    ancho, alto = int(campos[1]), int(campos[2])
    return ancho, alto, datos[i + 1:]


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        ancho, alto, pixeles = leer_ppm(sys.argv[1])
        lugares = {}
        with open(sys.argv[2], encoding="ascii") as f:
            for linea in f:
                partes = linea.split()
                if len(partes) == 5:
                    lugares[partes[0]] = tuple(int(p) for p in partes[1:])
        vx, vy, vancho, valto = lugares["ventana"]
    except (OSError, KeyError, ValueError, subprocess.CalledProcessError) as e:
        print(f"no se puede leer la captura: {e}")
        return 2

    def pixel(x, y):
        if not (0 <= x < ancho and 0 <= y < alto):
            return None
        k = (y * ancho + x) * 3
        return tuple(pixeles[k:k + 3])

    def proporcion(x0, y0, x1, y1, condicion):
        dentro = [pixel(vx + x, vy + y) for y in range(y0, y1) for x in range(x0, x1)]
        return sum(1 for p in dentro if p is not None and condicion(p)) / max(1, len(dentro))

    del_anfitrion = proporcion(0, 0, vancho, valto, lambda p: p == ANFITRION)
    # Left of the texts and buttons: x 2..20 of the panels.
    panel_superior = proporcion(2, 4, 20, 160, lambda p: p[0] >= 240 and p[1] >= 200 and p[2] >= 110)
    franja_inferior = proporcion(2, valto - 90, 6, valto - 4,
                                 lambda p: 185 <= p[0] <= 215 and p[1] >= 195 and p[2] >= 200)
    print(f"ventana en {vx},{vy} {vancho}x{valto}: color del anfitrion {del_anfitrion:.0%}, "
          f"degradado del panel superior {panel_superior:.0%}, de la franja inferior {franja_inferior:.0%}")
    pintada = del_anfitrion == 0 and panel_superior >= 0.9 and franja_inferior >= 0.9
    print("pintada" if pintada else "no pintada")
    return 0 if pintada else 1


if __name__ == "__main__":
    sys.exit(main())
