#pragma once
// The hour-template dialog (TPlantillas): the person picks the school-day
// template the timetable is built on when the exchange file holds several.

#include <filesystem>
#include <string>

class QWidget;

namespace durlavex {

// Creates the dialog owned by `propietario` (the form variable Plantillas),
// shows it modally over the exchange file `archivoXml`, and frees it.
// Returns PlantillaElegida: the combo box's text trimmed at both ends, as
// single-byte text.
std::string ElegirPlantillaConDialogo(QWidget* propietario, const std::filesystem::path& archivoXml);

} // namespace durlavex
