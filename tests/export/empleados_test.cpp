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

// An employee record with the given surnames, name and abbreviation.
Registro Empleado(const std::string& apellido1, const std::string& apellido2, const std::string& nombre,
                  const std::string& abreviatura)
{
    return {"E", "01/09/2020", "Lengua", apellido1, apellido2, nombre, abreviatura};
}

TEST(ExportarEmpleados, EjemploCompleto)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo(
        "EMPLEADOS", {
                         {"E1", "01/09/2019", "Lengua", "García", "López", "Ana", ""},
                         {"E2", "15/09/2020", "Historia", "Gómez", "Luna", "Alberto", ""},
                         {"E3", "", "", "Pérez", "", "Juan", ""},
                         {"E4", "01/10/2021", "Música", "Gil", "Lara", "Aurora", "gla"},
                     }));
    ExportarEmpleados(e.ctx);
    EXPECT_EQ(e.Leer("PROFT", {"ABREV", "NOMBRE", "DEPART", "DNI", "X_EMPLEADO", "F_TOMAPOS"}),
              Ansi(Filas{
                  {"GLA", "García López, Ana", "Lengua", "", "E1", "01/09/2019"},
                  {"GLA1", "Gómez Luna, Alberto", "Historia", "", "E2", "15/09/2020"},
                  {"PJ", "Pérez , Juan", "", "", "E3", ""},
                  {"gla2", "Gil Lara, Aurora", "Música", "", "E4", "01/10/2021"},
              }));
}

// Records in turn, and the ABREV each gets (texts UTF-8).
struct CasoEmpleados {
    const char* nombre;
    std::vector<Registro> registros;
    std::vector<std::string> abreviaturas;
    friend void PrintTo(const CasoEmpleados& c, std::ostream* os) { *os << c.nombre; }
};

std::vector<Registro> Repetidos(const Registro& registro, int veces)
{
    return std::vector<Registro>(veces, registro);
}

const CasoEmpleados kCasos[] = {
    {"MismasInicialesCuentan", Repetidos(Empleado("Ruiz", "Sanz", "Eva", ""), 3), {"RSE", "RSE1", "RSE2"}},
    {"AbreviaturaConBlancosSeRecorta", {Empleado("Ruiz", "Sanz", "Eva", "  EVA ")}, {"EVA"}},
    {"AbreviaturaDeBlancosTomaIniciales", {Empleado("Ruiz", "Sanz", "Eva", "   ")}, {"RSE"}},
    {"AbreviaturaDeDoceSeCorta", {Empleado("Ruiz", "Sanz", "Eva", "ABCDEFGHIJKL")}, {"ABCDEFGHIJ"}},
    {"AbreviaturaDeDiezRepetida",
     Repetidos(Empleado("Ruiz", "Sanz", "Eva", "ABCDEFGHIJ"), 2),
     {"ABCDEFGHIJ", "ABCDEFGHI1"}},
    // The cut form of the second is the first's code.
    {"AbreviaturasLargasIgualesAlCortar",
     {Empleado("Ruiz", "Sanz", "Eva", "ABCDEFGHIJKL"), Empleado("Gil", "Paz", "Luis", "ABCDEFGHIJXY")},
     {"ABCDEFGHIJ", "ABCDEFGHI1"}},
    {"ContadoDeDosCifrasSeAcorta",
     Repetidos(Empleado("Ruiz", "Sanz", "Eva", "ABCDEFGHIJ"), 12),
     {"ABCDEFGHIJ", "ABCDEFGHI1", "ABCDEFGHI2", "ABCDEFGHI3", "ABCDEFGHI4", "ABCDEFGHI5", "ABCDEFGHI6",
      "ABCDEFGHI7", "ABCDEFGHI8", "ABCDEFGHI9", "ABCDEFGH10", "ABCDEFGH11"}},
    {"MayusculasAcentuadasSonElMismoCodigo",
     {Empleado("Ruiz", "Sanz", "Eva", "ÁLVARO"), Empleado("Gil", "Paz", "Luis", "álvaro")},
     {"ÁLVARO", "álvaro1"}},
    {"AcentoDistingueCodigos",
     {Empleado("Ruiz", "Sanz", "Eva", "ÁLVARO"), Empleado("Gil", "Paz", "Luis", "ALVARO")},
     {"ÁLVARO", "ALVARO"}},
    {"InicialesAcentuadas", {Empleado("Álvarez", "Íñiguez", "Óscar", "")}, {"ÁÍÓ"}},
    {"TodoVacio", Repetidos(Empleado("", "", "", ""), 3), {"", "1", "2"}},
    {"RegistroDeUnDatoSeOmite", {{"E1"}, Empleado("Ruiz", "Sanz", "Eva", "")}, {"RSE"}},
    {"RegistroDeDosDatos", {{"E1", "01/09/2020"}}, {""}},
};

class ExportarEmpleadosTest : public testing::TestWithParam<CasoEmpleados> {};

TEST_P(ExportarEmpleadosTest, DaCodigosUnicos)
{
    const CasoEmpleados& c = GetParam();
    EntornoExportacion e(ArchivoIntercambio().Grupo("EMPLEADOS", c.registros));
    ExportarEmpleados(e.ctx);
    EXPECT_EQ(e.Columna("PROFT", "ABREV"), Ansi(c.abreviaturas));
}

INSTANTIATE_TEST_SUITE_P(Casos, ExportarEmpleadosTest, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Whitespace around a datum's text does not reach the name nor the initials.
TEST(ExportarEmpleados, BlancosAlrededorDeLosDatos)
{
    EntornoExportacion e(ArchivoIntercambio().Crudo(
        "<grupo_datos seq=\"EMPLEADOS\"><grupo_datos>"
        "<dato> E1 </dato><dato>\n01/09/2020\n</dato><dato>\tLengua</dato>"
        "<dato>  García </dato><dato>\n López\n</dato><dato> Ana </dato><dato> </dato>"
        "</grupo_datos></grupo_datos>"));
    ExportarEmpleados(e.ctx);
    EXPECT_EQ(e.Leer("PROFT", {"ABREV", "NOMBRE", "DEPART", "X_EMPLEADO", "F_TOMAPOS"}),
              Ansi(Filas{{"GLA", "García López, Ana", "Lengua", "E1", "01/09/2020"}}));
}

TEST(ExportarEmpleados, SinEmpleadosLaTablaQuedaVacia)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("EMPLEADOS", {}));
    ExportarEmpleados(e.ctx);
    EXPECT_TRUE(e.Existe("PROFT.DBF"));
    EXPECT_TRUE(e.Leer("PROFT", {"ABREV"}).empty());
}

} // namespace
} // namespace durlavex
