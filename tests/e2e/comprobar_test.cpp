// What durlavex-cli says of the keys Vorna will not recognise: importar after
// its summary (and --estricto), comprobar on a result file written earlier,
// the two alike on the sample school, and comprobar's usage and files.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "comun/programa.h"
#include "e2e/escuela_importacion.h"
#include "import/dbase3.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using pruebas::Salida;
using testing::EndsWith;
using testing::HasSubstr;

// The small exported school of escuela_importacion.h, one lesson of P1 in
// room A1, and an exchange file with every key of it, the room's aside.
class ComprobarCli : public testing::Test {
  protected:
    void SetUp() override
    {
        fs::create_directories(ktemp);
        pruebas::EscribirEscuelaExportada(ktemp);
        pruebas::EscribirDbase3(ktemp / "SOLUC.DBF", pruebas::kCamposSoluc,
                                {{"P1", "3", "2", "MAT", "1A", "", "A1"}});
    }

    void Intercambio(const std::string& aula)
    {
        pruebas::ArchivoIntercambio()
            .Anno("2023/2024")
            .Grupo("UNIDADES", {{"U1A"}})
            .Grupo("CURSOS_DEL_CENTRO", {{"C1"}})
            .Grupo("MATERIAS", {{"C1", "M1", "Matemáticas"}})
            .Grupo("TRAMOS_HORARIOS", {{"T32"}})
            .Grupo("DEPENDENCIAS", {{aula, "Aula"}})
            .Grupo("ACTIVIDADES", {{"S", "513", "Docencia"}})
            .Guardar(origen / "vorna.xml");
    }

    Salida Ejecutar(const std::string& argumentos)
    {
        return pruebas::EjecutarPrograma(DURLAVEX_CLI, {{"WINEPREFIX", prefijo.Ruta().string()}}, argumentos,
                                         salidas.Ruta());
    }

    std::string Archivo() const { return "'" + (origen / "vorna.xml").string() + "'"; }
    fs::path Resultado() const { return origen / "ResultadoTalvosvorna.xml"; }
    std::string Comprobar() const { return "comprobar '" + Resultado().string() + "' " + Archivo(); }

    pruebas::DirectorioTemporal prefijo;
    pruebas::DirectorioTemporal origen;
    pruebas::DirectorioTemporal salidas;
    fs::path ktemp = prefijo.Ruta() / "drive_c" / "KTEMP";
};

constexpr const char* kResumen = "Profesores escritos: 2\nActividades escritas: 1\nProceso finalizado\n\n";

TEST_F(ComprobarCli, SinProblemasUnaLineaTrasElResumen)
{
    Intercambio("A1");
    for (const char* opcion : {"", " --estricto"}) {
        const Salida s = Ejecutar("importar " + Archivo() + opcion);
        EXPECT_EQ(s.estado, 0) << opcion << s.errores;
        EXPECT_THAT(s.salida,
                    EndsWith(std::string(kResumen) +
                             "Comprobación para Vorna: Vorna reconocerá las claves de la única lección.\n"));
    }
    const Salida c = Ejecutar(Comprobar());
    EXPECT_EQ(c.estado, 0) << c.errores;
    EXPECT_EQ(c.salida, "Comprobación para Vorna de «" + Resultado().string() + "» con «" +
                            (origen / "vorna.xml").string() +
                            "»: Vorna reconocerá las claves de la única lección.\n");
}

// A room Vorna has no code for: the report after the summary, and the file
// written all the same; --estricto ends with 3, and comprobar says it again.
TEST_F(ComprobarCli, ClaveDesconocidaSeInformaYElArchivoQueda)
{
    Intercambio("A-1");
    const std::string informe =
        "Comprobación para Vorna: 1 de 1 lección lleva claves que Vorna no reconocerá: Vorna rechazará esas "
        "lecciones o las dejará fuera sin avisar.\n\n"
        "Dependencias que Vorna no conoce (X_DEPENDENCIA): 1 lección, una sola clave.\n";
    const std::string ejemplo = "  - «A1»: profesor P1 (Ana Pérez); en SOLUC.DBF DIA 3, HORA 2, ASIG «MAT», "
                                "CODGRUPO «1A», AULA «A1», TAREA «»\n";

    const Salida s = Ejecutar("importar " + Archivo());
    EXPECT_EQ(s.estado, 0) << s.errores;
    EXPECT_THAT(s.salida, HasSubstr(std::string(kResumen) + informe));
    EXPECT_THAT(s.salida, EndsWith(ejemplo));
    EXPECT_EQ(s.errores, "");

    fs::remove(Resultado());
    const Salida estricto = Ejecutar("importar --estricto " + Archivo());
    EXPECT_EQ(estricto.estado, 3);
    EXPECT_EQ(estricto.salida, s.salida);
    EXPECT_EQ(estricto.errores, "Hay lecciones que Vorna no reconocerá (--estricto): estado 3. El archivo de "
                                "resultado queda escrito.\n");
    EXPECT_THAT(pruebas::LeerArchivo(Resultado()),
                HasSubstr("<dato nombre_dato=\"X_DEPENDENCIA\">A1</dato>"));

    const Salida c = Ejecutar(Comprobar());
    EXPECT_EQ(c.estado, 3) << c.errores;
    EXPECT_THAT(c.salida,
                HasSubstr("Dependencias que Vorna no conoce (X_DEPENDENCIA): 1 lección, una sola clave.\n"));
    EXPECT_THAT(c.salida, HasSubstr("  - «A1»: profesor 1001, día 3 de 09:00 a 09:55 (ACTIVIDAD_1 de "
                                    "HORARIO_REGULAR_PROFESOR_1, línea "));
}

