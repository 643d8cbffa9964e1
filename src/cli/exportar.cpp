// durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]: Vorna's exchange
// file into Talvorin's tables, in its working directory.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/comandos.h"
#include "cli/interaccion_consola.h"
#include "exchange/lectura.h"
#include "export/exportacion.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"

namespace durlavex::cli {

namespace {

constexpr const char* kUsoExportar =
    "Uso: durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]\n"
    "  Reconstruye las tablas de Talvorin a partir del archivo de intercambio de Vorna.\n"
    "  --plantilla CODIGO  plantilla horaria que se aplica al horario; hace falta\n"
    "                      cuando el archivo tiene más de una.\n";

struct Argumentos {
    std::string archivo;
    std::optional<std::string> plantilla; // UTF-8, as typed
    bool ayuda = false;
};

// Nothing when the arguments make no sense; the reason has been printed.
std::optional<Argumentos> LeerArgumentos(const std::vector<std::string>& argumentos)
{
    Argumentos leidos;
    std::vector<std::string> posicionales;
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string& argumento = argumentos[i];
        std::optional<std::string> plantilla;
        if (argumento == "--help" || argumento == "-h") {
            leidos.ayuda = true;
        } else if (argumento == "--plantilla") {
            if (i + 1 == argumentos.size()) {
                std::cerr << "Falta el código de la plantilla después de --plantilla.\n";
                return std::nullopt;
            }
            plantilla = argumentos[++i];
        } else if (argumento.rfind("--plantilla=", 0) == 0) {
            plantilla = argumento.substr(std::string("--plantilla=").size());
        } else if (argumento.size() > 1 && argumento[0] == '-') {
            std::cerr << "Opción desconocida: " << argumento << "\n";
            return std::nullopt;
        } else {
            posicionales.push_back(argumento);
        }
        if (plantilla) {
            if (leidos.plantilla) {
                std::cerr << "La opción --plantilla se ha dado más de una vez.\n";
                return std::nullopt;
            }
            leidos.plantilla = std::move(plantilla);
        }
    }
    if (leidos.ayuda)
        return leidos;
    if (posicionales.size() != 1) {
        std::cerr << (posicionales.empty() ? "Falta el archivo de intercambio.\n"
                                           : "Sobran argumentos: solo se exporta un archivo cada vez.\n");
        return std::nullopt;
    }
    leidos.archivo = posicionales[0];
    return leidos;
}

void ListarPlantillas(const std::vector<std::string>& codigos)
{
    if (codigos.empty()) {
        std::cerr << "El archivo no tiene ninguna plantilla horaria (JORNADAS_ESCOLARES).\n";
        return;
    }
    std::cerr << "Plantillas horarias del archivo:\n";
    for (const std::string& codigo : codigos)
        std::cerr << "  «" << AnsiAUtf8(codigo) << "»\n";
}

// Settles the template from the command line before anything is touched:
// false (a usage error, printed) when the file has several and none was
// named, or the one named is not in the file. A file that cannot be read is
// left to the run, which reports it in its own order. The document read is
// kept in `documento` for the run.
bool ResolverPlantilla(const std::filesystem::path& archivo, const std::optional<std::string>& pedida,
                       InteraccionConsola& interaccion, std::shared_ptr<DocumentoXml>& documento)
{
    if (!ExisteArchivo(archivo))
        return true;
    std::vector<std::string> codigos;
    try {
        LecturaIntercambio lectura;
        lectura.CargarDocumento(archivo);
        codigos = CodigosPlantilla(lectura);
        documento = lectura.Documento();
    } catch (const std::exception&) {
        return true;
    }

    if (pedida) {
        const std::string codigo = Utf8AAnsi(Recortar(*pedida));
        if (std::find(codigos.begin(), codigos.end(), codigo) == codigos.end()) {
            std::cerr << "«" << std::string(Recortar(*pedida))
                      << "» no es ninguna plantilla horaria del archivo.\n";
            ListarPlantillas(codigos);
            return false;
        }
        interaccion.FijarPlantilla(codigo);
        return true;
    }
    if (codigos.size() > 1) {
        std::cerr << "El archivo tiene varias plantillas horarias: indique cuál se aplica con "
                     "--plantilla CODIGO.\n";
        ListarPlantillas(codigos);
        return false;
    }
    // Several records of one code: that code is the only choice.
    if (codigos.size() == 1)
        interaccion.FijarPlantilla(codigos[0]);
    return true;
}

void ImprimirResumen(const ResultadoCorrida& resultado)
{
    std::cout << "Filas escritas:\n";
    for (const FilasTabla& tabla : resultado.filas)
        std::cout << "  " << tabla.tabla << ": " << tabla.filas << "\n";
    if (resultado.copiaSeguridad.empty())
        std::cout << "No había tablas anteriores que copiar.\n";
    else
        std::cout << "Copia de seguridad de las tablas anteriores: " << TextoRuta(resultado.copiaSeguridad)
                  << "\n";
    std::cout << "Proceso finalizado\n";
}

} // namespace

int Exportar(const std::vector<std::string>& argumentos)
{
    const std::optional<Argumentos> leidos = LeerArgumentos(argumentos);
    if (!leidos) {
        std::cerr << kUsoExportar;
        return 2;
    }
    if (leidos->ayuda) {
        std::cout << kUsoExportar;
        return 0;
    }

    std::error_code ec;
    std::filesystem::path archivo = std::filesystem::absolute(RutaDeTexto(leidos->archivo), ec);
    if (ec)
        archivo = RutaDeTexto(leidos->archivo);

    // Steps on standard output; the message that stops a run on standard error.
    InteraccionConsola interaccion(std::cout, std::cerr);
    OpcionesExportacion opciones;
    if (!ResolverPlantilla(archivo, leidos->plantilla, interaccion, opciones.documento))
        return 2;
    opciones.archivoXml = archivo;
    const ResultadoCorrida resultado = EjecutarExportacion(opciones, interaccion);
    switch (resultado.estado) {
    case EstadoCorrida::Finalizado:
        ImprimirResumen(resultado);
        return 0;
    case EstadoCorrida::Detenido:
        return 3;
    case EstadoCorrida::Error:
        break;
    }
    std::cerr << TextoCajaError(resultado.mensaje) << "\n";
    return 1;
}

} // namespace durlavex::cli
