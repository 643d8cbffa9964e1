// durlavex-cli volcar TABLA.DBF: a table's format, fields and rows as text,
// to look at what a run wrote or what Talvorin left.
//
// The table is found as the programs find theirs, without regard to letter
// case; a bare name is looked for in the current folder, then in Talvorin's
// working directory.
//
// Output, one item per line, columns separated by tabs:
//   Tabla: /home/ana/.wine/drive_c/KTEMP/PROFT.DBF
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
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/ayuda.h"
#include "cli/comandos.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"

namespace durlavex::cli {

namespace {

constexpr const char* kUsoVolcar = "Uso: durlavex-cli volcar TABLA.DBF\n";

void ImprimirAyuda()
{
    std::cout << kUsoVolcar
              << "\n"
                 "Muestra el formato, los campos (nombre, tipo, ancho, decimales) y las filas de\n"
                 "una tabla dBase, separados por tabuladores; no cambia nada.\n\n"
                 "  TABLA.DBF  la tabla, con cualquier combinación de mayúsculas y minúsculas. Un\n"
                 "             nombre sin carpeta se busca en la carpeta actual y, si no está, en\n"
                 "             el directorio de trabajo de Talvorin.\n\n"
                 "Estado de salida:\n"
                 "  0  tabla mostrada\n"
                 "  1  la tabla no existe o no se puede leer (el motivo, en la salida de errores)\n"
                 "  2  uso incorrecto\n\n"
              << LugaresDelSistema();
}

// The table named on the command line: the folders where it is looked for,
// in order, and the name in them.
struct BusquedaTabla {
    std::vector<fs::path> carpetas;
    std::string nombre;
};

BusquedaTabla DondeBuscar(const std::string& argumento)
{
    const fs::path ruta = RutaDeTexto(argumento);
    const std::string nombre = TextoRuta(ruta.filename());
    if (ruta.has_parent_path())
        return {{ruta.parent_path()}, nombre};
    std::error_code ec;
    fs::path actual = fs::current_path(ec);
    if (ec)
        actual = ".";
    return {{actual, DirectorioTrabajo()}, nombre};
}

std::optional<fs::path> BuscarTabla(const BusquedaTabla& busqueda)
{
    for (const fs::path& carpeta : busqueda.carpetas) {
        if (auto encontrada = BuscarArchivo(carpeta, busqueda.nombre);
            encontrada && ExisteArchivo(*encontrada))
            return encontrada;
    }
    return std::nullopt;
}

std::string NoEncontrada(const BusquedaTabla& busqueda)
{
    std::string texto =
        "No existe la tabla «" + busqueda.nombre + "» en «" + TextoRuta(busqueda.carpetas[0]) + "»";
    for (std::size_t i = 1; i < busqueda.carpetas.size(); ++i)
        texto += " ni en «" + TextoRuta(busqueda.carpetas[i]) + "»";
    return texto;
}

const char* NombreFormato(dbf::Version version)
{
    switch (version) {
    case dbf::Version::DBase3:
        return "dBase III";
    case dbf::Version::DBase4:
        return "dBase IV";
    case dbf::Version::DBase7:
        return "dBase nivel 7";
    case dbf::Version::FoxPro:
        return "FoxPro";
    case dbf::Version::VisualFoxPro:
        return "Visual FoxPro";
    }
    return "dBase";
}

std::string EnUnaLinea(const std::string& utf8)
{
    std::string salida;
    for (char c : utf8) {
        switch (c) {
        case '\t':
            salida += "\\t";
            break;
        case '\n':
            salida += "\\n";
            break;
        case '\r':
            salida += "\\r";
            break;
        case '\\':
            salida += "\\\\";
            break;
        default:
            salida += c;
        }
    }
    return salida;
}

void Volcar(const fs::path& ruta, const dbf::ArchivoDbf& tabla, std::ostream& salida)
{
    salida << "Tabla: " << TextoRuta(ruta) << "\n";
    salida << "Formato: " << NombreFormato(tabla.VersionArchivo()) << "\n";
    salida << "Campos: " << tabla.Campos().size() << "\n";
    for (const dbf::Campo& campo : tabla.Campos()) {
        salida << EnUnaLinea(AnsiAUtf8(VistaAnsi(campo.nombre))) << '\t' << campo.tipo << '\t' << campo.ancho
               << '\t' << static_cast<int>(campo.decimales) << "\n";
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
            salida << EnUnaLinea(AnsiAUtf8(VistaAnsi(tabla.Texto(fila, campo))));
        }
        salida << "\n";
    }
}

} // namespace

int Volcar(const std::vector<std::string>& argumentos)
{
    if (const std::optional<int> respondida = AtenderAyudaOVersion(argumentos, ImprimirAyuda))
        return *respondida;
    const std::optional<std::vector<std::string>> leidos = SoloNombres(argumentos, kUsoVolcar, "volcar");
    if (!leidos)
        return kUsoIncorrecto;
    const std::vector<std::string>& posicionales = *leidos;
    if (posicionales.size() != 1)
        return ErrorDeUso(posicionales.empty() ? "Falta la tabla que se quiere ver (TABLA.DBF)."
                                               : "Sobran argumentos: se muestra una tabla cada vez.",
                          kUsoVolcar, "volcar");

    const BusquedaTabla busqueda = DondeBuscar(posicionales[0]);
    const std::optional<fs::path> ruta = BuscarTabla(busqueda);
    if (!ruta) {
        std::cerr << NoEncontrada(busqueda) << ".\n";
        return kError;
    }
    try {
        // Written out only when the whole table has been read, so a broken
        // file gives its message alone.
        const auto tabla = dbf::ArchivoDbf::Abrir(*ruta, dbf::Acceso::Compartido);
        std::ostringstream texto;
        Volcar(*ruta, *tabla, texto);
        std::cout << texto.str();
    } catch (const Error& e) {
        std::cerr << TextoCajaError(e.what()) << "\n"; // the engine's message names the file
        return kError;
    } catch (const std::exception& e) {
        std::cerr << "No se puede leer la tabla «" << TextoRuta(*ruta) << "»: " << TextoCajaError(e.what())
                  << "\n";
        return kError;
    }
    return kTerminado;
}

} // namespace durlavex::cli
