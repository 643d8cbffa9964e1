#include "import/profesores_completos.h"

#include "platform/texto.h"
#include "tables/tabla.h"

namespace durlavex {

namespace {

bool FilaCompleta(const Tabla& proft)
{
    return !EsBlanco(proft.LeerTexto("X_EMPLEADO").Bytes()) &&
           !EsBlanco(proft.LeerTexto("F_TOMAPOS").Bytes());
}

} // namespace

bool ProfesoresCompletos(const std::filesystem::path& directorioTrabajo)
{
    Tabla proft(directorioTrabajo, "PROFT", TipoTabla::DBase, false);
    proft.Abrir();
    bool completos = true;
    for (proft.Primero(); completos && !proft.Fin(); proft.Siguiente())
        completos = FilaCompleta(proft);
    proft.Cerrar();
    return completos;
}

std::vector<ProfesorIncompleto> ProfesoresIncompletos(const std::filesystem::path& directorioTrabajo)
{
    Tabla proft(directorioTrabajo, "PROFT", TipoTabla::DBase, false);
    proft.Abrir();
    std::vector<ProfesorIncompleto> incompletos;
    for (proft.Primero(); !proft.Fin(); proft.Siguiente())
        if (!FilaCompleta(proft))
            incompletos.push_back(
                {AnsiAUtf8(proft.LeerTexto("ABREV")), AnsiAUtf8(proft.LeerTexto("NOMBRE"))});
    proft.Cerrar();
    return incompletos;
}

} // namespace durlavex
