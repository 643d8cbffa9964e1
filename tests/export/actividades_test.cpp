#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "export/contexto_exportacion.h"
#include "export/fixture_exportacion.h"

namespace durlavex {
namespace {

using pruebas::Ansi;
using pruebas::ArchivoIntercambio;
using pruebas::EntornoExportacion;
using pruebas::Filas;
using pruebas::Registro;

const std::vector<std::string> kCampos = {"COD", "CODLARGO", "NOMBRE", "CODTAREA", "ESTAREA"};

// The activities stand after the subjects, in the order of their records,
// each as a task; a code equal to a subject's short code, or to another
// activity's, is kept as it comes.
TEST(ExportarActividades, SeAnadenTrasLasMaterias)
{
    EntornoExportacion e(
        ArchivoIntercambio()
            .Grupo("MATERIAS", {{"O1", "S1", "Lengua", "LEN"}, {"O1", "S2", "Guardia", "GUA"}})
            .Grupo("ACTIVIDADES", {{"1", "GUA", "Guardia de recreo"},
                                   {"2", "REU", "Reunión"},
                                   {"3", "REU", "Reunión de departamento"}}));
    ExportarMaterias(e.ctx);
    ExportarActividades(e.ctx);

    EXPECT_EQ(e.Leer("ASIGNOMT", kCampos), Ansi(Filas{
                                               {"LEN", "LEN", "Lengua", "", "F"},
                                               {"GUA", "GUA", "Guardia", "", "F"},
                                               {"GUA", "Guardia de", "Guardia de recreo", "GUA", "T"},
                                               {"REU", "Reunión", "Reunión", "REU", "T"},
                                               {"REU", "Reunión de", "Reunión de departamento", "REU", "T"},
                                           }));
    EXPECT_EQ(e.ctx.HayTarea513, 0);
}

// One ACTIVIDADES record: the row it gives (COD, CODLARGO, NOMBRE, CODTAREA)
// and HayTarea513 after the step.
struct CasoActividad {
    const char* nombre;
    Registro registro;
    Filas filas;
    int hayTarea513;
    friend void PrintTo(const CasoActividad& c, std::ostream* os) { *os << c.nombre; }
};

const CasoActividad kCasos[] = {
    {"Codigo513", {"x", "513", "Sin actividad"}, {{"513", "Sin activi", "Sin actividad", "513"}}, 1},
    {"Codigo513ConBlancos",
     {"x", " 513 ", "Sin actividad"},
     {{"513", "Sin activi", "Sin actividad", "513"}},
     1},
    {"Codigo0513NoEs513", {"x", "0513", "Otra"}, {{"0513", "Otra", "Otra", "0513"}}, 0},
    {"Codigo5130NoEs513", {"x", "5130", "Otra"}, {{"5130", "Otra", "Otra", "5130"}}, 0},
    {"CodigoDeDoce", {"x", "ACTIVIDAD123", "Otra"}, {{"ACTIVIDAD1", "Otra", "Otra", "ACTIVIDAD123"}}, 0},
    {"CodigoDeOnce", {"x", "ACTIVIDAD12", "Otra"}, {{"ACTIVIDAD1", "Otra", "Otra", "ACTIVIDAD12"}}, 0},
    {"NombreDeDiez", {"x", "G", "Guardia 10"}, {{"G", "Guardia 10", "Guardia 10", "G"}}, 0},
    {"NombreCortadoAntesDeUnBlanco",
     {"x", "R", "Recreo de tarde"},
     {{"R", "Recreo de", "Recreo de tarde", "R"}},
     0},
    {"DosDatosSinNombre", {"x", "513"}, {{"513", "", "", "513"}}, 1},
    {"UnDatoSeOmite", {"513"}, {}, 0},
};

class ExportarActividadesTest : public testing::TestWithParam<CasoActividad> {};

TEST_P(ExportarActividadesTest, EscribeLaFilaYFijaHayTarea513)
{
    const CasoActividad& c = GetParam();
    EntornoExportacion e(ArchivoIntercambio().Grupo("ACTIVIDADES", {c.registro}));
    ExportarMaterias(e.ctx);
    e.ctx.HayTarea513 = 1 - c.hayTarea513; // the step must settle it afresh
    ExportarActividades(e.ctx);
    EXPECT_EQ(e.Leer("ASIGNOMT", {"COD", "CODLARGO", "NOMBRE", "CODTAREA"}), Ansi(c.filas));
    EXPECT_EQ(e.ctx.HayTarea513, c.hayTarea513);
}

INSTANTIATE_TEST_SUITE_P(Casos, ExportarActividadesTest, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// The code every ordinary lesson carries: "513" wherever it stands, else the
// first activity named "Docencia", else none.
struct CasoDocencia {
    const char* nombre;
    std::vector<Registro> actividades;
    const char* tarea;
    friend void PrintTo(const CasoDocencia& c, std::ostream* os) { *os << c.nombre; }
};

const CasoDocencia kCasosDocencia[] = {
    {"LaDeVornaSeLlamaDocencia", {{"S", "2", "Guardia"}, {"S", "1", "Docencia"}}, "1"},
    {"El513GanaAunqueVengaDespues", {{"S", "1", "Docencia"}, {"S", "513", "Horas lectivas"}}, "513"},
    {"LaPrimeraDocenciaSinMirarMayusculasNiBlancos",
     {{"S", "7", "  DOCENCIA "}, {"S", "8", "Docencia"}},
     "7"},
    {"OtroNombreNoEsDocencia", {{"S", "3", "Docencia directa"}, {"S", "4", "Tutoría"}}, ""},
    {"SinActividades", {}, ""},
};

class TareaDocenciaTest : public testing::TestWithParam<CasoDocencia> {};

TEST_P(TareaDocenciaTest, SeFijaAlLeerLasActividades)
{
    const CasoDocencia& c = GetParam();
    EntornoExportacion e(ArchivoIntercambio().Grupo("ACTIVIDADES", c.actividades));
    ExportarMaterias(e.ctx);
    e.ctx.TareaDocencia = "viejo"; // the step settles it afresh
    ExportarActividades(e.ctx);
    EXPECT_EQ(e.ctx.TareaDocencia, c.tarea);
    EXPECT_EQ(e.ctx.HayTarea513, std::string(c.tarea) == "513" ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Casos, TareaDocenciaTest, testing::ValuesIn(kCasosDocencia),
                         [](const auto& info) { return std::string(info.param.nombre); });

// The subject step's lists are of no use after this step; an empty group
// discards them too and leaves HayTarea513 at 0.
TEST(ExportarActividades, DescartaLasListasDeMaterias)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("MATERIAS", {{"O1", "S1", "Lengua", "LEN"}}));
    ExportarMaterias(e.ctx);
    ASSERT_EQ(e.ctx.ListaCodigos.Tamano(), 1u);
    e.ctx.HayTarea513 = 1;
    ExportarActividades(e.ctx);
    EXPECT_EQ(e.ctx.ListaCodigos.Tamano(), 0u);
    EXPECT_EQ(e.ctx.ListaCodLargos.Tamano(), 0u);
    EXPECT_EQ(e.ctx.ListaNombres.Tamano(), 0u);
    EXPECT_EQ(e.ctx.ListaCodNombres.Tamano(), 0u);
    EXPECT_EQ(e.ctx.HayTarea513, 0);
    EXPECT_EQ(e.Columna("ASIGNOMT", "COD"), (std::vector<std::string>{"LEN"}));
}

} // namespace
} // namespace durlavex
