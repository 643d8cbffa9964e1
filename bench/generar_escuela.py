#!/usr/bin/env python3
"""Made-up schools of any size for the benchmark.

  generar_escuela.py intercambio ESCALA SALIDA.xml
      writes an exchange file (ISO-8859-1) of a school ESCALA times the size
      of a large secondary school: 300 teachers, 400 subject records, 20
      courses, 60 groups, 40 rooms per unit of scale. The two school-day
      templates, their time slots and the activities stay the same at every
      scale: a school grows in people and rooms, not in hours of the day.

  generar_escuela.py soluc KTEMP
      writes KTEMP/SOLUC.DBF, the timetable Talvorin would hand back: about
      20 lessons per teacher of the PROFT.DBF an export wrote, each on a
      subject and group pair of its ASIGT.DBF, in a room of its AULAT.DBF.
      One lesson in twenty is left unplaced (DIA 0).

Everything is deterministic: the same scale gives the same files.
"""

import os
import random
import struct
import sys
from xml.sax.saxutils import escape

NOMBRES = ["Ana", "Alberto", "Begoña", "Íñigo", "Lucía", "Jesús", "María José", "Óscar", "Ángela", "Raúl",
           "Nuria", "Sebastián", "Inés", "Joaquín", "Marta", "Adela", "Ramón", "Sofía", "Tomás", "Élia"]
APELLIDOS = ["García", "López", "Gómez", "Pérez", "Núñez", "Ibáñez", "Martín", "Sáez", "Fernández", "Castaño",
             "Álvarez", "Peña", "Ortega", "Lara", "Gil", "Muñoz", "Jiménez", "Rodríguez", "Díaz", "Hernández",
             "Ruiz", "Sánchez", "O'Connor", "Domínguez", "Vázquez"]
DEPARTAMENTOS = ["Lengua Castellana y Literatura", "Matemáticas", "Geografía e Historia", "Biología y Geología",
                 "Inglés", "Educación Física", "Tecnología", "Física y Química", "Música", "Filosofía",
                 "Francés", "Dibujo", "Economía", "Informática", "Latín y Griego", "Orientación"]
# Subjects as (name, long code): one name may recur in several courses (the
# same subject offered again), and long codes recur with other names.
MATERIAS = [("Lengua Castellana y Literatura", "LCL"), ("Matemáticas", "MAT"), ("Geografía e Historia", "GEH"),
            ("Biología y Geología", "BYG"), ("Inglés", "ING"), ("Educación Física", ""),
            ("Tecnología y Digitalización", "TYD"), ("Física y Química", "FYQ"), ("Música", "MUS"),
            ("Filosofía", "FIL"), ("Francés", "FRA"), ("Educación Plástica, Visual y Audiovisual", "EPV"),
            ("Religión", "REL"), ("Atención Educativa", "ATE"), ("Economía", "ECO"), ("Latín", "LAT"),
            ("Griego", "GRI"), ("Dibujo Técnico", "DT"), ("Química", "QUI"), ("Historia de España", "HES"),
            ("Programación", "PROGRAMACION"), ("Sistemas Informáticos", "SIN"), ("Tutoría", "TUT"),
            ("Cultura Clásica", "CCL"), ("Digitalización", "DIG")]
CURSOS = [("310101", "1º ESO"), ("310102", "2º ESO"), ("310103", "3º ESO"), ("310104", "4º ESO"),
          ("310203", "3º ESO Diversificación"), ("320101", "1º Bachillerato"), ("320102", "2º Bachillerato"),
          ("320201", "1º Bach. Humanidades"), ("320202", "2º Bach. Humanidades"), ("320301", "1º Bach. Artes"),
          ("320302", "2º Bach. Artes"), ("330101", "1º FP Básica"), ("330102", "2º FP Básica"),
          ("340101", "1º SMR"), ("340102", "2º SMR"), ("340201", "1º Gestión Administrativa"),
          ("340202", "2º Gestión Administrativa"), ("350101", "1º DAW"), ("350102", "2º DAW"),
          ("350201", "1º Administración y Finanzas")]
