#include <iostream>

#include "cli/comandos.h"

namespace durlavex::cli {

int Volcar(const std::vector<std::string>&)
{
    std::cerr << "La orden volcar aún no está disponible.\n";
    return 2;
}

} // namespace durlavex::cli
