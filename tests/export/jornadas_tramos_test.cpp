#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "export/contexto_exportacion.h"
#include "export/fixture_exportacion.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"
#include "tables/esquemas.h"

namespace durlavex {
namespace {

using pruebas::ArchivoIntercambio;
using pruebas::EntornoExportacion;
using pruebas::Fila;
using pruebas::Filas;
using pruebas::Registro;
using testing::HasSubstr;

const std::vector<std::string> kCamposDiasHoras = {"DIHO",     "CODDIHO",   "DIA",       "TEXTODIA", "HORA",
                                                   "TEXTOHOR", "HORADESDE", "HORAHASTA", "MINUTOS"};

ArchivoIntercambio Plantillas(const std::vector<Registro>& jornadas, const std::vector<Registro>& tramos)
{
    return ArchivoIntercambio().Grupo("JORNADAS_ESCOLARES", jornadas).Grupo("TRAMOS_HORARIOS", tramos);
}

// The seven rows of one slot, days 1 to 7, as both day-hour tables hold them.
Filas SieteDias(const std::string& hora, const std::string& codigo, const std::string& texto,
                const std::string& desde, const std::string& hasta, const std::string& minutos)
{
    Filas filas;
    for (int dia = 1; dia <= 7; ++dia)
        filas.push_back({std::to_string(dia) + hora, codigo, std::to_string(dia), "", hora, texto, desde,
                         hasta, minutos});
    return filas;
}

Filas Unir(std::initializer_list<Filas> partes)
{
    Filas todas;
    for (const Filas& parte : partes)
        todas.insert(todas.end(), parte.begin(), parte.end());
    return todas;
}

std::vector<std::string> Orden(const EntornoExportacion& e)
{
    return e.Columna("DIASHORAST2", "ORDEN");
}

const std::vector<Registro> kJornadasEjemplo = {
    {"J1", "Jornada de mañana", "01/09/2023", "30/06/2024"},
    {"J2", "Jornada de tarde", "01/09/2023", "30/06/2024"},
};
const std::vector<Registro> kTramosEjemplo = {
    {"T1", "1H", "600", "655", "J2"},
    {"T2", "2H", "540", "595", "J1"},
    {"T3", "3H", "480", "535", "J1"},
};

TEST(ExportarJornadasTramos, EjemploCompleto)
{
    EntornoExportacion e(Plantillas(kJornadasEjemplo, kTramosEjemplo), "J1");

    ExportarJornadasTramos(e.ctx);

    EXPECT_EQ(e.interaccion.plantillasPedidas, 1);
    EXPECT_EQ(e.ctx.JornadaElegida, "J1");
    EXPECT_EQ(e.Leer("DIASHORAST2", kCamposDiasHoras),
              Unir({SieteDias("2", "T2", "2H", "09:00", "09:55", "55"),
                    SieteDias("3", "T3", "3H", "08:00", "08:55", "55")}));
    std::vector<std::string> orden(7, "540");
    orden.insert(orden.end(), 7, "480");
    EXPECT_EQ(Orden(e), orden);
    EXPECT_EQ(e.Leer("DIASHORAST", kCamposDiasHoras),
              Unir({SieteDias("1", "T3", "3H", "08:00", "08:55", "55"),
                    SieteDias("2", "T2", "2H", "09:00", "09:55", "55")}));
    EXPECT_EQ(e.Leer("PERIODOS", {"CJORNADA", "JORNADA", "FECINI", "FECFIN"}),
              pruebas::Ansi(Filas{{"J1", "Jornada de mañana", "01/09/2023", "30/06/2024"}}));
}

TEST(ExportarJornadasTramos, ElIndiceOrdenEstaEnElMdx)
{
    EntornoExportacion e(Plantillas({{"J1"}}, {}));
    ExportarJornadasTramos(e.ctx);
    auto archivo = dbf::ArchivoDbf::Abrir(e.trabajo / "DIASHORAST2.DBF", dbf::Acceso::Compartido);
    ASSERT_EQ(archivo->Indices().size(), 1u);
    EXPECT_EQ(archivo->Indices()[0].etiqueta, "ORDEN");
    EXPECT_EQ(archivo->Indices()[0].campo, "ORDEN");
}

// One slot of the only template: the clock texts and minutes it gets.
struct CasoReloj {
    const char* nombre;
    std::string desde;
    std::string hasta;
    Fila esperado; // HORADESDE, HORAHASTA, MINUTOS, ORDEN
    friend void PrintTo(const CasoReloj& c, std::ostream* os) { *os << c.nombre; }
};

const CasoReloj kCasosReloj[] = {
    {"MinutosSueltos", "485", "540", {"08:05", "09:00", "55", "485"}},
    {"MedianocheYUltimoMinuto", "0", "1439", {"00:00", "23:59", "1439", "0"}},
    {"FinAntesDelInicio", "900", "895", {"15:00", "14:55", "-5", "900"}},
    {"MasDeCienHoras", "6000", "6060", {"100:00", "101:00", "60", "6000"}},
    {"ConBlancosAlrededor", " 480", "535\n", {"08:00", "08:55", "55", "480"}},
    {"ConSignoMas", "+60", "120", {"01:00", "02:00", "60", "60"}},
};

class Reloj : public testing::TestWithParam<CasoReloj> {};

TEST_P(Reloj, TextosDelTramo)
{
    const CasoReloj& c = GetParam();
    EntornoExportacion e(Plantillas({{"J1"}}, {{"T1", "1H", c.desde, c.hasta, "J1"}}));
    ExportarJornadasTramos(e.ctx);
    const Filas filas = e.Leer("DIASHORAST2", {"HORADESDE", "HORAHASTA", "MINUTOS", "ORDEN"});
    EXPECT_EQ(filas, Filas(7, c.esperado));
    EXPECT_EQ(e.Leer("DIASHORAST", {"HORADESDE", "HORAHASTA", "MINUTOS"}),
              Filas(7, Fila(c.esperado.begin(), c.esperado.begin() + 3)));
}

INSTANTIATE_TEST_SUITE_P(Tramos, Reloj, testing::ValuesIn(kCasosReloj),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Slots of the chosen template that stop the step, with what the error says.
struct CasoTramoErroneo {
    const char* nombre;
    Registro tramo;
    std::string mensaje; // a piece of it
    friend void PrintTo(const CasoTramoErroneo& c, std::ostream* os) { *os << c.nombre; }
};

const CasoTramoErroneo kCasosErroneos[] = {
    {"InicioVacio", {"T9", "9H", "", "600", "J1"}, "'' no es un valor entero válido"},
    {"FinVacio", {"T9", "9H", "540", "", "J1"}, "'' no es un valor entero válido"},
    {"InicioConDosPuntos", {"T9", "9H", "8:00", "600", "J1"}, "'8:00' no es un valor entero válido"},
    {"InicioNegativo", {"T9", "9H", "-5", "600", "J1"}, "El tramo horario «T9» empieza en el minuto -5"},
    {"FinNegativo", {"T9", "9H", "0", "-1", "J1"}, "El tramo horario «T9» termina en el minuto -1"},
};

class TramoErroneo : public testing::TestWithParam<CasoTramoErroneo> {};

TEST_P(TramoErroneo, DetieneConLasFilasAnteriores)
{
    const CasoTramoErroneo& c = GetParam();
    EntornoExportacion e(
        Plantillas({{"J1", "Mañana", "a", "b"}}, {{"T1", "1H", "480", "535", "J1"}, c.tramo}));
    EXPECT_THAT([&] { ExportarJornadasTramos(e.ctx); }, testing::ThrowsMessage<Error>(HasSubstr(c.mensaje)));
    EXPECT_EQ(e.Columna("DIASHORAST2", "CODDIHO"), std::vector<std::string>(7, "T1"));
    EXPECT_TRUE(e.Leer("DIASHORAST", {"DIHO"}).empty());
    EXPECT_TRUE(e.Leer("PERIODOS", {"CJORNADA"}).empty());
}

INSTANTIATE_TEST_SUITE_P(Tramos, TramoErroneo, testing::ValuesIn(kCasosErroneos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(ExportarJornadasTramos, TramosDeOtraPlantillaNoSeConviertenPeroCuentan)
{
    EntornoExportacion e(Plantillas({{"J1"}}, {{"X1", "1H", "no", "-5", "J2"},
                                               {"T2"},
                                               {"X3", "3H", "", "", "j1"},
                                               {"T4", "4H", "600", "655", "J1"}}));
    ExportarJornadasTramos(e.ctx);
    EXPECT_EQ(e.interaccion.plantillasPedidas, 0);
    EXPECT_EQ(e.Columna("DIASHORAST2", "DIHO"),
              (std::vector<std::string>{"13", "23", "33", "43", "53", "63", "73"}));
    EXPECT_EQ(e.Columna("DIASHORAST", "DIHO"),
              (std::vector<std::string>{"11", "21", "31", "41", "51", "61", "71"}));
}

TEST(ExportarJornadasTramos, MismoInicioMismaHoraEnElOrdenEnQueSeAnadieron)
{
    EntornoExportacion e(Plantillas(
        {{"J1"}},
        {{"TB", "B", "540", "570", "J1"}, {"TA", "A", "480", "535", "J1"}, {"TC", "C", "540", "595", "J1"}}));
    ExportarJornadasTramos(e.ctx);
    const Filas filas = e.Leer("DIASHORAST", {"DIHO", "HORA", "CODDIHO"});
    ASSERT_EQ(filas.size(), 21u);
    EXPECT_EQ(filas[0], (Fila{"11", "1", "TA"}));
    EXPECT_EQ(filas[6], (Fila{"71", "1", "TA"}));
    EXPECT_EQ(filas[7], (Fila{"12", "2", "TB"}));
    EXPECT_EQ(filas[13], (Fila{"72", "2", "TB"}));
    EXPECT_EQ(filas[14], (Fila{"12", "2", "TC"}));
    EXPECT_EQ(filas[20], (Fila{"72", "2", "TC"}));
}

// The template each way of settling it gives, and the rows that follow.
struct CasoEleccion {
    const char* nombre;
    std::vector<Registro> jornadas;
    std::string respuesta; // what the person picks when asked
    int preguntas;
    std::string elegida;
    Filas periodos;        // CJORNADA, JORNADA
    std::size_t filasDias; // rows of DIASHORAST
    friend void PrintTo(const CasoEleccion& c, std::ostream* os) { *os << c.nombre; }
};

const std::vector<Registro> kTramosEleccion = {
    {"T1", "1H", "480", "535", "J1"}, {"T2", "2H", "540", "595", "J2"}, {"T3", "3H", "600", "655", ""}};

const CasoEleccion kCasosEleccion[] = {
    {"UnaPlantillaSinPreguntar", {{" J2 ", "Tarde"}}, "J1", 0, "J2", {{"J2", "Tarde"}}, 7},
    {"VariasSePregunta", {{"J1", "Mañana"}, {"J2", "Tarde"}}, "J2", 1, "J2", {{"J2", "Tarde"}}, 7},
    {"RespuestaConBlancosSeRecorta",
     {{"J1", "Mañana"}, {"J2", "Tarde"}},
     " J1 ",
     1,
     "J1",
     {{"J1", "Mañana"}},
     7},
    {"RespuestaQueNoEsPlantilla", {{"J1", "Mañana"}, {"J2", "Tarde"}}, "J9", 1, "J9", {}, 0},
    {"VariasFilasDeLaElegidaEnPeriodos",
     {{"J1", "Primer trimestre"}, {"J2", "Tarde"}, {"J1", "Segundo trimestre"}},
     "J1",
     1,
     "J1",
     {{"J1", "Primer trimestre"}, {"J1", "Segundo trimestre"}},
     7},
    {"PlantillaSinTramos", {{"J3", "Sábados"}}, "", 0, "J3", {{"J3", "Sábados"}}, 0},
    // Without any template there is no grid to build: a slot without a
    // template code does not slip in as the empty choice.
    {"SinPlantillas", {}, "", 0, "", {}, 0},
    {"PlantillaDeCodigoVacioTomaSusTramos", {{"", "Sin código"}}, "", 0, "", {{"", "Sin código"}}, 7},
};

class Eleccion : public testing::TestWithParam<CasoEleccion> {};

TEST_P(Eleccion, PlantillaYFilas)
{
    const CasoEleccion& c = GetParam();
    EntornoExportacion e(Plantillas(c.jornadas, kTramosEleccion), c.respuesta);
    ExportarJornadasTramos(e.ctx);
    EXPECT_EQ(e.interaccion.plantillasPedidas, c.preguntas);
    EXPECT_EQ(e.ctx.JornadaElegida, c.elegida);
    EXPECT_EQ(e.Leer("PERIODOS", {"CJORNADA", "JORNADA"}), pruebas::Ansi(c.periodos));
    EXPECT_EQ(e.Leer("DIASHORAST", {"DIHO"}).size(), c.filasDias);
    EXPECT_EQ(e.Leer("DIASHORAST2", {"DIHO"}).size(), c.filasDias);
}

INSTANTIATE_TEST_SUITE_P(Jornadas, Eleccion, testing::ValuesIn(kCasosEleccion),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(ExportarJornadasTramos, QuitaJornadasYSustituyeLasTablasAnteriores)
{
    EntornoExportacion e(Plantillas({{"J1", "Nueva"}}, {}));
    ExportarJornadasTramos(e.ctx);
    e.Cargar(Plantillas({{"J1", "Vieja"}}, {{"T1", "1H", "480", "535", "J1"}}));
    ExportarJornadasTramos(e.ctx);
    std::ofstream(e.trabajo / "jornadas.dbf") << "tabla vieja";
    std::ofstream(e.trabajo / "JORNADAS.MDX") << "índice viejo";
    e.Cargar(Plantillas({{"J1", "Nueva"}}, {}));

    ExportarJornadasTramos(e.ctx);

    EXPECT_FALSE(e.Existe("jornadas.dbf"));
    EXPECT_TRUE(e.Existe("JORNADAS.MDX"));
    EXPECT_TRUE(e.Leer("DIASHORAST", {"DIHO"}).empty());
    EXPECT_TRUE(e.Leer("DIASHORAST2", {"DIHO"}).empty());
    EXPECT_EQ(e.Leer("PERIODOS", {"JORNADA"}), (Filas{{"Nueva"}}));
}

} // namespace
} // namespace durlavex
