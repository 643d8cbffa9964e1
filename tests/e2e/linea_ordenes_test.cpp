// What durlavex-cli answers alike for every command: --help and --version,
// usage errors that say what is missing, a missing file or working directory
// with the path and its exit status, and volcar finding a table as the
// programs find theirs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "comun/contenido.h"
#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "comun/programa.h"
#include "e2e/entorno_exportar.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using pruebas::Instantanea;
using pruebas::Salida;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

class LineaOrdenes : public pruebas::EntornoExportarCli {
  protected:
    void SetUp() override
    {
        PrepararCarpetas();
        pruebas::ArchivoIntercambio()
            .Grupo("JORNADAS_ESCOLARES", {{"J1", "Mañana", "01/09/2023", "30/06/2024"}})
            .Guardar(archivo);
        EscribirProftViejo();
    }
};

struct CasoAyuda {
    const char* nombre;
    std::string argumentos;
    std::string salida; // a piece of standard output
    friend void PrintTo(const CasoAyuda& c, std::ostream* os) { *os << c.argumentos; }
};

class LineaOrdenesAyuda : public LineaOrdenes, public testing::WithParamInterface<CasoAyuda> {};

const CasoAyuda kCasosAyuda[] = {
    {"Ayuda", "--help", "Órdenes:\n  exportar  de Vorna a Talvorin."},
    {"AyudaCorta", "-h", "«durlavex-cli ORDEN --help» explica cada orden."},
    {"Version", "--version", "durlavex-cli (Durlavex) 1.0\n"},
    {"AyudaExportar", "exportar --help", "Uso: durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]\n"},
    {"AyudaExportarConArchivo", "exportar ARCHIVO -h", "Reconstruye las tablas de Talvorin"},
    {"AyudaImportar", "importar --help", "Uso: durlavex-cli importar ARCHIVO.xml [--estricto]\n"},
    {"AyudaImportarSinArchivo", "importar -h", "Escribe ResultadoTalvosARCHIVO.xml"},
    {"AyudaVolcar", "volcar --help", "Uso: durlavex-cli volcar TABLA.DBF\n"},
    {"AyudaComprobar", "comprobar ARCHIVO --help",
     "Uso: durlavex-cli comprobar RESULTADO.xml INTERCAMBIO.xml\n"},
    {"AyudaGeneralNombraComprobar", "--help", "  comprobar dice qué lecciones de un archivo de resultado"},
    {"VersionExportar", "exportar --version", "durlavex-cli (Durlavex) 1.0\n"},
    {"VersionImportar", "importar ARCHIVO --version", "durlavex-cli (Durlavex) 1.0\n"},
    {"VersionVolcar", "volcar --version", "durlavex-cli (Durlavex) 1.0\n"},
    {"VersionComprobar", "comprobar --version", "durlavex-cli (Durlavex) 1.0\n"},
};

// The help and the version are answered before anything else is looked at,
// also with a file on the line: nothing is read or written.
TEST_P(LineaOrdenesAyuda, SaleConCeroSinTocarNada)
{
    const auto antes = Instantanea(ktemp);
    std::string argumentos = GetParam().argumentos;
    if (auto at = argumentos.find("ARCHIVO"); at != std::string::npos)
        argumentos.replace(at, 7, Archivo());

    const Salida s = Ejecutar(argumentos);

    EXPECT_EQ(s.estado, 0) << s.errores;
    EXPECT_EQ(s.errores, "");
    EXPECT_THAT(s.salida, HasSubstr(GetParam().salida));
    EXPECT_EQ(Instantanea(ktemp), antes);
    EXPECT_FALSE(fs::exists(Copias()));
}

