#pragma once
// The teacher-data completion dialog (TControlProfesores): a grid over
// PROFT.DBF in which the person types the missing X_EMPLEADO and F_TOMAPOS.

#include <filesystem>

class QWidget;

namespace durlavex {

// Creates the dialog owned by `propietario` (the form variable
// ControlProfesores), which opens PROFT.DBF of `directorioTrabajo` for shared
// access; shows it modally; frees it, which closes the table. What was saved
// stays in the table; nothing is handed back.
void CompletarProfesoresConDialogo(QWidget* propietario, const std::filesystem::path& directorioTrabajo);

} // namespace durlavex
