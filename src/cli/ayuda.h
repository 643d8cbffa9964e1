#pragma once
// What every command of durlavex-cli answers alike: --help and --version,
// the exit statuses, and how a usage error is told.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace durlavex::cli {

// The exit statuses (comandos.h).
constexpr int kTerminado = 0;
constexpr int kError = 1;
constexpr int kUsoIncorrecto = 2;
constexpr int kDetenido = 3;

enum class Peticion { Trabajo, Ayuda, Version };

// --help / -h or --version among the arguments, before a "--" (after it every
// word is a file name). Asked for anywhere on the line, they win over the
// rest, which is not looked at.
Peticion PeticionDe(const std::vector<std::string>& argumentos);

// Answers --help (with the command's own help) or --version: the exit status
// to return then; nothing when the command should go on with its work.
std::optional<int> AtenderAyudaOVersion(const std::vector<std::string>& argumentos, void (*ayuda)());

// The arguments of a command that takes no options: the file names, in order
// ("--" ends the options; after it any word is a name). An option is a usage
// error, told as ErrorDeUso tells it, and then there is nothing.
std::optional<std::vector<std::string>> SoloNombres(const std::vector<std::string>& argumentos,
                                                    std::string_view uso, std::string_view orden);

// "durlavex-cli (Durlavex) 1.0".
void ImprimirVersion(std::ostream& salida);

// The exit statuses and when each happens, for the help texts.
extern const char* const kEstadosSalida;

// Where the programs look for things on this machine, for the help texts.
std::string LugaresDelSistema();

// A usage error: the reason, the command's usage lines, and where to read
// more; on standard error. Returns kUsoIncorrecto.
int ErrorDeUso(std::string_view motivo, std::string_view uso, std::string_view orden);

} // namespace durlavex::cli
