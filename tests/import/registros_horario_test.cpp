// The lesson and teacher records: Talvorin's codes turned back into Vorna's
// keys, first match in table order, with every fallback.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "import/fixture_importacion.h"
#include "import/registros_horario.h"
#include "platform/error.h"

namespace durlavex {
namespace {

using pruebas::EntornoImportacion;
using pruebas::Escuela;
using pruebas::FilaSoluc;
using Valores = std::vector<std::string>;

// N_DIASEMANA, X_TRAMO, X_DEPENDENCIA, X_UNIDAD, X_OFERTAMATRIG, X_MATERIAOMG,
// F_INICIO, F_FIN, N_HORINI, N_HORFIN, X_ACTIVIDAD
const Valores kNombresDatos = {"N_DIASEMANA",    "X_TRAMO",      "X_DEPENDENCIA", "X_UNIDAD",
                               "X_OFERTAMATRIG", "X_MATERIAOMG", "F_INICIO",      "F_FIN",
                               "N_HORINI",       "N_HORFIN",     "X_ACTIVIDAD"};

struct CasoLeccion {
    std::string nombre;
    FilaSoluc leccion;                    // a lesson of P1
    std::function<void(Escuela&)> cambio; // what the case changes in the base school
    Valores esperado;
};

void SinCambio(Escuela&) {}

const CasoLeccion kCasosLeccion[] = {
    {"DiaTresHoraDosEsElTramo32",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     SinCambio,
     {"3", "T-32", "A1", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "540", "595", ""}},
    {"TramoDesconocidoDaVaciosYCeros",
     {"P1", "5", "9", "MAT", "1A", "", "A1"},
     SinCambio,
     {"", "", "A1", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "0", "0", ""}},
    {"AulaDeBlancosYControlesQuedaVacia",
     {"P1", "1", "1", "MAT", "1A", "", " \t "},
     SinCambio,
     {"1", "T-11", "", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "480", "535", ""}},
    {"SinFilaEnAsigtCursoDeGrupostYMateriaDeAsignomt2",
     {"P1", "1", "1", "MAT", "2B", "", "A1"},
     SinCambio,
     {"1", "T-11", "A1", "U2B", "C2", "M-MAT-2", "01/09/2023", "30/06/2024", "480", "535", ""}},
    {"SinFilaEnAsigtNiEnAsignomt2MateriaVacia",
     {"P1", "1", "1", "LEN", "2B", "", "A1"},
     SinCambio,
     {"1", "T-11", "A1", "U2B", "C2", "", "01/09/2023", "30/06/2024", "480", "535", ""}},
    {"GrupoDesconocidoSinUnidadNiCurso",
     {"P1", "1", "1", "LEN", "9Z", "", "A1"},
     SinCambio,
     {"1", "T-11", "A1", "", "", "", "01/09/2023", "30/06/2024", "480", "535", ""}},
    {"ClaveCursoEnBlancoEnAsigtSeTomaDeGrupost",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) {
         e.asigt = {{{"CASIG", "MAT"}, {"CGRUP", "1A"}, {"CLAVE", "M-MAT"}}};
     },
     {"3", "T-32", "A1", "U1A", "C1", "M-MAT", "01/09/2023", "30/06/2024", "540", "595", ""}},
    {"ClaveEnBlancoEnAsigtSeBuscaEnAsignomt2ConElCurso",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) {
         e.asigt = {{{"CASIG", "MAT"}, {"CGRUP", "1A"}, {"CLAVECURSO", "C2"}}};
     },
     {"3", "T-32", "A1", "U1A", "C2", "M-MAT-2", "01/09/2023", "30/06/2024", "540", "595", ""}},
    {"DosFilasDeAsigtGanaLaPrimera",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) {
         e.asigt.push_back({{"CASIG", "MAT"}, {"CGRUP", "1A"}, {"CLAVE", "OTRA"}, {"CLAVECURSO", "OTRO"}});
     },
     {"3", "T-32", "A1", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "540", "595", ""}},
    {"DosFilasConElMismoDihoGanaLaPrimera",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) {
         e.diashorast.push_back({{"DIHO", "32"},
                                 {"DIA", "4"},
                                 {"CODDIHO", "OTRO"},
                                 {"HORADESDE", "10:00"},
                                 {"HORAHASTA", "10:55"}});
     },
     {"3", "T-32", "A1", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "540", "595", ""}},
    {"LetrasDistintasEnMayusculasNoCoinciden",
     {"P1", "3", "2", "mat", "1a", "", "A1"},
     SinCambio,
     {"3", "T-32", "A1", "", "", "", "01/09/2023", "30/06/2024", "540", "595", ""}},
    {"TareaDeSolucSeConservaAunqueAsignomtTraigaOtra",
     {"P1", "3", "2", "GUA", "1A", "600", "A1"},
     SinCambio,
     {"3", "T-32", "A1", "U1A", "C1", "", "01/09/2023", "30/06/2024", "540", "595", "600"}},
    {"ActividadTomaSuCodigoDeAsignomt",
     {"P1", "3", "2", "GUA", "1A", "", "A1"},
     SinCambio,
     {"3", "T-32", "A1", "U1A", "C1", "", "01/09/2023", "30/06/2024", "540", "595", "376"}},
    {"Con513EnAsignomtLaClaseOrdinariaLlevaEl513",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) {
         e.asignomt.push_back({{"COD", "513"}, {"NOMBRE", "Docencia"}, {"CODTAREA", "513"}});
     },
     {"3", "T-32", "A1", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "540", "595", "513"}},
    {"Con513LaActividadConservaSuCodigo",
     {"P1", "3", "2", "GUA", "1A", "", "A1"},
     [](Escuela& e) {
         e.asignomt.push_back({{"COD", "513"}, {"NOMBRE", "Docencia"}});
     },
     {"3", "T-32", "A1", "U1A", "C1", "", "01/09/2023", "30/06/2024", "540", "595", "376"}},
    {"SinEl513LaClaseOrdinariaLlevaLaTareaLlamadaDocencia",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) {
         e.asignomt.push_back({{"COD", "9"}, {"NOMBRE", "Guardia"}, {"CODTAREA", "9"}, {"ESTAREA", "T"}});
         e.asignomt.push_back({{"COD", "1"}, {"NOMBRE", " docencia "}, {"CODTAREA", "1"}, {"ESTAREA", "T"}});
         e.asignomt.push_back({{"COD", "2"}, {"NOMBRE", "Docencia"}, {"CODTAREA", "2"}, {"ESTAREA", "T"}});
     },
     {"3", "T-32", "A1", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "540", "595", "1"}},
    {"UnaMateriaLlamadaDocenciaNoEsLaTarea",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) {
         e.asignomt.push_back({{"COD", "DOC"}, {"NOMBRE", "Docencia"}, {"ESTAREA", "F"}});
     },
     {"3", "T-32", "A1", "U1A", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "540", "595", ""}},
    {"PeriodosSinFilasDaFechasVacias",
     {"P1", "3", "2", "MAT", "1A", "", "A1"},
     [](Escuela& e) { e.periodos.clear(); },
     {"3", "T-32", "A1", "U1A", "C1-A", "M-MAT", "", "", "540", "595", ""}},
    {"HoraSinCeroInicialYTextoAcentuado",
     {"P1", "3", "2", "MAT", "1A", "", "Música"},
     [](Escuela& e) {
         e.diashorast = {{{"DIHO", "32"},
                          {"DIA", "3"},
                          {"CODDIHO", "T-32"},
                          {"HORADESDE", "8:05"},
                          {"HORAHASTA", "14:30"}}};
         e.grupost[0]["CLAVE"] = "Unidad ñ";
     },
     {"3", "T-32", "Música", "Unidad ñ", "C1-A", "M-MAT", "01/09/2023", "30/06/2024", "485", "870", ""}},
};

