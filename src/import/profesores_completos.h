#pragma once
// Vorna takes a teacher's timetable only for a teacher it knows under the
// same X_EMPLEADO and F_TOMAPOS: the check an import makes on PROFT.DBF
// before it writes anything.

#include <filesystem>
#include <string>
#include <vector>

namespace durlavex {

// True when every row of PROFT.DBF in the working directory has X_EMPLEADO and
// F_TOMAPOS, each non-blank (an empty table included). Opens the table afresh
// for shared access and stops at the first incomplete row.
bool ProfesoresCompletos(const std::filesystem::path& directorioTrabajo);

struct ProfesorIncompleto {
    std::string ABREV;  // UTF-8
    std::string NOMBRE; // UTF-8
};

// The teachers that lack one of the two values, in table order (what the
// command line lists, having no dialog to complete them in).
std::vector<ProfesorIncompleto> ProfesoresIncompletos(const std::filesystem::path& directorioTrabajo);

} // namespace durlavex
