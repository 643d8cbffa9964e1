#!/usr/bin/env python3
"""Times durlavex-cli on made-up schools against the bare cost of the XML.

  bench/medir.py [--build DIR] [--escalas 1 10 100] [--repeticiones 3]

Builds the program in Release (DIR, by default build-banco beside the
sources), then for each scale writes a school (bench/generar_escuela.py) and
measures, each the median wall time and the largest peak resident memory of
the repetitions (program and floor taken in turns):

  exportar   durlavex-cli exportar ESCUELA.xml --plantilla J1 into an empty
             working directory of a temporary WINEPREFIX;
  parse      xmllint --noout ESCUELA.xml: libxml2 reading the same file into a
             tree and nothing else, the least any export must do;
  importar   durlavex-cli importar ESCUELA.xml with a SOLUC.DBF of about 20
             lessons per teacher written from the exported tables;
  resave     xmllint --output /dev/null on the result file the import wrote:
             libxml2 holding a tree of the result's size and serialising it,
             the least any import must do to write that document (it parses
             rather than builds the tree, which costs about the same).

Prints a table of the figures and ratios and the growth in time from each
scale to the next. Nothing here is part of the test suite: it takes minutes.
"""

import argparse
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GENERADOR = os.path.join(RAIZ, "bench", "generar_escuela.py")


def ejecutar(orden, entorno=None):
    """Wall seconds and peak resident memory (KB) of one run of a program."""
    inicio = time.monotonic()
    with open(os.devnull, "wb") as nulo:
        proceso = subprocess.Popen(orden, env=entorno, stdout=nulo, stderr=subprocess.PIPE)
        _, estado, uso = os.wait4(proceso.pid, 0)
    segundos = time.monotonic() - inicio
    errores = proceso.stderr.read().decode("utf-8", "replace")
    proceso.stderr.close()
    proceso.returncode = os.waitstatus_to_exitcode(estado)
    if proceso.returncode != 0:
        sys.exit("falló %s (%d):\n%s" % (" ".join(orden), proceso.returncode, errores))
    return segundos, uso.ru_maxrss


def medir_pares(suelo, programa, repeticiones, preparar=None, entorno=None):
    """The floor and the program taken in turns, so that a busy moment of
    the machine weighs on both alike: (median seconds, peak KB) of each."""
    medidas = {"suelo": ([], 0), "programa": ([], 0)}
    for _ in range(repeticiones):
        for clave, orden, env in (("suelo", suelo, None), ("programa", programa, entorno)):
            if clave == "programa" and preparar:
                preparar()
            segundos, kb = ejecutar(orden, env)
            tiempos, memoria = medidas[clave]
            tiempos.append(segundos)
            medidas[clave] = (tiempos, max(memoria, kb))
    return tuple((statistics.median(t), m) for t, m in (medidas["suelo"], medidas["programa"]))


def compilar(build):
    subprocess.run(["cmake", "-S", RAIZ, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DDURLAVEX_GUI=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", "durlavex-cli", "-j2"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(build, "bin", "durlavex-cli")


def maquina():
    modelo = platform.processor() or "?"
    try:
        with open("/proc/cpuinfo") as f:
            for linea in f:
                if linea.startswith("model name"):
                    modelo = linea.split(":", 1)[1].strip()
                    break
        with open("/proc/meminfo") as f:
            memoria = int(f.readline().split()[1]) // (1024 * 1024)
    except OSError:
        memoria = 0
    return "%d núcleos, %s, %d GB de RAM" % (os.cpu_count(), modelo, memoria)


def una_escala(cli, escala, repeticiones, temporal):
    carpeta = os.path.join(temporal, "escala%d" % escala)
    origen = os.path.join(carpeta, "origen")
    prefijo = os.path.join(carpeta, "wine")
    ktemp = os.path.join(prefijo, "drive_c", "KTEMP")
    os.makedirs(origen)
    xml = os.path.join(origen, "escuela.xml")
    subprocess.run([sys.executable, GENERADOR, "intercambio", str(escala), xml], check=True)
    entorno = dict(os.environ, WINEPREFIX=prefijo, XDG_DATA_HOME=os.path.join(carpeta, "datos"))

    def directorio_vacio():
        shutil.rmtree(ktemp, ignore_errors=True)
        shutil.rmtree(entorno["XDG_DATA_HOME"], ignore_errors=True)
        os.makedirs(ktemp)

    r = {"tamaño": os.path.getsize(xml)}
    r["parse"], r["exportar"] = medir_pares(["xmllint", "--noout", xml], [cli, "exportar", xml, "--plantilla", "J1"],
                                            repeticiones, directorio_vacio, entorno)
    lecciones = subprocess.run([sys.executable, GENERADOR, "soluc", ktemp], check=True, capture_output=True,
                               text=True).stdout.strip()
    r["lecciones"] = int(lecciones)
    # A first import writes the result file the floor re-saves.
    ejecutar([cli, "importar", xml], entorno)
    resultado = os.path.join(origen, "ResultadoTalvosescuela.xml")
    r["tamaño resultado"] = os.path.getsize(resultado)
    r["resave"], r["importar"] = medir_pares(["xmllint", "--output", os.devnull, resultado],
                                             [cli, "importar", xml], repeticiones, entorno=entorno)
    shutil.rmtree(carpeta)
    return r


def main():
    argumentos = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    argumentos.add_argument("--build", default=os.path.join(RAIZ, "build-banco"))
    argumentos.add_argument("--escalas", type=int, nargs="+", default=[1, 10, 100])
    argumentos.add_argument("--repeticiones", type=int, default=3)
    a = argumentos.parse_args()

    cli = compilar(a.build)
    print("Máquina: %s" % maquina())
    print("Orden: bench/medir.py %s" % " ".join(sys.argv[1:]), flush=True)
    print()
    filas = {}
    with tempfile.TemporaryDirectory(prefix="durlavex-banco-") as temporal:
        for escala in a.escalas:
            filas[escala] = una_escala(cli, escala, a.repeticiones, temporal)
            print("escala %d medida" % escala, file=sys.stderr)

    mb = lambda kb: kb / 1024
    print("| Escala | XML | Exportar | Memoria | xmllint --noout | Memoria | Tiempo × | Memoria × |"
          " Filas SOLUC | Resultado | Importar | Memoria | xmllint --output | Memoria | Tiempo × | Memoria × |")
    print("|---:" * 16 + "|")
    for escala, r in filas.items():
        (te, me), (tp, mp) = r["exportar"], r["parse"]
        (ti, mi), (tr, mr) = r["importar"], r["resave"]
        print("| %d | %.1f MB | %.2f s | %.0f MB | %.2f s | %.0f MB | %.2f | %.2f | %d | %.0f MB |"
              " %.2f s | %.0f MB | %.2f s | %.0f MB | %.2f | %.2f |"
              % (escala, r["tamaño"] / 1e6, te, mb(me), tp, mb(mp), te / tp, me / mp, r["lecciones"],
                 r["tamaño resultado"] / 1e6, ti, mb(mi), tr, mb(mr), ti / tr, mi / mr))
    escalas = list(filas)
    print()
    for menor, mayor in zip(escalas, escalas[1:]):
        f = lambda clave: filas[mayor][clave][0] / filas[menor][clave][0]
        print("Crecimiento del tiempo de la escala %d a la %d: exportar %.1f×, importar %.1f×"
              " (xmllint: %.1f× y %.1f×)" % (menor, mayor, f("exportar"), f("importar"), f("parse"), f("resave")))


if __name__ == "__main__":
    main()
