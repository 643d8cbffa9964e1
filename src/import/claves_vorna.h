#pragma once
// The keys Vorna knows, from the exchange file it exported: what the lessons
// of a result file may name.
//
// Every key is a datum's text trimmed at both ends and kept in UTF-8, as
// Vorna wrote it, and compared exactly, with case: a result file gives its
// keys back in Unicode, and what the code page could not hold (a "?" in the
// tables for a letter it lacks) must show as a difference, not vanish in it.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "exchange/lectura.h"

namespace durlavex {

// Hashing texts so that a set of strings is asked with a string_view.
struct HashClave {
    using is_transparent = void;
    std::size_t operator()(std::string_view texto) const { return std::hash<std::string_view>{}(texto); }
};

using ClavesTexto = std::unordered_set<std::string, HashClave, std::equal_to<>>;

struct ClavesVorna {
    ClavesTexto unidades;     // X_UNIDAD of UNIDADES
    ClavesTexto cursos;       // X_OFERTAMATRIG of CURSOS_DEL_CENTRO
    ClavesTexto tramos;       // X_TRAMO of TRAMOS_HORARIOS (every template's)
    ClavesTexto dependencias; // X_DEPENDENCIA of DEPENDENCIAS
    ClavesTexto actividades;  // X_ACTIVIDAD of ACTIVIDADES
    // X_MATERIAOMG of MATERIAS by the X_OFERTAMATRIG of the same record: a
    // subject is known within a course.
    std::unordered_map<std::string, ClavesTexto, HashClave, std::equal_to<>> materiasPorCurso;
    // The ordinary teaching activity's code, settled from ACTIVIDADES as the
    // export settles it ("513", else the activity named Docencia); empty
    // when there is none.
    std::string tareaDocencia;
    // "APELLIDO1 APELLIDO2, NOMBRE" of EMPLEADOS by X_EMPLEADO, as PROFT
    // names teachers; only when asked for.
    std::unordered_map<std::string, std::string> nombresEmpleados;

    // None of the six groups has a key: nothing can be checked against them
    // (the file is not the one Vorna exported, or a result file).
    bool Vacias() const;
    bool MateriaDelCurso(std::string_view curso, std::string_view materia) const;
};

// Reads the keys through the role table (each datum found by its
// nombre_dato, by its position in files without names). Selects groups on
// `lectura`, so it must run while the exchange document is still whole.
ClavesVorna LeerClavesVorna(LecturaIntercambio& lectura, bool conNombresEmpleados = false);

} // namespace durlavex
