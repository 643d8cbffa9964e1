#include "cli/interaccion_consola.h"

namespace durlavex::cli {

std::string InteraccionConsola::ElegirPlantilla(const std::filesystem::path&)
{
    return plantilla_;
}

void InteraccionConsola::CompletarProfesores(const std::filesystem::path&) {}

void InteraccionConsola::Mensaje(std::string_view texto)
{
    mensajes_ << texto << std::endl;
}

void InteraccionConsola::Ocupado(bool) {}

void InteraccionConsola::Paso(std::string_view descripcion)
{
    pasos_ << descripcion << std::endl;
}

} // namespace durlavex::cli
