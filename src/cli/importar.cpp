// durlavex-cli importar ARCHIVO.xml [--estricto]: Talvorin's timetable into a
// result file for Vorna, beside the exchange file, and whether Vorna will
// recognise the keys of its lessons.

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/archivo_intercambio.h"
#include "cli/ayuda.h"
#include "cli/comandos.h"
#include "cli/desenlace.h"
#include "cli/interaccion_consola.h"
#include "import/importacion.h"
#include "import/informe_claves.h"
#include "import/profesores_completos.h"
#include "platform/error.h"
#include "platform/rutas.h"

namespace durlavex::cli {

namespace {

constexpr const char* kUsoImportar = "Uso: durlavex-cli importar ARCHIVO.xml [--estricto]\n";

void ImprimirAyuda()
{
    std::cout << kUsoImportar
              << "\n"
                 "Escribe el horario que Talvorin ha dejado en su directorio de trabajo como\n"
                 "archivo de resultado para Vorna.\n\n"
                 "  ARCHIVO.xml  el archivo de intercambio de la exportación (da el curso académico y\n"
                 "               las claves de Vorna)\n"
                 "  --estricto   si alguna lección lleva claves que Vorna no reconocerá, termina con\n"
                 "               el estado 3 (el archivo de resultado queda escrito)\n\n"
                 "Lee del directorio de trabajo de Talvorin el horario SOLUC.DBF y las tablas de la\n"
                 "exportación (GRUPOST, CURSOST, PROFT, AULAT, ASIGNOMT, ASIGNOMT2, DIASHORAST,\n"
                 "ASIGT y PERIODOS). Escribe ResultadoTalvosARCHIVO.xml en la carpeta del archivo\n"
                 "de intercambio, con el horario semanal de cada profesor. Si a algún profesor de\n"
                 "PROFT.DBF le falta X_EMPLEADO o F_TOMAPOS, los lista y no escribe nada: se\n"
                 "completan en el programa de escritorio (durlavex) o en Talvorin.\n\n"
                 "Después del resumen comprueba cada lección con las claves del archivo de\n"
                 "intercambio (unidades, cursos, materias de cada curso, tramos, dependencias y\n"
                 "actividades) y dice cuáles no reconocerá Vorna, por qué y qué hacer. No cambia\n"
                 "el archivo de resultado. «durlavex-cli comprobar» hace lo mismo con un archivo de\n"
                 "resultado escrito antes.\n\n"
              << LugaresDelSistema() << "\n"
              << kEstadosSalida;
}

// At a console there is no dialog to complete teacher data in, so the
// teachers that lack it are listed for the user to fix in Talvorin or through
// the desktop program; the run then stops with its message.
class InteraccionImportacion : public InteraccionConsola {
  public:
    InteraccionImportacion() : InteraccionConsola(std::cout, std::cerr) {}

    void CompletarProfesores(const std::filesystem::path& directorioTrabajo) override
    {
        std::cerr << "Profesores de PROFT.DBF sin X_EMPLEADO o sin F_TOMAPOS"
                     " (la línea de órdenes no permite completarlos):\n";
        for (const auto& profesor : ProfesoresIncompletos(directorioTrabajo))
            std::cerr << "  " << profesor.ABREV << "  " << profesor.NOMBRE << "\n";
    }
};

struct Argumentos {
    std::string archivo;
    bool estricto = false;
};

// The exchange file's path and the option; nothing (the reason printed)
// when the arguments are not one file.
std::optional<Argumentos> LeerArgumentos(const std::vector<std::string>& argumentos)
{
    Argumentos leidos;
    std::vector<std::string> posicionales;
    bool opciones = true; // until "--"
    for (const std::string& argumento : argumentos) {
        if (opciones && argumento == "--") {
            opciones = false;
        } else if (opciones && argumento == "--estricto") {
            leidos.estricto = true;
        } else if (opciones && argumento.size() > 1 && argumento[0] == '-') {
            ErrorDeUso("Opción desconocida: " + argumento, kUsoImportar, "importar");
            return std::nullopt;
        } else {
            posicionales.push_back(argumento);
        }
    }
    if (posicionales.size() == 1) {
        leidos.archivo = posicionales[0];
        return leidos;
    }
    ErrorDeUso(posicionales.empty() ? "Falta el archivo de intercambio (ARCHIVO.xml)."
                                    : "Sobran argumentos: solo se importa un archivo cada vez.",
               kUsoImportar, "importar");
    return std::nullopt;
}

} // namespace

int Importar(const std::vector<std::string>& argumentos)
{
    if (const std::optional<int> respondida = AtenderAyudaOVersion(argumentos, ImprimirAyuda))
        return *respondida;
    const std::optional<Argumentos> leidos = LeerArgumentos(argumentos);
    if (!leidos)
        return kUsoIncorrecto;
    const std::filesystem::path archivo = RutaIntercambio(leidos->archivo);
    if (!ExisteIntercambio(archivo))
        return kDetenido;

    OpcionesCorrida opciones;
    opciones.archivoXml = archivo;
    InteraccionImportacion interaccion;
    const ResultadoImportacion resultado = EjecutarImportacion(opciones, interaccion);
    return SalidaDeCorrida(resultado, opciones, [&] {
        std::cout << "Archivo de resultado: " << TextoRuta(resultado.archivoResultado) << "\n"
                  << "Profesores escritos: " << resultado.profesores << "\n"
                  << "Actividades escritas: " << resultado.actividades << "\n"
                  << "Proceso finalizado\n\n"
                  << TextoInformeClaves(resultado.claves) << "\n";
        if (leidos->estricto && resultado.claves.HayQueAvisar()) {
            std::cerr
                << "Hay lecciones que Vorna no reconocerá (--estricto): estado 3. El archivo de resultado "
                   "queda escrito.\n";
            return kDetenido;
        }
        return kTerminado;
    });
}

} // namespace durlavex::cli
