#pragma once
// The console of durlavex-cli. The program's messages are UTF-8 text; on
// Windows a console shows its own code page (GetConsoleOutputCP: the OEM code
// page, 850 in Spain), and the arguments arrive in full only as wide text.

#include <string>
#include <vector>

namespace durlavex::cli {

// Called once at the start of main. On Windows: std::cout and std::cerr from
// then on convert UTF-8 to the console's output code page (the OEM code page
// when there is no console), and the arguments (argv[1] onwards) are read
// from the wide command line and given back as UTF-8. Elsewhere: the
// arguments as they are.
std::vector<std::string> PrepararConsola(int argc, char** argv);

} // namespace durlavex::cli
