#!/usr/bin/env python3
"""Made-up schools of any size for the benchmark.

  generar_escuela.py intercambio ESCALA SALIDA.xml
      writes an exchange file (ISO-8859-1) of a school ESCALA times the size
      of a large secondary school: 300 teachers, 400 subject records, 20
      courses, 60 groups, 40 rooms per unit of scale. The two school-day
      templates, their time slots and the activities stay the same at every
      scale: a school grows in people and rooms, not in hours of the day.
      The file has the shape of Vorna's own: tab-indented, every datum named
      (in the order Vorna gives them), records with a seq of their own, data
      groups with their number of records, numeric keys, subjects with their
      minutes a week and no long code, a "Docencia" activity and no 513,
      course names that tell their level.

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
# Subject names: one name may recur in several courses (the same subject
# offered again), and names that share their first ten characters get
# numbered short codes.
MATERIAS = ["Lengua Castellana y Literatura", "Matemáticas", "Geografía e Historia", "Biología y Geología", "Inglés",
            "Educación Física", "Tecnología y Digitalización", "Física y Química", "Música", "Filosofía", "Francés",
            "Educación Plástica, Visual y Audiovisual", "Religión", "Atención Educativa", "Economía", "Latín",
            "Griego", "Dibujo Técnico", "Química", "Historia de España", "Programación", "Sistemas Informáticos",
            "Tutoría", "Cultura Clásica", "Digitalización"]
# Courses as their names come in real files; the keys of every other one of
# the first twenty are in NIVELCAN.DBF, the rest take their level from their
# name (NIVELES.TXT).
CURSOS = [("310101", "1º de E.S.O. (LOMLOE)"), ("310102", "2º de E.S.O. (LOMLOE)"),
          ("310103", "3º de E.S.O. (LOMLOE)"), ("310104", "4º de E.S.O. (LOMLOE)"),
          ("310203", "2º Programa de Diversificación Curricular (LOMLOE)"),
          ("320101", "1º de Bachillerato (Ciencias y Tecnología) LOMLOE"),
          ("320102", "2º de Bachillerato (Ciencias y Tecnología) LOMLOE"),
          ("320201", "1º de Bachillerato (Humanidades y Ciencias Sociales) LOMLOE"),
          ("320202", "2º de Bachillerato (Humanidades y Ciencias Sociales) LOMLOE"),
          ("320301", "1º de Bachillerato (Artes) LOMLOE"), ("320302", "2º de Bachillerato (Artes) LOMLOE"),
          ("330101", "1º de G.B. (Informática y Comunicaciones)"),
          ("330102", "2º de F.P.B. (Informática y Comunicaciones)"),
          ("340101", "1º de C.F.G.M. (Sistemas Microinformáticos y Redes) (Pres.)"),
          ("340102", "2º de C.F.G.M. (Sistemas Microinformáticos y Redes) (Pres.)"),
          ("340201", "1º de C.F.G.M. (Gestión Administrativa) (Pres.)"),
          ("340202", "2º de C.F.G.M. (Gestión Administrativa) (Pres.)"),
          ("350101", "1º de C.F.G.S. (Desarrollo de Aplicaciones Web) (Pres.)"),
          ("350102", "2º de C.F.G.S. (Desarrollo de Aplicaciones Web) (Pres.)"),
          ("350201", "Capacitación Digital")]
# The groups' names start with a short form of their course's name.
CORTOS = ["1º ESO", "2º ESO", "3º ESO", "4º ESO", "2º PDC", "1º BCT", "2º BCT", "1º BHC", "2º BHC", "1º BA",
          "2º BA", "1º GB", "2º FPB", "1º SMR", "2º SMR", "1º GA", "2º GA", "1º DAW", "2º DAW", "CD"]
# L_REGULAR, X_ACTIVIDAD, D_ACTIVIDAD, L_REQUNIDAD, L_REQMATERIA
ACTIVIDADES = [("S", "1", "Docencia", "S", "S"), ("S", "2", "Guardia", "N", "N"),
               ("S", "3", "Tutoría con alumnos", "S", "N"), ("S", "4", "Reunión de departamento", "N", "N"),
               ("S", "5", "Atención a familias", "N", "N"), ("N", "6", "Biblioteca", "N", "N")]
JORNADAS = [("J1", "Jornada ordinaria", "15/09/2025", "19/06/2026"),
            ("J2", "Jornada reducida de junio", "01/06/2026", "19/06/2026")]
TRAMOS = [("837710", "1ª hora", 480, 535, "J1"), ("837711", "2ª hora", 535, 590, "J1"),
          ("837712", "3ª hora", 590, 645, "J1"), ("837713", "Recreo", 645, 675, "J1"),
          ("837714", "4ª hora", 675, 730, "J1"), ("837715", "5ª hora", 730, 785, "J1"),
          ("837716", "6ª hora", 785, 840, "J1"), ("837720", "1ª hora (junio)", 540, 585, "J2"),
          ("837721", "2ª hora (junio)", 585, 630, "J2"), ("837722", "3ª hora (junio)", 630, 675, "J2"),
          ("837723", "4ª hora (junio)", 690, 735, "J2")]

CURSOS_POR_ESCALA = 20
GRUPOS_POR_CURSO = 3
MATERIAS_POR_CURSO = 20
PROFESORES_POR_ESCALA = 300
AULAS_POR_ESCALA = 40
LECCIONES_POR_PROFESOR = 20


class Escritor:
    """Buffered writer of the exchange file, tab-indented as Vorna writes it."""

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

    def datos(self, nombres, valores, sangria):
        for nombre, valor in zip(nombres, valores):
            self.linea('%s<dato nombre_dato="%s">%s</dato>' % (sangria, nombre, escape(str(valor))))

    def grupo(self, seq, prefijo, nombres, registros):
        """A data group; each record gets its own seq, PREFIJO_1, PREFIJO_2..."""
        self.linea('\t\t<grupo_datos seq="%s" registros="%d">' % (seq, len(registros)))
        for n, valores in enumerate(registros, 1):
            self.linea('\t\t\t<grupo_datos seq="%s_%d">' % (prefijo, n))
            self.datos(nombres, valores, "\t\t\t\t")
            self.linea("\t\t\t</grupo_datos>")
        self.linea("\t\t</grupo_datos>")


def cursos(escala):
    """Course keys and names: every other one of the first twenty with a key
    NIVELCAN.DBF holds, the rest with numeric keys it does not."""
    todos = []
    for i in range(CURSOS_POR_ESCALA * escala):
        clave, nombre = CURSOS[i % len(CURSOS)]
        if i >= len(CURSOS):
            clave = str(400000 + i)
        elif i % 2:
            clave = str(212300 + i)
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
        e.linea("\t<BLOQUE_DATOS>")
        e.linea('\t\t<grupo_datos seq="ANNO_ACADEMICO">')
        e.datos(["C_ANNO", "F_INIHORREG", "F_FINHORREG"], ["2025", "15/09/2025", "19/06/2026"], "\t\t\t")
        e.linea("\t\t</grupo_datos>")

        e.grupo("CURSOS_DEL_CENTRO", "CURSO", ["X_OFERTAMATRIG", "D_OFERTAMATRIG"], lista_cursos)

        materias = []
        for c, (clave, _) in enumerate(lista_cursos):
            for m in range(MATERIAS_POR_CURSO):
                nombre = MATERIAS[(c * 7 + m) % len(MATERIAS)]
                if m % 5 == 4:  # a subject of this course alone: a new name, often sharing its first ten characters
                    nombre = "%s %s" % (nombre, ["I", "II", "III", "Aplicada", "Avanzada"][c % 5])
                materias.append((clave, nombre, 317000 + len(materias), azar.choice([60, 120, 180, 240])))
        e.grupo("MATERIAS", "MATERIA", ["X_OFERTAMATRIG", "D_MATERIAC", "X_MATERIAOMG", "N_HORAS"], materias)
        e.grupo("ACTIVIDADES", "ACTIVIDAD",
                ["L_REGULAR", "X_ACTIVIDAD", "D_ACTIVIDAD", "L_REQUNIDAD", "L_REQMATERIA"], ACTIVIDADES)

        dependencias = []
        for i in range(AULAS_POR_ESCALA * escala):
            if i % 10 == 9:
                dependencias.append(("", "Lab %d de Física y Química" % i))
            else:
                dependencias.append((9300 + i, "Aula %d.%d" % (i // 10, i % 10)))
        e.grupo("DEPENDENCIAS", "DEPENDENCIA", ["X_DEPENDENCIA", "D_DEPENDENCIA"], dependencias)

        e.grupo("JORNADAS_ESCOLARES", "JORNADA", ["X_PLAJORESCCEN", "C_NOMBRE", "F_INIHORREG", "F_FINHORREG"],
                JORNADAS)
        e.grupo("TRAMOS_HORARIOS", "TRAMO", ["X_TRAMO", "T_HORCEN", "N_INICIO", "N_FIN", "X_PLAJORESCCEN"], TRAMOS)

        unidades = []
        for c, (clave, _) in enumerate(lista_cursos):
            corto = CORTOS[c % len(CORTOS)]
            if c >= len(CORTOS):
                corto += "-%d" % (c // len(CORTOS))
            for letra in "ABC"[:GRUPOS_POR_CURSO]:
                unidades.append((27300000 + len(unidades), "%s %s" % (corto, letra), clave))
        e.grupo("UNIDADES", "UNIDAD", ["X_UNIDAD", "T_NOMBRE", "X_OFERTAMATRIG"], unidades)

        # No abbreviation: teachers' codes come from their initials alone.
        empleados = []
        for i in range(PROFESORES_POR_ESCALA * escala):
            empleados.append((600000 + i, "01/09/%d" % (2000 + azar.randrange(25)),
                              "%s (P.E.S.)" % azar.choice(DEPARTAMENTOS), azar.choice(APELLIDOS),
                              azar.choice(APELLIDOS), azar.choice(NOMBRES)))
        e.grupo("EMPLEADOS", "PROFESOR", ["X_EMPLEADO", "F_TOMAPOS", "D_PUESTO", "APELLIDO1", "APELLIDO2", "NOMBRE"],
                empleados)
        e.linea("\t</BLOQUE_DATOS>")
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
            tarea = "2" if n == 19 else ""  # a duty (Guardia)
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
