#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

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

TEST(ExportarDependencias, EjemploCompleto)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("DEPENDENCIAS", {
                                                                        {"A1", "Aula 1"},
                                                                        {"", "Laboratorio de Física"},
                                                                        {"", "Laboratorio de Química"},
                                                                        {"a1", "Aula uno"},
                                                                        {"GIMNASIO-CUBIERTO", "Gimnasio"},
                                                                        {"", "Lab"},
                                                                    }));
    ExportarDependencias(e.ctx);
    EXPECT_EQ(e.Leer("AULAT", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "DEPCENTRO"}),
              Ansi(Filas{
                  {"A1", "Aula 1", "", "", ""},
                  {"Laboratori", "Laboratorio de Física", "", "", ""},
                  {"Laborator1", "Laboratorio de Química", "", "", ""},
                  {"a11", "Aula uno", "", "", ""},
                  {"GIMNASIOTO", "Gimnasio", "", "", ""},
                  {"Lab", "Lab", "", "", ""},
              }));
}

// Records in turn, and the ABREV each gets (texts UTF-8).
struct CasoDependencias {
    const char* nombre;
    std::vector<Registro> registros;
    std::vector<std::string> abreviaturas;
    friend void PrintTo(const CasoDependencias& c, std::ostream* os) { *os << c.nombre; }
};

std::vector<Registro> Laboratorios(int cuantos)
{
    std::vector<Registro> registros;
    for (int i = 1; i <= cuantos; ++i)
        registros.push_back({"", "Laboratorio " + std::to_string(i)});
    return registros;
}

const CasoDependencias kCasos[] = {
    {"NombreComunCuentaSobreNueve",
     {{"", "Biblioteca central"}, {"", "Biblioteca de arriba"}, {"", "Biblioteca"}},
     {"Biblioteca", "Bibliotec1", "Bibliotec2"}},
    // The counted code after Laborato10 is Laborato11, not Laborato10 again.
    {"AcortadoOcupadoSigueContando",
     Laboratorios(12),
     {"Laboratori", "Laborator1", "Laborator2", "Laborator3", "Laborator4", "Laborator5", "Laborator6",
      "Laborator7", "Laborator8", "Laborator9", "Laborato10", "Laborato11"}},
    {"CodigoDeOnceSeAcorta", {{"ABCDEFGHIJK", "x"}}, {"ABCDEFGHJK"}},
    {"CodigoDeDoceSeAcorta", {{"ABCDEFGHIJKL", "x"}}, {"ABCDEFGHKL"}},
    {"LargosQueSeAcortanIgual",
     {{"GIMNASIO-CUBIERTO", "x"}, {"GIMNASIO-ABIERTO", "y"}},
     {"GIMNASIOTO", "GIMNASIO-1"}},
    {"MayusculasSonElMismoCodigo", {{"SUM", "x"}, {"sum", "y"}, {"Sum", "z"}}, {"SUM", "sum1", "Sum2"}},
    {"MayusculasAcentuadasSonElMismoCodigo",
     {{"TALLER-É", "x"}, {"taller-é", "y"}},
     {"TALLER-É", "taller-é1"}},
    // The name cut to ten characters ends in a blank, which the field does
    // not keep: it is the same stored code as the room code without it.
    {"BlancoFinalDelNombreCortado", {{"Sala de 1", "x"}, {"", "Sala de 1 B"}}, {"Sala de 1", "Sala de 11"}},
    {"BlancoFinalDelNombreCortadoPrimero",
     {{"", "Sala de 1 B"}, {"Sala de 1", "x"}},
     {"Sala de 1", "Sala de 11"}},
    {"TodoVacio", {{"", ""}, {"", ""}, {"", ""}}, {"", "1", "2"}},
    {"RegistroDeUnDatoSeOmite", {{"A1"}, {"A2", "Aula 2"}}, {"A2"}},
};

class ExportarDependenciasTest : public testing::TestWithParam<CasoDependencias> {};

TEST_P(ExportarDependenciasTest, DaCodigosUnicos)
{
    const CasoDependencias& c = GetParam();
    EntornoExportacion e(ArchivoIntercambio().Grupo("DEPENDENCIAS", c.registros));
    ExportarDependencias(e.ctx);
    EXPECT_EQ(e.Columna("AULAT", "ABREV"), Ansi(c.abreviaturas));
}

INSTANTIATE_TEST_SUITE_P(Casos, ExportarDependenciasTest, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(ExportarDependencias, NombreDeMasDeOchentaSeCorta)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("DEPENDENCIAS", {{"A1", std::string(81, 'x')}}));
    ExportarDependencias(e.ctx);
    EXPECT_EQ(e.Leer("AULAT", {"ABREV", "NOMBRE"}), (Filas{{"A1", std::string(80, 'x')}}));
}

TEST(ExportarDependencias, SinGrupoLaTablaQuedaVacia)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("EMPLEADOS", {{"A1", "Aula 1"}}));
    ExportarDependencias(e.ctx);
    EXPECT_TRUE(e.Existe("AULAT.DBF"));
    EXPECT_TRUE(e.Leer("AULAT", {"ABREV"}).empty());
}

// Laboratori and the codes counted from it are 110: the next room has no
// free code. The run ends with an error and the rows posted stay, all with
// different codes.
TEST(ExportarDependencias, SinCodigoLibreTerminaConErrorYConservaLasFilas)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("DEPENDENCIAS", Laboratorios(111)));
    EXPECT_THROW(ExportarDependencias(e.ctx), Error);
    const auto codigos = e.Columna("AULAT", "ABREV");
    EXPECT_EQ(codigos.size(), 110u);
    EXPECT_EQ(std::set<std::string>(codigos.begin(), codigos.end()).size(), 110u);
}

} // namespace
} // namespace durlavex
