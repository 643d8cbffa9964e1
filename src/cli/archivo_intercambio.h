#pragma once
// The exchange file named on the command line of exportar and importar.

#include <filesystem>
#include <string>

namespace durlavex::cli {

// The argument as an absolute path (as given when that cannot be made).
std::filesystem::path RutaIntercambio(const std::string& argumento);

// False, with the desktop program's message and the path on standard error,
// when there is no file there (a folder is no file either).
bool ExisteIntercambio(const std::filesystem::path& archivo);

} // namespace durlavex::cli
