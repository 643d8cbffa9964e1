#include "cli/plantillas_archivo.h"

#include <algorithm>

#include "exchange/lectura.h"
#include "platform/comillas.h"
#include "platform/texto.h"

namespace durlavex::cli {
namespace {

// The datums of a template record.
constexpr int kDatoCodigo = 0;
constexpr int kDatoNombre = 1;
constexpr int kDatoDesde = 2;
constexpr int kDatoHasta = 3;

} // namespace

std::vector<PlantillaArchivo> PlantillasDelArchivo(LecturaIntercambio& lectura)
{
    std::vector<PlantillaArchivo> plantillas;
    const int registros = lectura.SeleccionarGrupo("JORNADAS_ESCOLARES");
    for (int i = 0; i < registros; ++i) {
        lectura.AbrirRegistro(i);
        PlantillaArchivo leida{lectura.LeerDato(kDatoCodigo), lectura.LeerDato(kDatoNombre),
                               lectura.LeerDato(kDatoDesde), lectura.LeerDato(kDatoHasta)};
        auto misma = std::find_if(plantillas.begin(), plantillas.end(),
                                  [&](const PlantillaArchivo& p) { return p.codigo == leida.codigo; });
        if (misma == plantillas.end())
            plantillas.push_back(std::move(leida));
        else
            *misma = std::move(leida);
    }
    return plantillas;
}

std::string TextoPlantillas(const std::vector<PlantillaArchivo>& plantillas)
{
    std::string texto;
    for (const PlantillaArchivo& p : plantillas) {
        texto += "  " + EntreAnsi(p.codigo);
        if (!p.nombre.empty())
            texto += "  " + AnsiAUtf8(VistaAnsi(p.nombre));
        if (!p.desde.empty() || !p.hasta.empty())
            texto += "  (del " + (p.desde.empty() ? std::string("?") : AnsiAUtf8(VistaAnsi(p.desde))) +
                     " al " + (p.hasta.empty() ? std::string("?") : AnsiAUtf8(VistaAnsi(p.hasta))) + ")";
        texto += "\n";
    }
    return texto;
}

} // namespace durlavex::cli
