// Writes NIVELCAN.DBF, the table of education levels that lies beside the
// programs, from its reviewable text source (nivelcan.tsv).
//
//   generar_nivelcan nivelcan.tsv SALIDA/NIVELCAN.DBF
//
// The table is written under a temporary name and renamed when complete, so
// a failed run never leaves a half-written table behind.

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"
#include "platform/texto.h"

namespace {

namespace fs = std::filesystem;
using durlavex::Error;

std::vector<std::string> Columnas(const std::string& linea)
{
    std::vector<std::string> columnas;
    std::size_t inicio = 0;
    for (;;) {
        const std::size_t fin = linea.find('\t', inicio);
        columnas.push_back(linea.substr(inicio, fin - inicio));
        if (fin == std::string::npos)
            return columnas;
        inicio = fin + 1;
    }
}

// "NAME:N11" or "NAME:C80".
durlavex::dbf::Campo LeerCampo(const std::string& columna, int linea)
{
    const std::size_t dos_puntos = columna.find(':');
    const std::string error = "línea " + std::to_string(linea) + ": el campo «" + columna +
                              "» debe escribirse NOMBRE:N<ancho> o NOMBRE:C<ancho>";
    if (dos_puntos == std::string::npos || dos_puntos + 2 > columna.size())
        throw Error(error);
    durlavex::dbf::Campo campo;
    campo.nombre = columna.substr(0, dos_puntos);
    campo.tipo = columna[dos_puntos + 1];
    const std::string ancho = columna.substr(dos_puntos + 2);
    char* fin = nullptr;
    const long valor = std::strtol(ancho.c_str(), &fin, 10);
    if (campo.nombre.empty() || (campo.tipo != 'N' && campo.tipo != 'C') || ancho.empty() || *fin != '\0' ||
        valor < 1 || valor > 254)
        throw Error(error);
    campo.ancho = static_cast<std::uint16_t>(valor);
    return campo;
}

struct Fuente {
    std::vector<durlavex::dbf::Campo> campos;
    std::vector<std::vector<std::string>> filas; // ANSI text, checked against the fields
};

Fuente LeerFuente(const fs::path& ruta)
{
    std::ifstream entrada(ruta);
    if (!entrada)
        throw Error("No se puede leer «" + ruta.string() + "»");
    Fuente fuente;
    std::string linea;
    for (int numero = 1; std::getline(entrada, linea); ++numero) {
        if (!linea.empty() && linea.back() == '\r')
            linea.pop_back();
        if (linea.empty() || linea[0] == '#')
            continue;
        const auto columnas = Columnas(linea);
        if (fuente.campos.empty()) {
            for (const auto& columna : columnas)
                fuente.campos.push_back(LeerCampo(columna, numero));
            continue;
        }
        const std::string donde = ruta.filename().string() + ", línea " + std::to_string(numero);
        if (columnas.size() != fuente.campos.size())
            throw Error(donde + ": hay " + std::to_string(columnas.size()) + " columnas y se esperaban " +
                        std::to_string(fuente.campos.size()));
        std::vector<std::string> fila;
        for (std::size_t i = 0; i < columnas.size(); ++i) {
            const auto& campo = fuente.campos[i];
            std::string ansi = durlavex::Utf8AAnsi(columnas[i]).Bytes();
            if (durlavex::AnsiAUtf8(durlavex::VistaAnsi(ansi)) != columnas[i])
                throw Error(donde + ": «" + columnas[i] + "» tiene caracteres que la tabla no puede guardar");
            if (ansi.size() > campo.ancho)
                throw Error(donde + ": «" + columnas[i] + "» no cabe en el campo " + campo.nombre + " (" +
                            std::to_string(campo.ancho) + " caracteres)");
            fila.push_back(std::move(ansi));
        }
        fuente.filas.push_back(std::move(fila));
    }
    if (fuente.campos.empty())
        throw Error("«" + ruta.string() + "» no tiene la línea de campos");
    return fuente;
}

void Escribir(const Fuente& fuente, const fs::path& salida)
{
    const fs::path temporal = salida.parent_path() / ("generando-" + salida.filename().string());
    durlavex::dbf::ArchivoDbf::Crear(temporal, fuente.campos);
    {
        auto tabla = durlavex::dbf::ArchivoDbf::Abrir(temporal, durlavex::dbf::Acceso::Exclusivo);
        for (const auto& fila : fuente.filas) {
            std::string registro = tabla->RegistroVacio();
            for (std::size_t i = 0; i < fila.size(); ++i) {
                if (fuente.campos[i].tipo == 'N') {
                    char* fin = nullptr;
                    errno = 0;
                    const double valor = std::strtod(fila[i].c_str(), &fin);
                    if (fila[i].empty() || *fin != '\0' || errno != 0)
                        throw Error("«" + fila[i] + "» no es un número para el campo " +
                                    fuente.campos[i].nombre);
                    tabla->PonerNumero(registro, i, valor);
                } else {
                    tabla->PonerTexto(registro, i, fila[i]);
                }
            }
            tabla->Agregar(registro);
        }
    }
    fs::rename(temporal, salida);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "Uso: generar_nivelcan FUENTE.tsv SALIDA.DBF\n";
        return 2;
    }
    try {
        const fs::path salida = argv[2];
        fs::create_directories(salida.parent_path());
        Escribir(LeerFuente(argv[1]), salida);
    } catch (const std::exception& e) {
        std::cerr << "generar_nivelcan: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
