// durlavex-cli exportar on a large school, stopped or disturbed at several
// moments: killed, interrupted with Ctrl+C or SIGTERM, or with another run
// started meanwhile. Talvorin's old tables stay byte for byte whatever
// happens before the end, and two runs never work in one folder at once.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "comun/contenido.h"
#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "comun/proceso.h"
#include "e2e/entorno_exportar.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using pruebas::ArchivoIntercambio;
using pruebas::Registro;
using testing::HasSubstr;

constexpr const char* kInterrumpida = "Exportación interrumpida a petición del usuario: no ha cambiado "
                                      "ninguna tabla del directorio de trabajo.\n";
constexpr const char* kOtraCorrida = "Otra exportación o importación de Durlavex está trabajando ahora";

// A school large enough for an export to take a good second: 200 courses of
// 3 groups, the same 200 subjects in each.
ArchivoIntercambio EscuelaGrande()
{
    std::vector<Registro> cursos, unidades, materias, empleados;
    for (int c = 0; c < 200; ++c) {
        const std::string clave = std::to_string(1000 + c);
        cursos.push_back({clave, std::to_string(c % 4 + 1) + "º ESO"});
        for (const char* letra : {"A", "B", "C"})
            unidades.push_back({clave + letra, "Grupo " + clave + letra, clave});
        for (int m = 0; m < 200; ++m)
            materias.push_back(
                {clave, clave + "-" + std::to_string(m), "Materia" + std::to_string(100 + m), "", "180"});
    }
    for (int p = 0; p < 3000; ++p)
        empleados.push_back({std::to_string(p), "01/09/2015", "Dep", "Ap" + std::to_string(p), "B", "C", ""});
    return ArchivoIntercambio()
        .Grupo("MATERIAS", materias)
        .Grupo("EMPLEADOS", empleados)
        .Grupo("CURSOS_DEL_CENTRO", cursos)
        .Grupo("UNIDADES", unidades)
        .Grupo("JORNADAS_ESCOLARES", {{"J1", "Mañana", "01/09/2023", "30/06/2024"}})
        .Grupo("TRAMOS_HORARIOS", {{"T1", "1ª", "480", "535", "J1"}});
}

ArchivoIntercambio EscuelaPequena()
{
    return ArchivoIntercambio()
        .Grupo("EMPLEADOS", {{"E1", "01/09/2015", "Ciencias", "García", "López", "Ana", ""}})
        .Grupo("JORNADAS_ESCOLARES", {{"J1", "Mañana", "01/09/2023", "30/06/2024"}});
}

// The files of the working directory, without what a run may leave beside
// the tables when it is killed (its staging folder and its lock file, which
// the next run clears).
std::map<std::string, std::string> Tablas(const fs::path& ktemp)
{
    std::map<std::string, std::string> tablas;
    for (const auto& entrada : fs::directory_iterator(ktemp)) {
        const std::string nombre = entrada.path().filename().string();
        if (nombre != "DURLAVEX.TMP" && nombre != "DURLAVEX.LCK")
            tablas[nombre] = pruebas::LeerArchivo(entrada.path());
    }
    return tablas;
}

class CorridasSeguras : public pruebas::EntornoExportarCli {
  public:
    static void SetUpTestSuite()
    {
        grande_ = new pruebas::DirectorioTemporal;
        EscuelaGrande().Guardar(*grande_ / "grande.xml");
    }
    static void TearDownTestSuite() { delete grande_; }

    void SetUp() override
    {
        PrepararCarpetas();
        EscuelaPequena().Guardar(archivo);
        EscribirProftViejo();
        std::ofstream(ktemp / "JORNADAS.DBF") << "jornadas viejas";
        std::ofstream(ktemp / "SOLUC.DBF") << "horario de Talvorin";
        antes_ = Tablas(ktemp);
    }

    std::unique_ptr<pruebas::ProcesoEnCurso> ExportarGrande()
    {
        return std::make_unique<pruebas::ProcesoEnCurso>(
            programa / "durlavex-cli",
            std::vector<std::string>{"exportar", (*grande_ / "grande.xml").string(), "--plantilla", "J1"},
            std::vector<std::pair<std::string, std::string>>{{"WINEPREFIX", prefijo.Ruta().string()},
                                                             {"XDG_DATA_HOME", datos.Ruta().string()}},
            salidas.Ruta());
    }

