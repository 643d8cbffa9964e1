#pragma once
// The school-day templates of an exchange file as the command line lists
// them when it cannot choose one: code, name and the two dates.

#include <string>
#include <vector>

namespace durlavex {
class LecturaIntercambio;
}

namespace durlavex::cli {

struct PlantillaArchivo {
    std::string codigo, nombre, desde, hasta; // single-byte text, trimmed
};

// One entry per code, in the order the codes first appear; a code given by
// several records shows the last of them, as the hour-template dialog does.
std::vector<PlantillaArchivo> PlantillasDelArchivo(LecturaIntercambio& lectura);

// The list for the console, one template a line, in UTF-8.
std::string TextoPlantillas(const std::vector<PlantillaArchivo>& plantillas);

} // namespace durlavex::cli
