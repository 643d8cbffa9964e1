#include <iostream>

#include "cli/comandos.h"

namespace durlavex::cli {

int Exportar(const std::vector<std::string>&)
{
    std::cerr << "La orden exportar aún no está disponible.\n";
    return 2;
}

} // namespace durlavex::cli
