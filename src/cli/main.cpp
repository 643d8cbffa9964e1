// durlavex-cli: the batch front end of Durlavex.

#include <iostream>
#include <string>
#include <vector>

#include "cli/ayuda.h"
#include "cli/comandos.h"
#include "cli/consola.h"
#include "cli/senales.h"

namespace {

using namespace durlavex::cli;

constexpr const char* kUso = "Uso:\n"
                             "  durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]\n"
                             "  durlavex-cli importar ARCHIVO.xml [--estricto]\n"
                             "  durlavex-cli comprobar RESULTADO.xml INTERCAMBIO.xml\n"
                             "  durlavex-cli volcar TABLA.DBF\n"
                             "  durlavex-cli [ORDEN] --help | --version\n";

void ImprimirAyuda()
{
    std::cout << "durlavex-cli: Durlavex sin ventanas. Lleva los datos del horario de un instituto\n"
                 "entre Vorna (archivo de intercambio XML) y Talvorin (tablas dBase en su directorio\n"
                 "de trabajo), con los mismos mensajes que el programa de escritorio.\n\n"
              << kUso
              << "\n"
                 "Órdenes:\n"
                 "  exportar  de Vorna a Talvorin. Lee el archivo de intercambio y NIVELCAN.DBF de la\n"
                 "            carpeta del programa; copia las tablas anteriores a una copia de\n"
                 "            seguridad y escribe de nuevo las tablas de Talvorin en su directorio\n"
                 "            de trabajo.\n"
                 "  importar  de Talvorin a Vorna. Lee el horario SOLUC.DBF y las tablas de la\n"
                 "            exportación del directorio de trabajo, y el archivo de intercambio;\n"
                 "            escribe el archivo de resultado ResultadoTalvosARCHIVO.xml junto al\n"
                 "            archivo de intercambio, y dice qué lecciones no reconocerá Vorna.\n"
                 "  comprobar dice qué lecciones de un archivo de resultado escrito antes no\n"
                 "            reconocerá Vorna, comparándolas con su archivo de intercambio.\n"
                 "  volcar    muestra el formato, los campos y las filas de una tabla dBase.\n\n"
                 "«durlavex-cli ORDEN --help» explica cada orden.\n\n"
              << LugaresDelSistema() << "\n"
              << kEstadosSalida;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args = durlavex::cli::PrepararConsola(argc, argv);
    if (args.empty()) {
        std::cerr << "Falta la orden: exportar, importar, comprobar o volcar.\n" << kUso;
        return kUsoIncorrecto;
    }
    const std::string orden = args[0];
    if (orden == "--help" || orden == "-h" || orden == "ayuda") {
        ImprimirAyuda();
        return kTerminado;
    }
    if (orden == "--version") {
        ImprimirVersion(std::cout);
        return kTerminado;
    }
    args.erase(args.begin());
    if (orden == "exportar" || orden == "importar") {
        AtenderInterrupciones();
        const int estado = orden == "exportar" ? Exportar(args) : Importar(args);
        MarcarFinDeCorrida();
        return estado;
    }
    if (orden == "volcar")
        return Volcar(args);
    if (orden == "comprobar")
        return Comprobar(args);
    std::cerr << "Orden desconocida: " << orden << "\n" << kUso << "Más información: durlavex-cli --help\n";
    return kUsoIncorrecto;
}
