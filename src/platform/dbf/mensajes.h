#pragma once
// Pieces of the engine's error texts: names in «» quotes, converted to UTF-8.

#include "platform/texto.h"

#include <string>
#include <string_view>

namespace durlavex::dbf {

// A file or table name that is already UTF-8 (paths, the name given to Decodificar).
inline std::string Entre(std::string_view utf8) { return "«" + std::string(utf8) + "»"; }

// A name stored in a table (single-byte text).
inline std::string EntreAnsi(std::string_view ansi) { return Entre(AnsiAUtf8(ansi)); }

} // namespace durlavex::dbf
