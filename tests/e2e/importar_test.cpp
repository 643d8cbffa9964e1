// durlavex-cli importar on a small working directory in a temporary
// WINEPREFIX: exit status, what it prints, the result file.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "comun/programa.h"
#include "e2e/escuela_importacion.h"
#include "import/dbase3.h"
#include "import/fixture_importacion.h"
#include "platform/texto.h"
#include "tables/esquemas.h"
#include "tables/tabla.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;

using pruebas::Salida;
constexpr auto Leer = pruebas::LeerArchivo;

using pruebas::EscribirTabla;

// A school of two teachers, one lesson, in WINEPREFIX/drive_c/KTEMP.
class ImportarCli : public testing::Test {
  protected:
    void SetUp() override
    {
        fs::create_directories(ktemp);
        pruebas::EscribirEscuelaExportada(ktemp);
        pruebas::EscribirDbase3(
            ktemp / "SOLUC.DBF", pruebas::kCamposSoluc,
            {{"P1", "3", "2", "MAT", "1A", "", "A1"}, {"P1", "0", "1", "MAT", "1A", "", ""}});
        pruebas::ArchivoIntercambio().Anno("2023/2024").Guardar(origen / "vorna.xml");
    }

    Salida Ejecutar(const std::string& argumentos)
    {
        return pruebas::EjecutarPrograma(DURLAVEX_CLI, {{"WINEPREFIX", prefijo.Ruta().string()}}, argumentos,
                                         origen.Ruta());
    }

    std::string Archivo() const { return "'" + (origen / "vorna.xml").string() + "'"; }
    fs::path Resultado() const { return origen / "ResultadoTalvosvorna.xml"; }

    pruebas::DirectorioTemporal prefijo;
    pruebas::DirectorioTemporal origen;
    fs::path ktemp = prefijo.Ruta() / "drive_c" / "KTEMP";
};

TEST_F(ImportarCli, TerminaEImprimeElResumen)
{
    const Salida s = Ejecutar("importar " + Archivo());
    EXPECT_EQ(s.estado, 0) << s.errores;
    EXPECT_NE(s.salida.find("Archivo de resultado: " + Resultado().string()), std::string::npos) << s.salida;
    EXPECT_NE(s.salida.find("Profesores escritos: 2\n"), std::string::npos) << s.salida;
    EXPECT_NE(s.salida.find("Actividades escritas: 1\n"), std::string::npos) << s.salida;
    EXPECT_NE(s.salida.find("Proceso finalizado\n"), std::string::npos) << s.salida;
    const std::string resultado = Leer(Resultado());
    EXPECT_NE(resultado.find("<dato nombre_dato=\"C_ANNO\">2023</dato>"), std::string::npos);
    EXPECT_NE(resultado.find("<dato nombre_dato=\"X_TRAMO\">T32</dato>"), std::string::npos);
    EXPECT_NE(resultado.find("<dato nombre_dato=\"N_HORINI\">540</dato>"), std::string::npos);
    EXPECT_NE(resultado.find("<dato nombre_dato=\"X_ACTIVIDAD\">513</dato>"), std::string::npos);
}

TEST_F(ImportarCli, ProfesorIncompletoSeListaYTerminaConTres)
{
    EscribirTabla(
        ktemp, esquemas::PROFT,
        {{{"ABREV", "P1"}, {"NOMBRE", "Ana Pérez"}, {"X_EMPLEADO", "1001"}, {"F_TOMAPOS", "01/09/2015"}},
         {{"ABREV", "P2"}, {"NOMBRE", "Íñigo Ruiz"}, {"X_EMPLEADO", "1002"}}});
    const Salida s = Ejecutar("importar " + Archivo());
    EXPECT_EQ(s.estado, 3);
    EXPECT_NE(s.errores.find("P2  Íñigo Ruiz"), std::string::npos) << s.errores;
    EXPECT_EQ(s.errores.find("Ana Pérez"), std::string::npos) << s.errores;
    EXPECT_NE(s.errores.find("¡Atención! Sigue habiendo algún Profesor sin todos los DATOS.\n\r"),
              std::string::npos)
        << s.errores;
    EXPECT_FALSE(fs::exists(Resultado()));
}

// The SOLUC of another school: none of its teachers is in PROFT.
TEST_F(ImportarCli, SolucDeOtroInstitutoTerminaConTresSinEscribir)
{
    pruebas::EscribirDbase3(ktemp / "SOLUC.DBF", pruebas::kCamposSoluc,
                            {{"ZZ", "3", "2", "LEN", "4C", "", "B7"}, {"YY", "1", "1", "FIS", "4C", "", ""}});
    const Salida s = Ejecutar("importar " + Archivo());
    EXPECT_EQ(s.estado, 3);
    EXPECT_EQ(s.errores,
              "SOLUC.DBF no corresponde a las tablas exportadas: ninguna de sus 2 filas es de un "
              "profesor de PROFT.DBF. Exporte de nuevo desde Vorna, o compruebe que el directorio de "
              "trabajo «" +
                  ktemp.string() +
                  "» es el de este instituto. No se ha escrito el archivo "
                  "de resultado\n");
    EXPECT_EQ(s.salida.find("Proceso finalizado"), std::string::npos) << s.salida;
    EXPECT_FALSE(fs::exists(Resultado()));
}

TEST_F(ImportarCli, SituacionesQueDetienenYErrores)
{
    const Salida sinArchivo = Ejecutar("importar '" + (origen / "no-esta.xml").string() + "'");
    EXPECT_EQ(sinArchivo.estado, 3);
    EXPECT_EQ(sinArchivo.errores, "No existe archivo «" + (origen / "no-esta.xml").string() + "»\n");

    const Salida uso = Ejecutar("importar");
    EXPECT_EQ(uso.estado, 2);
    EXPECT_EQ(uso.errores, "Falta el archivo de intercambio (ARCHIVO.xml).\nUso: durlavex-cli importar "
                           "ARCHIVO.xml [--estricto]\n"
                           "Más información: durlavex-cli importar --help\n");

    fs::remove(ktemp / "PERIODOS.DBF");
    const Salida sinPeriodos = Ejecutar("importar " + Archivo());
    EXPECT_EQ(sinPeriodos.estado, 3);
    EXPECT_EQ(sinPeriodos.errores, "ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VORNA.\n"
                                   "No está en el directorio de trabajo de Talvorin «" +
                                       ktemp.string() + "».\n");

    fs::remove_all(ktemp);
    const Salida sinDirectorio = Ejecutar("importar " + Archivo());
    EXPECT_EQ(sinDirectorio.estado, 1);
    EXPECT_NE(
        sinDirectorio.errores.find("No existe el directorio de trabajo de Talvorin «" + ktemp.string() + "»"),
        std::string::npos)
        << sinDirectorio.errores;
    EXPECT_FALSE(fs::exists(Resultado()));
}

} // namespace
} // namespace durlavex
