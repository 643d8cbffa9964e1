// durlavex-cli: the batch front end of Durlavex.

#include <iostream>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "cli/consola.h"

namespace {

constexpr const char* kUso =
    "Uso:\n"
    "  durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]\n"
    "      Reconstruye las tablas de Talvorin a partir del archivo de Vorna.\n"
    "  durlavex-cli importar ARCHIVO.xml\n"
    "      Escribe el horario de Talvorin en ResultadoTalvosARCHIVO.xml.\n"
    "  durlavex-cli volcar TABLA.DBF\n"
    "      Muestra el formato, los campos y las filas de una tabla dBase.\n";

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args = durlavex::cli::PrepararConsola(argc, argv);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "ayuda") {
        std::cout << kUso;
        return args.empty() ? 2 : 0;
    }
    const std::string orden = args[0];
    args.erase(args.begin());
    if (orden == "exportar")
        return durlavex::cli::Exportar(args);
    if (orden == "importar")
        return durlavex::cli::Importar(args);
    if (orden == "volcar")
        return durlavex::cli::Volcar(args);
    std::cerr << "Orden desconocida: " << orden << "\n" << kUso;
    return 2;
}
