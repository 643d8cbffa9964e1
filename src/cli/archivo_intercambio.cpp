#include "cli/archivo_intercambio.h"

#include <iostream>
#include <system_error>

#include "platform/rutas.h"

namespace durlavex::cli {

std::filesystem::path RutaIntercambio(const std::string& argumento)
{
    std::error_code ec;
    const std::filesystem::path dado = RutaDeTexto(argumento);
    std::filesystem::path archivo = std::filesystem::absolute(dado, ec);
    return ec ? dado : archivo;
}

bool ExisteIntercambio(const std::filesystem::path& archivo)
{
    if (ExisteArchivo(archivo))
        return true;
    std::error_code ec;
    std::cerr << "No existe archivo «" << TextoRuta(archivo) << "»"
              << (std::filesystem::is_directory(archivo, ec) ? ": es una carpeta" : "") << "\n";
    return false;
}

} // namespace durlavex::cli