void PrintTo(const CasoLeccion& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class LeccionTest : public testing::TestWithParam<CasoLeccion> {};

TEST_P(LeccionTest, DatosDeLaLeccion)
{
    const CasoLeccion& caso = GetParam();
    EntornoImportacion e;
    caso.cambio(e.escuela);
    // A second teacher's ordinary lesson: a SOLUC whose only lesson matched
    // nothing exported would be refused as another school's.
    e.escuela.proft.push_back({{"ABREV", "P2"}, {"X_EMPLEADO", "1002"}, {"F_TOMAPOS", "01/09/2016"}});
    e.escuela.soluc = {caso.leccion, {"P2", "1", "1", "MAT", "1A", "", ""}};
    e.Preparar();

    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    const auto leido = e.Leer();
    ASSERT_EQ(leido.profesores.size(), 2u);
    ASSERT_EQ(leido.profesores[0].lecciones.size(), 1u);
    EXPECT_EQ(leido.profesores[0].lecciones[0].seq, "ACTIVIDAD_1");
    EXPECT_EQ(leido.profesores[0].lecciones[0].nombres, kNombresDatos);
    EXPECT_EQ(leido.profesores[0].lecciones[0].valores, caso.esperado);
}

INSTANTIATE_TEST_SUITE_P(Casos, LeccionTest, testing::ValuesIn(kCasosLeccion),
                         [](const auto& info) { return info.param.nombre; });

// Every lesson starts from empty values: nothing found for one lesson is
// taken from the lesson before.
TEST(Registros, CadaLeccionEmpiezaSinLosValoresDeLaAnterior)
{
    EntornoImportacion e;
    e.escuela.soluc = {{"P1", "3", "2", "MAT", "1A", "", "A1"}, {"P1", "5", "9", "LEN", "9Z", "", ""}};
    e.Preparar();
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);
    const auto leido = e.Leer();
    ASSERT_EQ(leido.profesores[0].lecciones.size(), 2u);
    EXPECT_EQ(leido.profesores[0].lecciones[1].valores,
              (Valores{"", "", "", "", "", "", "01/09/2023", "30/06/2024", "0", "0", ""}));
}