# The groups' names start with a short form of their course's name.
CORTOS = ["1º ESO", "2º ESO", "3º ESO", "4º ESO", "3º DIV", "1º BCT", "2º BCT", "1º BHC", "2º BHC", "1º BA",
          "2º BA", "1º FPB", "2º FPB", "1º SMR", "2º SMR", "1º GA", "2º GA", "1º DAW", "2º DAW", "1º AF"]
ACTIVIDADES = [("513", "Docencia directa"), ("520", "Guardia"), ("530", "Tutoría con alumnos"),
               ("541", "Reunión de departamento"), ("550", "Atención a familias"), ("560", "Biblioteca")]
JORNADAS = [("J1", "Jornada ordinaria", "15/09/2025", "19/06/2026"),
            ("J2", "Jornada reducida de junio", "01/06/2026", "19/06/2026")]
TRAMOS = [("T1", "1ª hora", 480, 535, "J1"), ("T2", "2ª hora", 535, 590, "J1"), ("T3", "3ª hora", 590, 645, "J1"),
          ("R1", "Recreo", 645, 675, "J1"), ("T4", "4ª hora", 675, 730, "J1"), ("T5", "5ª hora", 730, 785, "J1"),
          ("T6", "6ª hora", 785, 840, "J1"), ("K1", "1ª hora (junio)", 540, 585, "J2"),
          ("K2", "2ª hora (junio)", 585, 630, "J2"), ("K3", "3ª hora (junio)", 630, 675, "J2"),
          ("K4", "4ª hora (junio)", 690, 735, "J2")]

CURSOS_POR_ESCALA = 20
GRUPOS_POR_CURSO = 3
MATERIAS_POR_CURSO = 20
PROFESORES_POR_ESCALA = 300
AULAS_POR_ESCALA = 40
LECCIONES_POR_PROFESOR = 20


class Escritor:
    """Buffered writer of the exchange file's records."""

    def __init__(self, archivo):
        self.archivo = archivo
        self.trozos = []

    def linea(self, texto):
        self.trozos.append(texto + "\n")
        if len(self.trozos) >= 4096:
            self.vaciar()

    def vaciar(self):
        self.archivo.write("".join(self.trozos))
        self.trozos = []

    def registro(self, datos):
        self.linea("<grupo_datos>" + "".join(
            '<dato nombre_dato="%s">%s</dato>' % (nombre, escape(str(valor))) for nombre, valor in datos)
            + "</grupo_datos>")

    def grupo(self, seq, registros):
        self.linea('<grupo_datos seq="%s" registros="%d">' % (seq, len(registros)))
        for datos in registros:
            self.registro(datos)
        self.linea("</grupo_datos>")


def cursos(escala):
    """Course keys and names: the first ones from NIVELCAN, the rest made up."""
    todos = []
    for i in range(CURSOS_POR_ESCALA * escala):
        clave, nombre = CURSOS[i % len(CURSOS)]
        vuelta = i // len(CURSOS)
        if vuelta:
            clave = str(400000 + i)
            nombre = "%s s%d" % (nombre, vuelta)
        todos.append((clave, nombre))
    return todos


