// durlavex-cli comprobar RESULTADO.xml INTERCAMBIO.xml: whether Vorna will
// recognise the keys of the lessons of a result file written earlier, checked
// against the exchange file it came from, as an import checks its own.

#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/archivo_intercambio.h"
#include "cli/ayuda.h"
#include "cli/comandos.h"
#include "import/comprobar_resultado.h"
#include "import/informe_claves.h"
#include "platform/error.h"
#include "platform/rutas.h"

namespace durlavex::cli {

namespace {

constexpr const char* kUsoComprobar = "Uso: durlavex-cli comprobar RESULTADO.xml INTERCAMBIO.xml\n";

void ImprimirAyuda()
{
    std::cout << kUsoComprobar
              << "\n"
                 "Comprueba, antes de llevarlo a Vorna, que Vorna reconocerá las claves de cada\n"
                 "lección de un archivo de resultado: unidad, curso, materia del curso, tramo\n"
                 "horario, dependencia y actividad, comparadas con las del archivo de intercambio.\n"
                 "Dice cuántas lecciones no reconocerá, por qué, hasta diez ejemplos de cada caso\n"
                 "y qué hacer. Es la misma comprobación que hace «durlavex-cli importar» al\n"
                 "terminar. No cambia nada.\n\n"
                 "  RESULTADO.xml    el archivo de resultado (ResultadoTalvos…xml) de una importación\n"
                 "  INTERCAMBIO.xml  el archivo de intercambio que exportó Vorna y con el que se\n"
                 "                   hizo esa importación\n\n"
                 "Estado de salida:\n"
                 "  0  Vorna reconocerá las claves de todas las lecciones\n"
                 "  1  un archivo no se puede leer o no es lo que debe ser (el motivo, en la salida\n"
                 "     de errores); por ejemplo, los dos archivos en el orden contrario\n"
                 "  2  uso incorrecto\n"
                 "  3  hay lecciones con claves que Vorna no reconocerá (el informe, en la salida),\n"
                 "     o no existe uno de los dos archivos («No existe archivo»)\n";
}

} // namespace

int Comprobar(const std::vector<std::string>& argumentos)
{
    if (const std::optional<int> respondida = AtenderAyudaOVersion(argumentos, ImprimirAyuda))
        return *respondida;
    const std::optional<std::vector<std::string>> leidos =
        SoloNombres(argumentos, kUsoComprobar, "comprobar");
    if (!leidos)
        return kUsoIncorrecto;
    const std::vector<std::string>& archivos = *leidos;
    if (archivos.size() != 2)
        return ErrorDeUso(archivos.size() < 2
                              ? "Faltan archivos: el de resultado (RESULTADO.xml) y el de "
                                "intercambio (INTERCAMBIO.xml), en ese orden."
                              : "Sobran argumentos: se comprueba un archivo de resultado con su "
                                "archivo de intercambio.",
                          kUsoComprobar, "comprobar");
    const std::filesystem::path resultado = RutaIntercambio(archivos[0]);
    const std::filesystem::path intercambio = RutaIntercambio(archivos[1]);
    if (!ExisteIntercambio(resultado) || !ExisteIntercambio(intercambio))
        return kDetenido;
    try {
        const InformeClaves informe = ComprobarArchivoResultado(resultado, intercambio);
        std::cout << TextoInformeClaves(informe, " de «" + TextoRuta(resultado) + "» con «" +
                                                     TextoRuta(intercambio) + "»")
                  << "\n";
        return informe.HayQueAvisar() ? kDetenido : kTerminado;
    } catch (const Error& e) {
        std::cerr << TextoCajaError(e.what()) << "\n";
    } catch (const std::bad_alloc&) {
        std::cerr << "No hay memoria suficiente para comprobar el archivo de resultado.\n";
    }
    return kError;
}

} // namespace durlavex::cli
