#include <iostream>

#include "cli/comandos.h"

namespace durlavex::cli {

int Importar(const std::vector<std::string>&)
{
    std::cerr << "La orden importar aún no está disponible.\n";
    return 2;
}

} // namespace durlavex::cli