TEST(Registros, ProfesoresNumeradosConYSinLecciones)
{
    EntornoImportacion e;
    e.escuela.proft = {
        {{"ABREV", "P1"}, {"X_EMPLEADO", " 10 01 "}, {"F_TOMAPOS", "01/09/2015"}},
        {{"ABREV", "P2"}, {"X_EMPLEADO", "2002"}, {"F_TOMAPOS", "02/09/2016"}},
        {{"ABREV", "O'NEIL"}, {"X_EMPLEADO", "3003"}, {"F_TOMAPOS", "03/09/2017"}},
        {{"ABREV", "O"}, {"X_EMPLEADO", "4004"}, {"F_TOMAPOS", "04/09/2018"}},
    };
    e.escuela.soluc = {
        {"P1", "0", "1", "MAT", "1A", "", ""}, // DIA 0: not placed
        {"O'NEIL", "1", "1", "MAT", "1A", "", ""}, {"P1", "3", "2", "MAT", "1A", "", ""},
        {"P1", "", "", "MAT", "1A", "", ""}, // blank DIA reads as 0
        {"O", "1", "1", "MAT", "1A", "", ""},      {"P1", "1", "1", "MAT", "1A", "", ""},
        {"NADIE", "1", "1", "MAT", "1A", "", ""},
    };
    e.Preparar();

    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(r.profesores, 4);
    EXPECT_EQ(r.actividades, 4);
    const auto leido = e.Leer();
    EXPECT_EQ(leido.registros, "4");
    ASSERT_EQ(leido.profesores.size(), 4u);

    const auto& p1 = leido.profesores[0];
    EXPECT_EQ(p1.seq, "HORARIO_REGULAR_PROFESOR_1");
    EXPECT_EQ(p1.registros, "2");
    EXPECT_EQ(p1.datos,
              (std::vector<pruebas::DatoLeido>{{"X_EMPLEADO", " 10 01"}, {"F_TOMAPOS", "01/09/2015"}}));
    ASSERT_EQ(p1.lecciones.size(), 2u);
    EXPECT_EQ(p1.lecciones[0].seq, "ACTIVIDAD_1");
    EXPECT_EQ(p1.lecciones[0].valores[1], "T-32");
    EXPECT_EQ(p1.lecciones[1].seq, "ACTIVIDAD_2");
    EXPECT_EQ(p1.lecciones[1].valores[1], "T-11");

    const auto& p2 = leido.profesores[1];
    EXPECT_EQ(p2.seq, "HORARIO_REGULAR_PROFESOR_2");
    EXPECT_EQ(p2.registros, "0");
    EXPECT_EQ(p2.datos.size(), 2u);
    EXPECT_TRUE(p2.lecciones.empty());

    EXPECT_EQ(leido.profesores[2].seq, "HORARIO_REGULAR_PROFESOR_3");
    EXPECT_EQ(leido.profesores[2].registros, "1");
    EXPECT_EQ(leido.profesores[3].registros, "1");
}

TEST(Registros, ProftSinFilasDaUnGrupoVacio)
{
    EntornoImportacion e;
    e.escuela.proft.clear();
    e.escuela.soluc.clear();
    e.Preparar();
    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(e.persona.completados, 0);
    const auto leido = e.Leer();
    EXPECT_EQ(leido.registros, "0");
    EXPECT_TRUE(leido.profesores.empty());
}

TEST(Registros, HoraDeRelojQueNoEsNumeroDetieneSinGuardar)
{
    EntornoImportacion e;
    e.escuela.diashorast = {{{"DIHO", "32"}, {"DIA", "3"}, {"HORADESDE", "8:5"}, {"HORAHASTA", "09:55"}}};
    e.escuela.soluc = {{"P1", "3", "2", "MAT", "1A", "", ""}};
    e.Preparar();
    const ResultadoImportacion r = e.Ejecutar();
    EXPECT_EQ(r.desenlace, Desenlace::Error);
    EXPECT_EQ(r.mensaje, "':5' no es un valor entero válido");
    EXPECT_FALSE(std::filesystem::exists(e.Resultado()));
}

struct CasoReloj {
    const char* texto;
    int minutos;
};

void PrintTo(const CasoReloj& caso, std::ostream* os)
{
    *os << '"' << caso.texto << '"';
}

class RelojTest : public testing::TestWithParam<CasoReloj> {};

TEST_P(RelojTest, Minutos)
{
    EXPECT_EQ(MinutosDeReloj(GetParam().texto), GetParam().minutos);
}

INSTANTIATE_TEST_SUITE_P(Textos, RelojTest,
                         testing::Values(CasoReloj{"08:05", 485}, CasoReloj{"8:05", 485},
                                         CasoReloj{"14:30", 870}, CasoReloj{"", 0}, CasoReloj{"100:00", 600},
                                         CasoReloj{"08:30:00", 480}, CasoReloj{"00:00", 0},
                                         CasoReloj{"23:59", 1439}));

TEST(Reloj, TextosQueNoSonHoraDanElErrorDeConversion)
{
    for (const char* texto : {"8:5", "ab:cd", "08-3x"})
        EXPECT_THROW(MinutosDeReloj(texto), ErrorConversion) << texto;
}

} // namespace
} // namespace durlavex
