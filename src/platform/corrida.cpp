#include "platform/corrida.h"

#include "platform/rutas.h"

namespace durlavex {

std::filesystem::path OpcionesCorrida::DirectorioTrabajoEfectivo() const
{
    return directorioTrabajo.empty() ? DirectorioTrabajo() : directorioTrabajo;
}

std::filesystem::path OpcionesCorrida::CarpetaProgramaEfectiva() const
{
    return carpetaPrograma.empty() ? CarpetaPrograma() : carpetaPrograma;
}

} // namespace durlavex
