#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "comun/nivelcan.h"
#include "export/contexto_exportacion.h"
#include "export/fixture_exportacion.h"
#include "platform/error.h"

namespace durlavex {
namespace {

using pruebas::Ansi;
using pruebas::ArchivoIntercambio;
using pruebas::EntornoExportacion;
using pruebas::Filas;
using pruebas::Registro;
using testing::HasSubstr;

const std::vector<std::string> kCamposCursost = {"ABREV", "TURNO", "NIVEL", "CURSO", "CLAVE", "ESTUD"};
const std::vector<std::string> kCamposGrupost = {"ABREV", "TURNO", "NIVEL",      "CURSO",
                                                 "GRUPO", "CLAVE", "CLAVECURSO", "DESCRIP"};

ArchivoIntercambio Centro(const std::vector<Registro>& cursos, const std::vector<Registro>& unidades)
{
    return ArchivoIntercambio().Grupo("CURSOS_DEL_CENTRO", cursos).Grupo("UNIDADES", unidades);
}

TEST(ExportarCursosUnidades, EjemploCompleto)
{
    EntornoExportacion e(Centro({{"101", "1º ESO"}, {"202", "2º Bachillerato"}},
                                {{"501", "1º ESO A", "101"},
                                 {"502", "1º ESO A", "101"},
                                 {"503", "Grupo de Diversificación", "999"}}));
    pruebas::EscribirNivelcan(e.programa.Ruta(), {{101, "ESO", "Secundaria"}});

    ExportarCursosUnidades(e.ctx);

    EXPECT_EQ(e.Leer("CURSOST", kCamposCursost),
              Ansi(Filas{
                  {"E1", "", "ESO", "1", "101", "1º ESO (Secundaria)"},
                  {"B2", "", "BACH", "2", "202", "2º Bachillerato (Bachillerato)"},
              }));
    EXPECT_EQ(e.Leer("GRUPOST", kCamposGrupost),
              Ansi(Filas{
                  {"1ºESOA", "", "ESO", "1", "A", "501", "101", "(1º ESO A) 1º ESO (Secundaria)"},
                  {"1ºESOA1", "", "ESO", "1", "A", "502", "101", "(1º ESO A) 1º ESO (Secundaria)"},
                  {"GrupodeDiv", "", "", "", "n", "503", "999", "   n"},
              }));
    EXPECT_FALSE(e.ctx.tablas.wwTableNIVELEX.Abierta());
}

// Courses in turn against one NIVELCAN, and the CURSOST rows they give.
struct CasoCursos {
    const char* nombre;
    std::vector<pruebas::FilaNivel> niveles;
    std::vector<Registro> cursos;
    Filas filas; // ABREV, NIVEL, CURSO, CLAVE, ESTUD (UTF-8)
    friend void PrintTo(const CasoCursos& c, std::ostream* os) { *os << c.nombre; }
};

const CasoCursos kCasosCursos[] = {
    {"ClaveConBlancosSeConvierteRecortada",
     {{101, "ESO", "Secundaria"}},
     {{"  101 ", "1º"}},
     {{"E1", "ESO", "1", "101", "1º (Secundaria)"}}},
    {"AbreviaturaDeNivelEnBlancoTomaElNivelDelNombre",
     {{101, "", "Secundaria"}},
     {{"101", "1º ESO"}},
     {{"E1", "ESO", "1", "101", "1º ESO (Educación Secundaria Obligatoria)"}}},
    {"AbreviaturaEnBlancoYNombreSinNivelEsNivConElNombreDeNivelcan",
     {{101, "", "Secundaria"}},
     {{"101", "1º Capacitación Digital"}},
     {{"N1", "Niv", "1", "101", "1º Capacitación Digital (Secundaria)"}}},
    {"ClaveAusenteTomaElNivelDelNombre",
     {},
     {{"212306", "2º de C.F.G.S. (Pres.)"}},
     {{"C2", "CFGS", "2", "212306", "2º de C.F.G.S. (Pres.) (Ciclo Formativo de Grado Superior)"}}},
    {"NivelLargoSeGuardaEnCincoYDaSuInicial",
     {{300, "Bachillerato", "Bachillerato"}},
     {{"300", "1º B"}},
     {{"B1", "Bachi", "1", "300", "1º B (Bachillerato)"}}},
    {"PrimeraFilaDeLaClaveEnNivelcan",
     {{101, "ESO", "Secundaria"}, {101, "BAC", "Bachillerato"}},
     {{"101", "3º"}},
     {{"E3", "ESO", "3", "101", "3º (Secundaria)"}}},
    {"MismaInicialYMismoCursoCompartenAbreviatura",
     {{101, "ESO", "Secundaria"}, {102, "EPA", "Adultos"}},
     {{"101", "1º A"}, {"102", "1º B"}},
     {{"E1", "ESO", "1", "101", "1º A (Secundaria)"}, {"E1", "EPA", "1", "102", "1º B (Adultos)"}}},
    {"ClaveNegativa", {{-5, "NEG", "Negativo"}}, {{"-5", "x"}}, {{"Nx", "NEG", "x", "-5", "x (Negativo)"}}},
    {"NombreVacioDaCursoVacio", {}, {{"7", ""}}, {{"N", "Niv", "", "7", ""}}},
    {"RegistroDeUnDatoSeOmite", {}, {{"7"}, {"8", "2º"}}, {{"N2", "Niv", "2", "8", "2º"}}},
    // Leading zeros make the key longer than CLAVE: stored cut to ten.
    {"ClaveLargaSeGuardaCortada",
     {{101, "ESO", "Secundaria"}},
     {{"00000000101", "1º"}},
     {{"E1", "ESO", "1", "0000000010", "1º (Secundaria)"}}},
};

class CursosCasos : public testing::TestWithParam<CasoCursos> {};

TEST_P(CursosCasos, FilasDeCursost)
{
    const CasoCursos& c = GetParam();
    EntornoExportacion e(Centro(c.cursos, {}));
    pruebas::EscribirNivelcan(e.programa.Ruta(), c.niveles);
    ExportarCursosUnidades(e.ctx);
    EXPECT_EQ(e.Leer("CURSOST", {"ABREV", "NIVEL", "CURSO", "CLAVE", "ESTUD"}), Ansi(c.filas));
    EXPECT_EQ(e.Leer("CURSOST", {"TURNO"}), Filas(c.filas.size(), {""}));
}

INSTANTIATE_TEST_SUITE_P(Cursos, CursosCasos, testing::ValuesIn(kCasosCursos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Group names in turn, and the ABREV each gets (UTF-8).
struct CasoCodigos {
    const char* nombre;
    std::vector<std::string> nombres;
    std::vector<std::string> abreviaturas;
    friend void PrintTo(const CasoCodigos& c, std::ostream* os) { *os << c.nombre; }
};

std::vector<std::string> Repetido(const std::string& texto, int veces)
{
    return std::vector<std::string>(static_cast<std::size_t>(veces), texto);
}

const CasoCodigos kCasosCodigos[] = {
    {"DifierenSoloEnBlancos", {"1º ESO A", "1ºESO A", "1 º E S O A"}, {"1ºESOA", "1ºESOA1", "1ºESOA2"}},
    {"DifierenSoloEnMayusculas", {"Grupo A", "GRUPO a", "grupoa"}, {"GrupoA", "GRUPOa1", "grupoa2"}},
    {"MayusculasAcentuadas", {"Ñandú", "ÑANDÚ"}, {"Ñandú", "ÑANDÚ1"}},
    {"QuinceLetrasDanLasDiezPrimeras", {"ABCDEFGHIJKLMNO"}, {"ABCDEFGHIJ"}},
    {"BlancosNoCuentanParaLasDiez", {"A B C D E F G H I J K"}, {"ABCDEFGHIJ"}},
    {"NombresVacios", {"", "", ""}, {"", "1", "2"}},
    {"OtrosCaracteresDeControlSeCopian", {"A\tB"}, {"A\tB"}},
    // Past nine suffixes a counted code is shortened, and counting goes on
    // until the shortened form is free.
    {"MasDeNueveIguales",
     Repetido("Diversific", 12),
     {"Diversific", "Diversifi1", "Diversifi2", "Diversifi3", "Diversifi4", "Diversifi5", "Diversifi6",
      "Diversifi7", "Diversifi8", "Diversifi9", "Diversif10", "Diversif11"}},
    {"CodigoContadoQueYaEstaSigueContando", {"X1", "X", "X"}, {"X1", "X", "X2"}},
};

class CodigosGrupo : public testing::TestWithParam<CasoCodigos> {};

TEST_P(CodigosGrupo, AbreviaturasUnicas)
{
    const CasoCodigos& c = GetParam();
    std::vector<Registro> unidades;
    for (std::size_t i = 0; i < c.nombres.size(); ++i)
        unidades.push_back({std::to_string(500 + i), c.nombres[i], "101"});
    EntornoExportacion e(Centro({}, unidades));
    pruebas::EscribirNivelcan(e.programa.Ruta(), {});
    ExportarCursosUnidades(e.ctx);
    EXPECT_EQ(e.Columna("GRUPOST", "ABREV"), Ansi(c.abreviaturas));
}

INSTANTIATE_TEST_SUITE_P(Unidades, CodigosGrupo, testing::ValuesIn(kCasosCodigos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(ExportarCursosUnidades, GrupoTomaElPrimerCursoDeSuClaveYNoEncuentraUnaClaveCortada)
{
    EntornoExportacion e(Centro({{"101", "1º"}, {"101", "2º"}, {"00000000202", "3º"}},
                                {{"U1", "A", "101"}, {"U2", "B", "00000000202"}, {"U3", "C"}}));
    pruebas::EscribirNivelcan(e.programa.Ruta(), {{101, "ESO", "Secundaria"}});
    ExportarCursosUnidades(e.ctx);
    EXPECT_EQ(e.Leer("GRUPOST", {"NIVEL", "CURSO", "GRUPO", "CLAVECURSO", "DESCRIP"}),
              Ansi(Filas{
                  {"ESO", "1", "A", "101", "(A) 1º (Secundaria)"},
                  {"", "", "B", "0000000020", "   B"},
                  {"", "", "C", "", "   C"},
              }));
}

TEST(ExportarCursosUnidades, SinGruposNiCursosLasTablasExistenVacias)
{
    EntornoExportacion e;
    pruebas::EscribirNivelcan(e.programa.Ruta(), {{101, "ESO", "Secundaria"}});
    ExportarCursosUnidades(e.ctx);
    EXPECT_TRUE(e.Leer("CURSOST", kCamposCursost).empty());
    EXPECT_TRUE(e.Leer("GRUPOST", kCamposGrupost).empty());
}

TEST(ExportarCursosUnidades, ClaveQueNoEsNumeroDetieneConLasFilasAnteriores)
{
    EntornoExportacion e(Centro({{"101", "1º"}, {"12a", "2º"}, {"103", "3º"}}, {{"U1", "A", "101"}}));
    pruebas::EscribirNivelcan(e.programa.Ruta(), {{101, "ESO", "Secundaria"}});
    EXPECT_THAT([&] { ExportarCursosUnidades(e.ctx); },
                testing::ThrowsMessage<ErrorConversion>(
                    testing::StrEq("'12a' no es un valor entero válido (CURSOS_DEL_CENTRO, registro 2, dato "
                                   "en la posición 0, línea 2).")));
    EXPECT_EQ(e.Columna("CURSOST", "CLAVE"), (std::vector<std::string>{"101"}));
    EXPECT_TRUE(e.Leer("GRUPOST", kCamposGrupost).empty());
}

TEST(ExportarCursosUnidades, NivelcanSinClaveEsUnErrorQueNombraElCampo)
{
    EntornoExportacion e(Centro({{"101", "1º"}}, {}));
    pruebas::EscribirNivelcan(e.programa.Ruta(), {});
    dbf::ArchivoDbf::Crear(e.programa / "NIVELCAN.DBF", {dbf::Campo{"NIVEL", 'C', 20}});
    EXPECT_THAT([&] { ExportarCursosUnidades(e.ctx); },
                testing::ThrowsMessage<Error>(HasSubstr("X_OFERTAMATRIG")));
}

TEST(ExportarCursosUnidades, TablasAnterioresSeSustituyen)
{
    EntornoExportacion e(Centro({{"101", "1º"}}, {{"U1", "A", "101"}}));
    pruebas::EscribirNivelcan(e.programa.Ruta(), {});
    ExportarCursosUnidades(e.ctx);
    e.Cargar(Centro({{"102", "2º"}}, {}));
    std::ofstream(e.trabajo / "GRUPOST.MDX") << "índice viejo";
    ExportarCursosUnidades(e.ctx);
    EXPECT_EQ(e.Columna("CURSOST", "CLAVE"), (std::vector<std::string>{"102"}));
    EXPECT_TRUE(e.Leer("GRUPOST", kCamposGrupost).empty());
    EXPECT_FALSE(e.Existe("GRUPOST.MDX"));
}

} // namespace
} // namespace durlavex
