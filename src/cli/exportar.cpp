// durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]: Vorna's exchange
// file into Talvorin's tables, in its working directory.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/archivo_intercambio.h"
#include "cli/ayuda.h"
#include "cli/comandos.h"
#include "cli/desenlace.h"
#include "cli/interaccion_consola.h"
#include "cli/plantillas_archivo.h"
#include "exchange/lectura.h"
#include "export/exportacion.h"
#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"

namespace durlavex::cli {

namespace {

constexpr const char* kUsoExportar = "Uso: durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]\n";

void ImprimirAyuda()
{
    std::cout << kUsoExportar
              << "\n"
                 "Reconstruye las tablas de Talvorin a partir del archivo de intercambio de Vorna.\n\n"
                 "  ARCHIVO.xml         el archivo de intercambio que exportó Vorna\n"
                 "  --plantilla CODIGO  la plantilla horaria que se aplica al horario; hace falta\n"
                 "                      cuando el archivo tiene más de una (sin ella se listan)\n\n"
                 "Lee el archivo de intercambio y NIVELCAN.DBF de la carpeta del programa.\n"
                 "Copia las tablas que va a sustituir a una carpeta con la fecha y la hora\n"
                 "dentro de las copias de seguridad (se guardan las diez últimas) y escribe en\n"
                 "el directorio de trabajo de Talvorin ASIGNOMT, ASIGNOMT2, PROFT, AULAT,\n"
                 "CURSOST, GRUPOST, ASIGT, DIASHORAST, DIASHORAST2 (con su .MDX) y PERIODOS;\n"
                 "borra JORNADAS.DBF. Si algo falla antes de empezar, no toca nada.\n\n"
              << LugaresDelSistema() << "\n"
              << kEstadosSalida;
}

struct Argumentos {
    std::string archivo;
    std::optional<std::string> plantilla; // UTF-8, as typed
};

// Nothing when the arguments make no sense; the reason has been printed.
std::optional<Argumentos> LeerArgumentos(const std::vector<std::string>& argumentos)
{
    const auto uso = [](const std::string& motivo) {
        ErrorDeUso(motivo, kUsoExportar, "exportar");
        return std::nullopt;
    };
    Argumentos leidos;
    std::vector<std::string> posicionales;
    bool opciones = true; // until "--"
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string& argumento = argumentos[i];
        std::optional<std::string> plantilla;
        if (opciones && argumento == "--") {
            opciones = false;
        } else if (opciones && argumento == "--plantilla") {
            if (i + 1 == argumentos.size())
                return uso("Falta el código de la plantilla después de --plantilla.");
            plantilla = argumentos[++i];
        } else if (opciones && argumento.rfind("--plantilla=", 0) == 0) {
            plantilla = argumento.substr(std::string("--plantilla=").size());
        } else if (opciones && argumento.size() > 1 && argumento[0] == '-') {
            return uso("Opción desconocida: " + argumento);
        } else {
            posicionales.push_back(argumento);
        }
        if (plantilla) {
            if (leidos.plantilla)
                return uso("La opción --plantilla se ha dado más de una vez.");
            leidos.plantilla = std::move(plantilla);
        }
    }
    if (posicionales.empty())
        return uso("Falta el archivo de intercambio (ARCHIVO.xml).");
    if (posicionales.size() > 1)
        return uso("Sobran argumentos: solo se exporta un archivo cada vez.");
    leidos.archivo = posicionales[0];
    return leidos;
}

void ListarPlantillas(const std::vector<PlantillaArchivo>& plantillas)
{
    if (plantillas.empty()) {
        std::cerr << "El archivo no tiene ninguna plantilla horaria (JORNADAS_ESCOLARES).\n";
        return;
    }
    std::cerr << "Plantillas horarias del archivo (código, nombre y fechas):\n"
              << TextoPlantillas(plantillas);
}

// Settles the template from the command line before anything is touched:
// false (a usage error, printed) when the file has several and none was
// named, or the one named is not in the file. A file that cannot be read is
// left to the run, which reports it in its own order. The document read is
// kept in `documento` for the run.
bool ResolverPlantilla(const std::filesystem::path& archivo, const std::optional<std::string>& pedida,
                       InteraccionConsola& interaccion, std::shared_ptr<DocumentoXml>& documento)
{
    std::vector<std::string> codigos;
    std::vector<PlantillaArchivo> plantillas;
    try {
        LecturaIntercambio lectura;
        lectura.CargarDocumento(archivo);
        documento = lectura.Documento();
        // A file with nothing to export (a result file, say) is refused by
        // the run for what it is, not for the template it lacks.
        ComprobarDatosParaExportar(*documento);
        codigos = CodigosPlantilla(lectura);
        plantillas = PlantillasDelArchivo(lectura);
    } catch (const std::exception&) {
        return true;
    }

    if (pedida) {
        const std::string codigo = Utf8AAnsi(Recortar(*pedida)).Bytes();
        if (std::find(codigos.begin(), codigos.end(), codigo) == codigos.end()) {
            std::cerr << Entre(Recortar(*pedida)) << " no es ninguna plantilla horaria del archivo.\n";
            ListarPlantillas(plantillas);
            return false;
        }
        interaccion.FijarPlantilla(codigo);
        return true;
    }
    if (codigos.size() > 1) {
        std::cerr << "El archivo tiene varias plantillas horarias: indique cuál se aplica con "
                     "--plantilla CODIGO.\n";
        ListarPlantillas(plantillas);
        return false;
    }
    // Several records of one code: that code is the only choice.
    if (codigos.size() == 1)
        interaccion.FijarPlantilla(codigos[0]);
    return true;
}

void ImprimirResumen(const ResultadoExportacion& resultado)
{
    std::cout << "Tablas de Talvorin escritas en: " << TextoRuta(resultado.directorioTrabajo) << "\n";
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
    if (const std::optional<int> respondida = AtenderAyudaOVersion(argumentos, ImprimirAyuda))
        return *respondida;
    const std::optional<Argumentos> leidos = LeerArgumentos(argumentos);
    if (!leidos)
        return kUsoIncorrecto;
    const std::filesystem::path archivo = RutaIntercambio(leidos->archivo);
    if (!ExisteIntercambio(archivo))
        return kDetenido;

    // Steps on standard output; the message that stops a run on standard error.
    InteraccionConsola interaccion(std::cout, std::cerr);
    OpcionesExportacion opciones;
    if (!ResolverPlantilla(archivo, leidos->plantilla, interaccion, opciones.documento))
        return kUsoIncorrecto;
    opciones.archivoXml = archivo;
    const ResultadoExportacion resultado = EjecutarExportacion(opciones, interaccion);
    return SalidaDeCorrida(resultado, opciones, [&] {
        ImprimirResumen(resultado);
        return kTerminado;
    });
}

} // namespace durlavex::cli
