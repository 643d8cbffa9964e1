#include "cli/desenlace.h"

#include <iostream>

#include "cli/ayuda.h"
#include "platform/error.h"
#include "platform/rutas.h"

namespace durlavex::cli {

int SalidaDeCorrida(const ResultadoCorrida& resultado, const OpcionesCorrida& opciones,
                    const std::function<int()>& terminado)
{
    switch (resultado.desenlace) {
    case Desenlace::Finalizado:
        return terminado();
    case Desenlace::Detenido:
        if (resultado.detencion == Detencion::SinNivelcan)
            std::cerr << "No está en la carpeta del programa «"
                      << TextoRuta(opciones.CarpetaProgramaEfectiva()) << "».\n";
        if (resultado.detencion == Detencion::SinPeriodos)
            std::cerr << "No está en el directorio de trabajo de Talvorin «"
                      << TextoRuta(opciones.DirectorioTrabajoEfectivo()) << "».\n";
        return kDetenido;
    case Desenlace::Error:
        break;
    }
    std::cerr << TextoCajaError(resultado.mensaje) << "\n";
    return kError;
}

} // namespace durlavex::cli
