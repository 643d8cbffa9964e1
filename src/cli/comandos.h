#pragma once
// The commands of durlavex-cli. Each returns the process exit status:
// 0 finished, 1 an error ended the run, 2 usage error, 3 stopped at an
// expected situation (comprobar: keys Vorna will not recognise).

#include <string>
#include <vector>

namespace durlavex::cli {

int Exportar(const std::vector<std::string>& argumentos);
int Importar(const std::vector<std::string>& argumentos);
int Volcar(const std::vector<std::string>& argumentos);
int Comprobar(const std::vector<std::string>& argumentos);

} // namespace durlavex::cli
