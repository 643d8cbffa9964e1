#include "tables/tarea_docencia.h"

#include "platform/cotejo.h"
#include "platform/texto.h"

namespace durlavex {

bool EsNombreDocencia(std::string_view nombre)
{
    return TextosIguales(Recortar(nombre), "Docencia", Caso::Ignora);
}

void TareaDocencia::Ver(std::string_view codigo, std::string_view nombre)
{
    if (codigo == kTarea513)
        hay513_ = true;
    if (!hayDocencia_ && EsNombreDocencia(nombre)) {
        hayDocencia_ = true;
        docencia_ = std::string(codigo);
    }
}

std::string TareaDocencia::Codigo() const
{
    return hay513_ ? kTarea513 : docencia_;
}

} // namespace durlavex
