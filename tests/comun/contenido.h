#pragma once
// What a folder or a table holds, read back for assertions.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "comun/programa.h"
#include "platform/texto.h"
#include "tables/tabla.h"

namespace durlavex::pruebas {

// Every file of a folder by name, with its bytes.
inline std::map<std::string, std::string> Instantanea(const std::filesystem::path& carpeta)
{
    std::map<std::string, std::string> archivos;
    for (const auto& entrada : std::filesystem::directory_iterator(carpeta))
        archivos[entrada.path().filename().string()] = LeerArchivo(entrada.path());
    return archivos;
}

// One field of every row of a table, in table order, as UTF-8.
inline std::vector<std::string> Columna(const std::filesystem::path& directorio, const std::string& tabla,
                                        const std::string& campo)
{
    Tabla t(directorio, tabla);
    t.Abrir();
    std::vector<std::string> valores;
    for (t.Primero(); !t.Fin(); t.Siguiente())
        valores.push_back(AnsiAUtf8(t.LeerTexto(campo)));
    return valores;
}

} // namespace durlavex::pruebas
