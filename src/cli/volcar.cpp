// durlavex-cli volcar TABLA.DBF: a table's format, fields and rows as text,
// to look at what a run wrote or what Talvorin left.
//
// Output, one item per line, columns separated by tabs:
//   Formato: dBase nivel 7
//   Campos: 2
//   NOMBRE	C	10	0        (name, kind, width, decimals)
//   Filas: 3                  (deleted rows are counted apart and not shown)
//   value	value              (one line per row, in table order)
// Texts are converted from the table's code page to UTF-8; a tab, line break
// or backslash inside a value is written \t, \n, \r or \\ so that every row
// stays on one line.

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"

namespace durlavex::cli {

namespace {

const char* NombreFormato(dbf::Version version)
{
    switch (version) {
    case dbf::Version::DBase3: return "dBase III";
    case dbf::Version::DBase4: return "dBase IV";
    case dbf::Version::DBase7: return "dBase nivel 7";
    case dbf::Version::FoxPro: return "FoxPro";
    case dbf::Version::VisualFoxPro: return "Visual FoxPro";
    }
    return "dBase";
}

std::string EnUnaLinea(const std::string& utf8)
{
    std::string salida;
    for (char c : utf8) {
        switch (c) {
        case '\t': salida += "\\t"; break;
        case '\n': salida += "\\n"; break;
        case '\r': salida += "\\r"; break;
        case '\\': salida += "\\\\"; break;
        default: salida += c;
        }
    }
    return salida;
}

void Volcar(const dbf::ArchivoDbf& tabla, std::ostream& salida)
{
    salida << "Formato: " << NombreFormato(tabla.VersionArchivo()) << "\n";
    salida << "Campos: " << tabla.Campos().size() << "\n";
    for (const dbf::Campo& campo : tabla.Campos()) {
        salida << EnUnaLinea(AnsiAUtf8(campo.nombre)) << '\t' << campo.tipo << '\t' << campo.ancho << '\t'
               << static_cast<int>(campo.decimales) << "\n";
    }
    std::size_t borradas = 0;
    for (std::size_t fila = 0; fila < tabla.NumRegistros(); ++fila)
        borradas += tabla.Borrado(fila) ? 1 : 0;
    salida << "Filas: " << tabla.NumRegistros() - borradas;
    if (borradas > 0)
        salida << " (y " << borradas << (borradas == 1 ? " borrada" : " borradas") << ", que no se muestran)";
    salida << "\n";
    for (std::size_t fila = 0; fila < tabla.NumRegistros(); ++fila) {
        if (tabla.Borrado(fila))
            continue;
        for (std::size_t campo = 0; campo < tabla.Campos().size(); ++campo) {
            if (campo > 0)
                salida << '\t';
            salida << EnUnaLinea(AnsiAUtf8(tabla.Texto(fila, campo)));
        }
        salida << "\n";
    }
}

} // namespace

int Volcar(const std::vector<std::string>& argumentos)
{
    if (argumentos.size() != 1) {
        std::cerr << "Uso: durlavex-cli volcar TABLA.DBF\n";
        return 2;
    }
    const std::filesystem::path ruta = RutaDeTexto(argumentos[0]);
    if (!ExisteArchivo(ruta)) {
        std::cerr << "No existe la tabla «" << ruta.string() << "».\n";
        return 1;
    }
    try {
        // Written out only when the whole table has been read, so a broken
        // file gives its message alone.
        const auto tabla = dbf::ArchivoDbf::Abrir(ruta, dbf::Acceso::Compartido);
        std::ostringstream texto;
        Volcar(*tabla, texto);
        std::cout << texto.str();
    } catch (const Error& e) {
        std::cerr << TextoCajaError(e.what()) << "\n"; // the engine's message names the file
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "No se puede leer la tabla «" << ruta.string() << "»: " << TextoCajaError(e.what()) << "\n";
        return 1;
    }
    return 0;
}

} // namespace durlavex::cli
