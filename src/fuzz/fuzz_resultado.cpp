// libFuzzer entry for the check of a result file (durlavex-cli comprobar):
// any bytes as the result file, read element by element and checked against a
// small exchange file written once. Broken input must end in durlavex::Error,
// never in a crash, a stray read or a hang.

#include "import/comprobar_resultado.h"
#include "platform/error.h"

#include <libxml/xmlerror.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path gCarpeta;

static void Callar(void*, const char*, ...) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    xmlSetGenericErrorFunc(nullptr, &Callar);
    // A folder of this process's own: fuzzers and seed replays may run side by side.
    std::random_device azar;
    do
        gCarpeta = fs::temp_directory_path() /
                   ("durlavex-fuzz-resultado-" + std::to_string(azar()) + std::to_string(azar()));
    while (!fs::create_directories(gCarpeta));
    std::ofstream(gCarpeta / "vorna.xml", std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SERVICIO tipo=\"E\"><BLOQUE_DATOS>"
           "<grupo_datos seq=\"ANNO_ACADEMICO\"><dato>2025</dato></grupo_datos>"
           "<grupo_datos seq=\"UNIDADES\"><grupo_datos><dato "
           "nombre_dato=\"X_UNIDAD\">5001</dato></grupo_datos>"
           "</grupo_datos><grupo_datos seq=\"TRAMOS_HORARIOS\"><grupo_datos><dato nombre_dato=\"X_TRAMO\">T1"
           "</dato></grupo_datos></grupo_datos><grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>C1</dato>"
           "<dato>M1</dato></grupo_datos></grupo_datos><grupo_datos seq=\"EMPLEADOS\"><grupo_datos><dato>1"
           "</dato><dato/><dato/><dato>Pe\xF1"
           "a</dato></grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>";
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(gCarpeta, ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    const fs::path resultado = gCarpeta / "resultado.xml";
    std::ofstream(resultado, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(datos), static_cast<std::streamsize>(tamano));
    try {
        durlavex::ComprobarArchivoResultado(resultado, gCarpeta / "vorna.xml");
    } catch (const durlavex::Error&) {
    }
    return 0;
}
