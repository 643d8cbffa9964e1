#pragma once
// Running one of the programs from a test: exit status and both outputs.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace durlavex::pruebas {

struct Salida {
    int estado = -1; // exit status; -1 when the program did not exit normally
    std::string salida;
    std::string errores;
};

inline std::string LeerArchivo(const std::filesystem::path& ruta)
{
    std::ifstream entrada(ruta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
}

// Runs `programa argumentos` through the shell with the environment variables
// given set in front of it; both outputs go through files in `carpeta`.
// Arguments are passed as written: quote paths with '…'.
inline Salida EjecutarPrograma(const std::filesystem::path& programa,
                               const std::vector<std::pair<std::string, std::string>>& entorno,
                               const std::string& argumentos, const std::filesystem::path& carpeta)
{
    std::string orden;
    for (const auto& [nombre, valor] : entorno)
        orden += nombre + "='" + valor + "' ";
    orden += "'" + programa.string() + "' " + argumentos + " >'" + (carpeta / "salida.txt").string() +
             "' 2>'" + (carpeta / "errores.txt").string() + "'";
    const int estado = std::system(orden.c_str());
    Salida s;
    s.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    s.salida = LeerArchivo(carpeta / "salida.txt");
    s.errores = LeerArchivo(carpeta / "errores.txt");
    return s;
}

} // namespace durlavex::pruebas
