// durlavex-cli importar ARCHIVO.xml: Talvorin's timetable into a result file
// for Vorna, beside the exchange file.

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "cli/comandos.h"
#include "cli/interaccion_consola.h"
#include "import/importacion.h"
#include "import/profesores_completos.h"
#include "platform/error.h"
#include "platform/rutas.h"

namespace durlavex::cli {

namespace {

// At a console there is no dialog to complete teacher data in, so the
// teachers that lack it are listed for the user to fix in Talvorin or through
// the desktop program; the run then stops with its message.
class InteraccionImportacion : public InteraccionConsola {
public:
    InteraccionImportacion() : InteraccionConsola(std::cout, std::cerr) {}

    void CompletarProfesores(const std::filesystem::path& directorioTrabajo) override
    {
        std::cerr << "Profesores de PROFT.DBF sin X_EMPLEADO o sin F_TOMAPOS"
                     " (la línea de órdenes no permite completarlos):\n";
        for (const auto& profesor : ProfesoresIncompletos(directorioTrabajo))
            std::cerr << "  " << profesor.ABREV << "  " << profesor.NOMBRE << "\n";
    }
};

} // namespace

int Importar(const std::vector<std::string>& argumentos)
{
    if (argumentos.size() != 1) {
        std::cerr << "Uso: durlavex-cli importar ARCHIVO.xml\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::path archivo = std::filesystem::absolute(RutaDeTexto(argumentos[0]), ec);
    if (ec)
        archivo = RutaDeTexto(argumentos[0]);

    InteraccionImportacion interaccion;
    const ResultadoImportacion resultado = EjecutarImportacion(archivo, DirectorioTrabajo(), interaccion);
    switch (resultado.desenlace) {
    case Desenlace::Finalizado:
        std::cout << "Archivo de resultado: " << TextoRuta(resultado.archivoResultado) << "\n"
                  << "Profesores escritos: " << resultado.profesores << "\n"
                  << "Actividades escritas: " << resultado.actividades << "\n"
                  << "Proceso finalizado\n";
        return 0;
    case Desenlace::Detenido:
        return 3;
    case Desenlace::Error:
        break;
    }
    std::cerr << TextoCajaError(resultado.mensaje) << "\n";
    return 1;
}

} // namespace durlavex::cli
