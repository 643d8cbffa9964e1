#pragma once
// Checking a result file written earlier against the exchange file it came
// from, as an import checks the lessons it writes (comprobacion_claves.h).
//
// The result file may hold hundreds of thousands of lessons: it is read once,
// element by element, never whole; Vorna's keys are read once from the
// exchange file into hash sets. A lesson is told by its teacher's X_EMPLEADO
// (with the name EMPLEADOS gives it), its day and hours, and where it stands
// in the file.

#include <filesystem>

#include "import/comprobacion_claves.h"

namespace durlavex {

// Throws Error naming the file when either cannot be read or is not
// well-formed, when the result file has no HORARIOS_REGULARES (it is no
// result file; the exchange file given in its place is told so), or when the
// exchange file is itself a result file.
InformeClaves ComprobarArchivoResultado(const std::filesystem::path& resultado,
                                        const std::filesystem::path& intercambio);

} // namespace durlavex