TEST_F(ComprobarCli, UsoYArchivosDeComprobar)
{
    Intercambio("A1");
    ASSERT_EQ(Ejecutar("importar " + Archivo()).estado, 0);
    struct Caso {
        std::string argumentos;
        int estado;
        std::string errores; // the beginning of standard error
    };
    const std::string resultado = "'" + Resultado().string() + "'";
    const Caso casos[] = {
        {"comprobar", 2,
         "Faltan archivos: el de resultado (RESULTADO.xml) y el de intercambio (INTERCAMBIO.xml), "
         "en ese orden.\nUso: durlavex-cli comprobar RESULTADO.xml INTERCAMBIO.xml\n"},
        {"comprobar " + resultado, 2, "Faltan archivos"},
        {"comprobar " + resultado + " " + Archivo() + " " + Archivo(), 2, "Sobran argumentos"},
        {"comprobar -x " + resultado + " " + Archivo(), 2, "Opción desconocida: -x\n"},
        {"comprobar " + resultado + " '" + (origen / "no-esta.xml").string() + "'", 3,
         "No existe archivo «" + (origen / "no-esta.xml").string() + "»\n"},
        {"comprobar " + Archivo() + " " + resultado, 1,
         "El archivo «" + Resultado().string() + "» es un archivo de resultado de una importación"},
    };
    for (const Caso& caso : casos) {
        const Salida s = Ejecutar(caso.argumentos);
        EXPECT_EQ(s.estado, caso.estado) << caso.argumentos;
        EXPECT_THAT(s.errores, testing::StartsWith(caso.errores)) << caso.argumentos;
        EXPECT_EQ(s.salida, "") << caso.argumentos;
    }
}

// The sample school exported, timetabled and imported: whatever its data,
// comprobar finds in the result file what the import found while writing it.
TEST(ComprobarEjemplo, ComprobarDiceLoMismoQueLaImportacion)
{
    pruebas::DirectorioTemporal prefijo, origen, salidas;
    const fs::path ktemp = prefijo.Ruta() / "drive_c" / "KTEMP";
    fs::create_directories(ktemp);
    fs::copy_file(fs::path(DURLAVEX_SOURCE_DIR) / "data" / "ejemplo" / "vorna_ejemplo.xml",
                  origen / "vorna_ejemplo.xml");
    const auto ejecutar = [&](const std::string& argumentos) {
        return pruebas::EjecutarPrograma(
            DURLAVEX_CLI,
            {{"WINEPREFIX", prefijo.Ruta().string()}, {"XDG_DATA_HOME", (prefijo / "datos").string()}},
            argumentos, salidas.Ruta());
    };
    const std::string ejemplo = "'" + (origen / "vorna_ejemplo.xml").string() + "'";
    ASSERT_EQ(ejecutar("exportar " + ejemplo + " --plantilla J1").estado, 0);
    fs::copy_file(DURLAVEX_SOLUC_EJEMPLO, ktemp / "SOLUC.DBF");
    const Salida importar = ejecutar("importar " + ejemplo);
    ASSERT_EQ(importar.estado, 0) << importar.errores;
    const Salida comprobar =
        ejecutar("comprobar '" + (origen / "ResultadoTalvosvorna_ejemplo.xml").string() + "' " + ejemplo);

    // The report's first line, and every count and key, the same; only the
    // lessons are told otherwise (SOLUC's values, or the record's place).
    const auto informe = [](const std::string& salida) {
        const std::string desde = salida.substr(salida.find("Comprobación para Vorna"));
        std::string sinEjemplos;
        for (std::size_t inicio = 0; inicio < desde.size();) {
            const std::size_t fin = desde.find('\n', inicio);
            std::string linea = desde.substr(inicio, fin - inicio);
            if (linea.rfind("  - «", 0) == 0)
                linea = linea.substr(0, linea.find("»: ") + 2);
            if (linea.rfind("Comprobación para Vorna", 0) == 0)
                linea = linea.substr(linea.find(": "));
            sinEjemplos += linea + "\n";
            inicio = fin == std::string::npos ? desde.size() : fin + 1;
        }
        return sinEjemplos;
    };
    EXPECT_EQ(informe(comprobar.salida), informe(importar.salida));
    const bool problemas = importar.salida.find("Vorna reconocerá las claves") == std::string::npos;
    EXPECT_EQ(comprobar.estado, problemas ? 3 : 0) << comprobar.errores;
    EXPECT_EQ(ejecutar("importar --estricto " + ejemplo).estado, problemas ? 3 : 0);
}

} // namespace
} // namespace durlavex
