#include "cli/ayuda.h"

#include <exception>
#include <filesystem>
#include <iostream>

#include "export/copia_seguridad.h"
#include "platform/rutas.h"

#ifndef DURLAVEX_VERSION
#define DURLAVEX_VERSION "?"
#endif

namespace durlavex::cli {

Peticion PeticionDe(const std::vector<std::string>& argumentos)
{
    Peticion peticion = Peticion::Trabajo;
    for (const std::string& argumento : argumentos) {
        if (argumento == "--")
            break;
        if (argumento == "--help" || argumento == "-h")
            return Peticion::Ayuda;
        if (argumento == "--version")
            peticion = Peticion::Version;
    }
    return peticion;
}

std::optional<int> AtenderAyudaOVersion(const std::vector<std::string>& argumentos, void (*ayuda)())
{
    switch (PeticionDe(argumentos)) {
    case Peticion::Ayuda:
        ayuda();
        return kTerminado;
    case Peticion::Version:
        ImprimirVersion(std::cout);
        return kTerminado;
    case Peticion::Trabajo:
        break;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> SoloNombres(const std::vector<std::string>& argumentos,
                                                    std::string_view uso, std::string_view orden)
{
    std::vector<std::string> nombres;
    bool opciones = true; // until "--"
    for (const std::string& argumento : argumentos) {
        if (opciones && argumento == "--") {
            opciones = false;
        } else if (opciones && argumento.size() > 1 && argumento[0] == '-') {
            ErrorDeUso("Opción desconocida: " + argumento, uso, orden);
            return std::nullopt;
        } else {
            nombres.push_back(argumento);
        }
    }
    return nombres;
}

void ImprimirVersion(std::ostream& salida)
{
    salida << "durlavex-cli (Durlavex) " << DURLAVEX_VERSION << "\n";
}

const char* const kEstadosSalida =
    "Estado de salida:\n"
    "  0  terminado («Proceso finalizado»)\n"
    "  1  un error detuvo el trabajo; el motivo va a la salida de errores. Por ejemplo:\n"
    "     no existe el directorio de trabajo de Talvorin, el archivo no es un XML bien\n"
    "     formado, una tabla está dañada o no se puede escribir\n"
    "  2  uso incorrecto: falta o sobra un argumento, una opción no existe, el archivo\n"
    "     tiene varias plantillas y no se dio --plantilla, o la dada no es suya; no se\n"
    "     toca nada\n"
    "  3  detenido por una situación prevista, sin escribir nada. Por ejemplo: no existe\n"
    "     el archivo de intercambio («No existe archivo»), falta NIVELCAN.DBF, falta\n"
    "     PERIODOS.DBF o hay profesores sin X_EMPLEADO o F_TOMAPOS. También, con\n"
    "     importar --estricto, hay lecciones con claves que Vorna no reconocerá (el\n"
    "     archivo de resultado queda escrito)\n";

std::string LugaresDelSistema()
{
    std::string copias;
    try {
        copias = TextoRuta(CarpetaCopias());
    } catch (const std::exception&) {
        copias = "(no se sabe: no hay carpeta personal)";
    }
    return "Directorio de trabajo de Talvorin: " + TextoRuta(DirectorioTrabajo()) +
           "\n"
           "  (Talvorin funciona con Wine: $WINEPREFIX/drive_c/KTEMP, o ~/.wine/drive_c/KTEMP)\n"
           "Carpeta del programa (NIVELCAN.DBF):  " +
           TextoRuta(CarpetaPrograma()) +
           "\n"
           "Copias de seguridad de las tablas:    " +
           copias + "\n";
}

int ErrorDeUso(std::string_view motivo, std::string_view uso, std::string_view orden)
{
    std::cerr << motivo << "\n" << uso << "Más información: durlavex-cli " << orden << " --help\n";
    return kUsoIncorrecto;
}

} // namespace durlavex::cli
