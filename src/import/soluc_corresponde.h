#pragma once
// Whether Talvorin's SOLUC.DBF was made on the tables the export wrote.
//
// A SOLUC of another school, or of an earlier export whose codes have
// changed, names teachers, subjects and groups the tables do not know: an
// import of it would write a result file of empty timetables and call it done.
// So a SOLUC with rows must have at least one row of a teacher of PROFT, and
// at least one row whose subject and group are a pair of ASIGT or whose
// subject is an activity of ASIGNOMT (a task, or a row with an activity code).

#include <optional>
#include <string>

#include "tables/tablas_principales.h"

namespace durlavex {

// The message for the person when SOLUC does not fit (UTF-8); nothing when it
// fits or has no rows. Reads SOLUC, PROFT, ASIGT and ASIGNOMT through the
// run's open handles, from their first rows.
std::optional<std::string> SolucNoCorresponde(TablasPrincipales& tablas);

} // namespace durlavex