  protected:
    static pruebas::DirectorioTemporal* grande_;
    std::map<std::string, std::string> antes_;
};

pruebas::DirectorioTemporal* CorridasSeguras::grande_ = nullptr;

// Killed outright (a crash, a power cut) at several moments of the run.
class MatadaEn : public CorridasSeguras, public testing::WithParamInterface<const char*> {};

TEST_P(MatadaEn, DejaLasTablasAnterioresYLaSiguienteCorridaLimpia)
{
    auto exportacion = ExportarGrande();
    ASSERT_TRUE(exportacion->EsperarLinea(GetParam()));
    exportacion->Senal(SIGKILL);
    exportacion->Esperar();
    ASSERT_EQ(exportacion->SenalQueLoTermino(), SIGKILL) << "la exportación terminó antes de matarla";
    EXPECT_EQ(Tablas(ktemp), antes_);

    const pruebas::Salida siguiente = Ejecutar("exportar " + Archivo());
    EXPECT_EQ(siguiente.estado, 0) << siguiente.errores;
    EXPECT_FALSE(fs::exists(ktemp / "DURLAVEX.TMP"));
    EXPECT_FALSE(fs::exists(ktemp / "DURLAVEX.LCK"));
    EXPECT_EQ(pruebas::Columna(ktemp, "PROFT", "ABREV"), (std::vector<std::string>{"GLA"}));
}

INSTANTIATE_TEST_SUITE_P(Momentos, MatadaEn,
                         testing::Values("Leyendo", "Materias (ASIGNOMT, ASIGNOMT2)", "Profesores (PROFT)",
                                         "Asignaciones (ASIGT)"),
                         [](const auto& info) { return "Momento" + std::to_string(info.index); });

// Ctrl+C or a polite kill: the run stops at once, says so, exits with 1 and
// leaves nothing of its own behind.
class Interrumpida : public CorridasSeguras, public testing::WithParamInterface<int> {};

TEST_P(Interrumpida, SaleConUnoYLoDiceSinCambiarNada)
{
    auto exportacion = ExportarGrande();
    ASSERT_TRUE(exportacion->EsperarLinea("Materias (ASIGNOMT, ASIGNOMT2)"));
    exportacion->Senal(GetParam());
    const pruebas::Salida s = exportacion->Esperar();
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.errores, kInterrumpida);
    EXPECT_THAT(s.salida, testing::Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(pruebas::Instantanea(ktemp).size(), antes_.size()); // no staging folder, no lock file
    EXPECT_EQ(Tablas(ktemp), antes_);
}

INSTANTIATE_TEST_SUITE_P(Senales, Interrumpida, testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) { return info.param == SIGINT ? "SIGINT" : "SIGTERM"; });

// While one export works, a second export and an import are refused at once;
// the first goes on to its end.
TEST_F(CorridasSeguras, SoloTrabajaUnaCorridaALaVez)
{
    auto exportacion = ExportarGrande();
    ASSERT_TRUE(exportacion->EsperarLinea("Materias (ASIGNOMT, ASIGNOMT2)"));

    const pruebas::Salida otraExportacion = Ejecutar("exportar " + Archivo());
    EXPECT_EQ(otraExportacion.estado, 1);
    EXPECT_THAT(otraExportacion.errores, HasSubstr(kOtraCorrida));
    const pruebas::Salida importacion = Ejecutar("importar " + Archivo());
    EXPECT_EQ(importacion.estado, 1);
    EXPECT_THAT(importacion.errores, HasSubstr(kOtraCorrida));

    const pruebas::Salida primera = exportacion->Esperar();
    EXPECT_EQ(primera.estado, 0) << primera.errores;
    EXPECT_THAT(primera.salida, HasSubstr("Proceso finalizado"));
    EXPECT_EQ(pruebas::Columna(ktemp, "PROFT", "ABREV").size(), 3000u);
    EXPECT_FALSE(fs::exists(ktemp / "DURLAVEX.LCK"));
}

} // namespace
} // namespace durlavex