def intercambio(escala, salida):
    azar = random.Random(escala)
    lista_cursos = cursos(escala)
    with open(salida, "w", encoding="iso-8859-1", newline="\n") as archivo:
        e = Escritor(archivo)
        e.linea('<?xml version="1.0" encoding="ISO-8859-1"?>')
        e.linea("<!-- Instituto inventado para medir Durlavex, escala %d. -->" % escala)
        e.linea('<SERVICIO modulo="HORARIOS" tipo="E" autor="VORNA" fecha="02/09/2025 10:15:00">')
        e.linea("<BLOQUE_DATOS>")
        e.linea('<grupo_datos seq="ANNO_ACADEMICO"><dato nombre_dato="C_ANNO">2025</dato></grupo_datos>')

        materias = []
        for c, (clave, _) in enumerate(lista_cursos):
            for m in range(MATERIAS_POR_CURSO):
                nombre, cod = MATERIAS[(c * 7 + m) % len(MATERIAS)]
                if m % 5 == 4:  # a subject of this course alone: same long code, new name
                    nombre = "%s %s" % (nombre, ["I", "II", "III", "Aplicada", "Avanzada"][c % 5])
                materias.append([("X_OFERTAMATRIG", clave), ("X_MATERIAOMG", 100000 + len(materias)),
                                 ("D_MATERIAC", nombre), ("C_MATERIAC", cod),
                                 ("N_MINUTOS", azar.choice([60, 120, 180, 240]))])
        e.grupo("MATERIAS", materias)
        e.grupo("ACTIVIDADES", [[("N_ORDEN", i + 1), ("X_ACTIVIDAD", c), ("D_ACTIVIDAD", n)]
                                for i, (c, n) in enumerate(ACTIVIDADES)])

        empleados = []
        for i in range(PROFESORES_POR_ESCALA * escala):
            abrev = ""
            if i % 5 == 0:
                abrev = "P%d" % i
            empleados.append([("X_EMPLEADO", 40000 + i),
                              ("F_TOMAPOS", "01/09/%d" % (2000 + azar.randrange(25))),
                              ("D_DEPARTAMENTO", azar.choice(DEPARTAMENTOS)),
                              ("APELLIDO1", azar.choice(APELLIDOS)), ("APELLIDO2", azar.choice(APELLIDOS)),
                              ("NOMBRE", azar.choice(NOMBRES)), ("C_ABREV", abrev)])
        e.grupo("EMPLEADOS", empleados)

        dependencias = []
        for i in range(AULAS_POR_ESCALA * escala):
            if i % 10 == 9:
                dependencias.append([("X_DEPENDENCIA", ""), ("D_DEPENDENCIA", "Lab %d de Física y Química" % i)])
            else:
                dependencias.append([("X_DEPENDENCIA", "A%d" % i), ("D_DEPENDENCIA", "Aula %d.%d" % (i // 10, i % 10))])
        e.grupo("DEPENDENCIAS", dependencias)

        e.grupo("CURSOS_DEL_CENTRO", [[("X_OFERTAMATRIG", clave), ("D_OFERTAMATRIG", nombre)]
                                      for clave, nombre in lista_cursos])
        unidades = []
        for c, (clave, _) in enumerate(lista_cursos):
            corto = CORTOS[c % len(CORTOS)]
            if c >= len(CORTOS):
                corto += "-%d" % (c // len(CORTOS))
            for letra in "ABC"[:GRUPOS_POR_CURSO]:
                unidades.append([("X_UNIDAD", 5000 + len(unidades)), ("T_NOMBRE", "%s %s" % (corto, letra)),
                                 ("X_OFERTAMATRIG", clave)])
        e.grupo("UNIDADES", unidades)

        e.grupo("JORNADAS_ESCOLARES", [[("X_JORNADA", c), ("D_JORNADA", d), ("F_INICIO", i), ("F_FIN", f)]
                                       for c, d, i, f in JORNADAS])
        e.grupo("TRAMOS_HORARIOS", [[("X_TRAMO", c), ("T_HORCEN", t), ("N_INICIO", a), ("N_FIN", b),
                                     ("X_JORNADA", j)] for c, t, a, b, j in TRAMOS])
        e.linea("</BLOQUE_DATOS>")
        e.linea("</SERVICIO>")
        e.vaciar()


def leer_dbf(ruta, campos):
    """The given fields of every row of a dBase table (III, IV or level 7), as text."""
    with open(ruta, "rb") as f:
        datos = f.read()
    filas, cabecera, largo = struct.unpack_from("<IHH", datos, 4)
    nivel7 = (datos[0] & 0x07) == 4
    pos, ancho_descriptor = (68, 48) if nivel7 else (32, 32)
    desplazamientos = {}
    desde = 1
    while datos[pos] != 0x0D:
        nombre = datos[pos:pos + (32 if nivel7 else 11)].split(b"\0")[0].decode("ascii")
        ancho = datos[pos + (33 if nivel7 else 16)]
        desplazamientos[nombre.upper()] = (desde, ancho)
        desde += ancho
        pos += ancho_descriptor
    resultado = []
    for i in range(filas):
        r = cabecera + i * largo
        if datos[r:r + 1] == b"*":
            continue
        resultado.append({c: datos[r + desplazamientos[c][0]:r + desplazamientos[c][0] + desplazamientos[c][1]]
                          .decode("cp1252").strip() for c in campos})
    return resultado


def buscar(carpeta, nombre):
    for entrada in os.listdir(carpeta):
        if entrada.upper() == nombre.upper():
            return os.path.join(carpeta, entrada)
    raise SystemExit("falta %s en %s" % (nombre, carpeta))


def escribir_dbase3(ruta, campos, filas):
    """SOLUC.DBF as Talvorin writes it: dBase III, N fields right-aligned."""
    largo = 1 + sum(a for _, _, a in campos)
    partes = [struct.pack("<BBBBIHH20x", 0x03, 125, 9, 2, len(filas), 32 + 32 * len(campos) + 1, largo)]
    for nombre, tipo, ancho in campos:
        partes.append(struct.pack("<11sc4xB15x", nombre.encode("ascii"), tipo.encode("ascii"), ancho))
    partes.append(b"\x0D")
    for fila in filas:
        registro = [b" "]
        for (_, tipo, ancho), valor in zip(campos, fila):
            v = valor.encode("cp1252")[:ancho]
            registro.append(v.rjust(ancho) if tipo == "N" else v.ljust(ancho))
        partes.append(b"".join(registro))
    partes.append(b"\x1A")
    with open(ruta, "wb") as f:
        f.write(b"".join(partes))


def soluc(ktemp):
    profesores = leer_dbf(buscar(ktemp, "PROFT.DBF"), ["ABREV"])
    asignaciones = leer_dbf(buscar(ktemp, "ASIGT.DBF"), ["CASIG", "CGRUP"])
    aulas = [a["ABREV"] for a in leer_dbf(buscar(ktemp, "AULAT.DBF"), ["ABREV"])]
    if not profesores or not asignaciones:
        raise SystemExit("PROFT o ASIGT vacías: ¿se hizo la exportación?")
    azar = random.Random(len(profesores))
    filas = []
    for p, profesor in enumerate(profesores):
        # Each teacher teaches a run of subject and group pairs, in distinct
        # day and hour slots (5 days of 6 hours).
        huecos = azar.sample([(d, h) for d in range(1, 6) for h in range(1, 7)], LECCIONES_POR_PROFESOR)
        inicio = azar.randrange(len(asignaciones))
        for n, (dia, hora) in enumerate(huecos):
            a = asignaciones[(inicio + n // 4) % len(asignaciones)]
            tarea = "520" if n == 19 else ""
            aula = "" if n % 7 == 3 or not aulas else azar.choice(aulas)
            if n == 18:
                dia = 0
            filas.append([profesor["ABREV"], str(dia), str(hora), a["CASIG"], a["CGRUP"], tarea, aula])
    escribir_dbase3(os.path.join(ktemp, "SOLUC.DBF"),
                    [("PROF", "C", 10), ("DIA", "N", 1), ("HORA", "N", 2), ("ASIG", "C", 10),
                     ("CODGRUPO", "C", 10), ("TAREA", "C", 10), ("AULA", "C", 10)], filas)
    return len(filas)


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "intercambio":
        intercambio(int(sys.argv[2]), sys.argv[3])
    elif len(sys.argv) == 3 and sys.argv[1] == "soluc":
        print(soluc(sys.argv[2]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