INSTANTIATE_TEST_SUITE_P(Ordenes, LineaOrdenesAyuda, testing::ValuesIn(kCasosAyuda),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Every help says where things are on this machine and what each exit
// status means, the missing file beside the missing working directory.
TEST_F(LineaOrdenes, LaAyudaDiceDondeYLosEstadosDeSalida)
{
    for (const char* orden : {"--help", "exportar --help", "importar --help"}) {
        const Salida s = Ejecutar(orden);
        EXPECT_THAT(s.salida, HasSubstr("Directorio de trabajo de Talvorin: " + ktemp.string() + "\n"))
            << orden;
        EXPECT_THAT(s.salida,
                    HasSubstr("Carpeta del programa (NIVELCAN.DBF):  " + programa.Ruta().string() + "\n"))
            << orden;
        EXPECT_THAT(s.salida, HasSubstr("Copias de seguridad de las tablas:    " + Copias().string() + "\n"))
            << orden;
        EXPECT_THAT(s.salida, HasSubstr("  1  un error detuvo el trabajo")) << orden;
        EXPECT_THAT(s.salida, HasSubstr("no existe el directorio de trabajo de Talvorin")) << orden;
        EXPECT_THAT(s.salida, HasSubstr("  3  detenido por una situación prevista")) << orden;
        EXPECT_THAT(s.salida, HasSubstr("el archivo de intercambio («No existe archivo»)")) << orden;
    }
}

struct CasoUso {
    const char* nombre;
    std::string argumentos;
    std::string errores; // standard error from its start
    friend void PrintTo(const CasoUso& c, std::ostream* os) { *os << c.argumentos; }
};

class LineaOrdenesUso : public LineaOrdenes, public testing::WithParamInterface<CasoUso> {};

const CasoUso kCasosUso[] = {
    {"SinOrden", "", "Falta la orden: exportar, importar, comprobar o volcar.\nUso:\n"},
    {"OrdenDesconocida", "borrar", "Orden desconocida: borrar\nUso:\n"},
    {"ImportarSinArchivo", "importar",
     "Falta el archivo de intercambio (ARCHIVO.xml).\n"
     "Uso: durlavex-cli importar ARCHIVO.xml [--estricto]\n"
     "Más información: durlavex-cli importar --help\n"},
    {"ImportarDosArchivos", "importar ARCHIVO ARCHIVO",
     "Sobran argumentos: solo se importa un archivo cada vez.\n"},
    {"ImportarConPlantilla", "importar ARCHIVO --plantilla J1", "Opción desconocida: --plantilla\n"},
    {"ExportarSinArchivo", "exportar --plantilla J1",
     "Falta el archivo de intercambio (ARCHIVO.xml).\n"
     "Uso: durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]\n"
     "Más información: durlavex-cli exportar --help\n"},
    {"VolcarSinTabla", "volcar",
     "Falta la tabla que se quiere ver (TABLA.DBF).\n"
     "Uso: durlavex-cli volcar TABLA.DBF\n"
     "Más información: durlavex-cli volcar --help\n"},
    {"VolcarOpcionDesconocida", "volcar -x PROFT.DBF", "Opción desconocida: -x\n"},
};

TEST_P(LineaOrdenesUso, DiceQueFaltaOSobraYSaleConDos)
{
    const auto antes = Instantanea(ktemp);
    std::string argumentos = GetParam().argumentos;
    for (auto at = argumentos.find("ARCHIVO"); at != std::string::npos; at = argumentos.find("ARCHIVO"))
        argumentos.replace(at, 7, Archivo());

    const Salida s = Ejecutar(argumentos);

    EXPECT_EQ(s.estado, 2);
    EXPECT_THAT(s.errores, StartsWith(GetParam().errores));
    EXPECT_EQ(s.salida, "");
    EXPECT_EQ(Instantanea(ktemp), antes);
}

INSTANTIATE_TEST_SUITE_P(Ordenes, LineaOrdenesUso, testing::ValuesIn(kCasosUso),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Side by side, for both directions: a missing exchange file stops the run
// (3) and names the path; a missing working directory is an error (1).
TEST_F(LineaOrdenes, ArchivoQueFaltaYDirectorioDeTrabajoQueFalta)
{
    const fs::path noEsta = origen / "no-esta.xml";
    for (const std::string orden : {"exportar", "importar"}) {
        const Salida sinArchivo = Ejecutar(orden + " '" + noEsta.string() + "'");
        EXPECT_EQ(sinArchivo.estado, 3) << orden;
        EXPECT_EQ(sinArchivo.errores, "No existe archivo «" + noEsta.string() + "»\n") << orden;

        const Salida carpeta = Ejecutar(orden + " '" + origen.Ruta().string() + "'");
        EXPECT_EQ(carpeta.estado, 3) << orden;
        EXPECT_EQ(carpeta.errores, "No existe archivo «" + origen.Ruta().string() + "»: es una carpeta\n")
            << orden;
    }
    fs::remove_all(ktemp);
    for (const std::string orden : {"exportar", "importar"}) {
        const Salida sinDirectorio = Ejecutar(orden + " " + Archivo());
        EXPECT_EQ(sinDirectorio.estado, 1) << orden;
        EXPECT_THAT(sinDirectorio.errores,
                    StartsWith("No existe el directorio de trabajo de Talvorin «" + ktemp.string() + "»"))
            << orden;
    }
}

// The current folder for the life of the object.
class CarpetaActual {
  public:
    explicit CarpetaActual(const fs::path& carpeta) : antes_(fs::current_path())
    {
        fs::current_path(carpeta);
    }
    ~CarpetaActual() { fs::current_path(antes_); }

  private:
    fs::path antes_;
};

// volcar finds PROFT.DBF whatever the letter case it is named in, and a bare
// name in the working directory when the current folder does not have it.
TEST_F(LineaOrdenes, VolcarBuscaLaTablaComoElPrograma)
{
    const std::string cabecera = "Tabla: " + (ktemp / "PROFT.DBF").string() + "\nFormato: dBase nivel 7\n";
    const Salida conCarpeta = Ejecutar("volcar '" + (ktemp / "proft.dbf").string() + "'");
    EXPECT_EQ(conCarpeta.estado, 0) << conCarpeta.errores;
    EXPECT_THAT(conCarpeta.salida, StartsWith(cabecera));
    EXPECT_THAT(conCarpeta.salida, HasSubstr("\nVIEJO\t"));

    const CarpetaActual aqui(origen.Ruta());
    const Salida sinCarpeta = Ejecutar("volcar Proft.Dbf");
    EXPECT_EQ(sinCarpeta.estado, 0) << sinCarpeta.errores;
    EXPECT_THAT(sinCarpeta.salida, StartsWith(cabecera));

    const Salida noEsta = Ejecutar("volcar AULAT.DBF");
    EXPECT_EQ(noEsta.estado, 1);
    EXPECT_EQ(noEsta.errores, "No existe la tabla «AULAT.DBF» en «" + origen.Ruta().string() + "» ni en «" +
                                  ktemp.string() + "».\n");
    EXPECT_EQ(noEsta.salida, "");
}

} // namespace
} // namespace durlavex
