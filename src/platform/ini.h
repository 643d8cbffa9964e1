#pragma once
// Writing one key of a Windows ini file ("Talvorin.ini") the way
// WritePrivateProfileString does: only that key's line changes, every other
// byte of the file stays as it was, and the file is created when missing.

#include <filesystem>
#include <string_view>

namespace durlavex {

// Sets `clave` = `valor` in section `seccion` of `archivo`. Throws Error with
// "Unable to write to <full path of the file>" when the file cannot be written.
void EscribirCadenaIni(const std::filesystem::path& archivo, std::string_view seccion, std::string_view clave,
                       std::string_view valor);

} // namespace durlavex
