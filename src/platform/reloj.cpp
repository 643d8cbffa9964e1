#include "platform/reloj.h"

#include "platform/fecha.h"

namespace durlavex {

std::string Reloj::FechaHora() const
{
    return durlavex::FechaHora(Ahora());
}

const Reloj& RelojDelSistema()
{
    static const Reloj sistema;
    return sistema;
}

} // namespace durlavex
