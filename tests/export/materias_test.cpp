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

const std::vector<std::string> kCamposAsignomt = {"COD", "CODLARGO", "NOMBRE", "CODTAREA", "ESTAREA"};
const std::vector<std::string> kCamposAsignomt2 = {"COD",         "CODLARGO", "NOMBRE", "MATERIA",
                                                   "OFERTAMATRI", "CODTAREA", "ESTAREA"};

// MATERIAS records are (offer, subject, name, long code).
TEST(ExportarMaterias, EjemploCompleto)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("MATERIAS", {
                                                                    {"O1", "S1", "Lengua Castellana", "LCL"},
                                                                    {"O2", "S2", "Lengua Castellana", "LCL"},
                                                                    {"O2", "S2", "Lengua Castellana", "LCL"},
                                                                    {"O1", "S3", "Lengua Extranjera", "LCL"},
                                                                    {"O1", "S4", "LENGUA CASTELLANA", "LCL"},
                                                                    {"O3", "S5", "Educación Física", ""},
                                                                }));
    ExportarMaterias(e.ctx);

    EXPECT_EQ(e.Leer("ASIGNOMT", kCamposAsignomt),
              Ansi(Filas{
                  {"LCL", "LCL", "Lengua Castellana", "", "F"},
                  {"LCL1", "LCL", "Lengua Extranjera", "", "F"},
                  {"LCL2", "LCL", "LENGUA CASTELLANA", "", "F"},
                  {"Educación", "Educación", "Educación Física", "", "F"},
              }));
    EXPECT_EQ(e.Leer("ASIGNOMT2", kCamposAsignomt2),
              Ansi(Filas{
                  {"LCL", "LCL", "Lengua Castellana", "S1", "O1", "", "F"},
                  {"LCL", "LCL", "Lengua Castellana", "S2", "O2", "", "F"},
                  {"LCL1", "LCL", "Lengua Extranjera", "S3", "O1", "", "F"},
                  {"LCL2", "LCL", "LENGUA CASTELLANA", "S4", "O1", "", "F"},
                  {"Educación", "Educación", "Educación Física", "S5", "O3", "", "F"},
              }));
}

// A case: the MATERIAS records, then COD / CODLARGO / NOMBRE of ASIGNOMT and
// COD / MATERIA / OFERTAMATRI of ASIGNOMT2 (texts UTF-8).
struct CasoMaterias {
    const char* nombre;
    std::vector<Registro> registros;
    Filas asignomt;
    Filas asignomt2;
    friend void PrintTo(const CasoMaterias& c, std::ostream* os) { *os << c.nombre; }
};

const CasoMaterias kCasos[] = {
    {"RegistroDeUnDatoSeOmite",
     {{"O1"}, {"O1", "S1", "Lengua", "LEN"}},
     {{"LEN", "LEN", "Lengua"}},
     {{"LEN", "S1", "O1"}}},
    {"RegistroDeTresDatosTomaElNombre",
     {{"O1", "S1", "Lengua"}},
     {{"Lengua", "Lengua", "Lengua"}},
     {{"Lengua", "S1", "O1"}}},
    {"MismaMateriaEnDosOfertas",
     {{"O1", "S1", "Lengua", "LEN"}, {"O2", "S1", "Lengua", "LEN"}},
     {{"LEN", "LEN", "Lengua"}},
     {{"LEN", "S1", "O1"}, {"LEN", "S1", "O2"}}},
    {"RegistroRepetidoNoEscribeNada",
     {{"O1", "S1", "Lengua", "LEN"}, {"O1", "S1", "Lengua", "LEN"}},
     {{"LEN", "LEN", "Lengua"}},
     {{"LEN", "S1", "O1"}}},
    {"MismoCodigoLargoDistintosNombres",
     {{"O1", "S1", "Física", "FYQ"}, {"O1", "S2", "Química", "FYQ"}, {"O1", "S3", "Geología", "FYQ"}},
     {{"FYQ", "FYQ", "Física"}, {"FYQ1", "FYQ", "Química"}, {"FYQ2", "FYQ", "Geología"}},
     {{"FYQ", "S1", "O1"}, {"FYQ1", "S2", "O1"}, {"FYQ2", "S3", "O1"}}},
    {"NombresQueSoloDifierenEnMayusculas",
     {{"O1", "S1", "Lengua", "LEN"}, {"O1", "S2", "LENGUA", "LEN"}},
     {{"LEN", "LEN", "Lengua"}, {"LEN1", "LEN", "LENGUA"}},
     {{"LEN", "S1", "O1"}, {"LEN1", "S2", "O1"}}},
    // The short code comes from the first ten characters, CODLARGO keeps
    // them, and the later search for the subject finds it by them.
    {"CodigoLargoDeDoce",
     {{"O1", "S1", "Matemáticas", "MATEMATICAS"}, {"O2", "S1", "Matemáticas", "MATEMATICAS"}},
     {{"MATEMATICA", "MATEMATICA", "Matemáticas"}},
     {{"MATEMATICA", "S1", "O1"}, {"MATEMATICA", "S1", "O2"}}},
    {"CodigosLargosQueCortadosCoinciden",
     {{"O1", "S1", "Matemáticas I", "MATEMATICAS1"}, {"O1", "S2", "Matemáticas II", "MATEMATICAS2"}},
     {{"MATEMATICA", "MATEMATICA", "Matemáticas I"}, {"MATEMATIC1", "MATEMATICA", "Matemáticas II"}},
     {{"MATEMATICA", "S1", "O1"}, {"MATEMATIC1", "S2", "O1"}}},
    {"CodigoYNombreVacios",
     {{"O1", "S1", "", ""}, {"O2", "S2", "", ""}},
     {{"", "", ""}},
     {{"", "S1", "O1"}, {"", "S2", "O2"}}},
    // MATERIA is twenty characters wide: keys that differ only after the
    // twentieth are the same stored key, so the second record adds nothing.
    {"ClaveDeMateriaCortadaAlAncho",
     {{"O1", "MATERIA-0123456789-A", "Lengua", "LEN"}, {"O1", "MATERIA-0123456789-AB", "Lengua", "LEN"}},
     {{"LEN", "LEN", "Lengua"}},
     {{"LEN", "MATERIA-0123456789-A", "O1"}}},
    // A key cut before a blank is stored without it, and then equals the key
    // written without the blank.
    {"ClaveCortadaAntesDeUnBlanco",
     {{"O1", "MATERIA-01234567890 X", "Lengua", "LEN"}, {"O1", "MATERIA-01234567890", "Lengua", "LEN"}},
     {{"LEN", "LEN", "Lengua"}},
     {{"LEN", "MATERIA-01234567890", "O1"}}},
    // Long code and name run together equal another subject's (A + Bc and
    // AB + c), and every piece was met before: the subject has no row yet, so
    // it is written as new instead of being dropped.
    {"CodigoYNombreJuntosAmbiguos",
     {{"O1", "S0", "zzz", "A"}, {"O1", "S1", "c", "AB"}, {"O1", "S2", "bc", "Q"}, {"O1", "S3", "Bc", "A"}},
     {{"A", "A", "zzz"}, {"AB", "AB", "c"}, {"Q", "Q", "bc"}, {"A1", "A", "Bc"}},
     {{"A", "S0", "O1"}, {"AB", "S1", "O1"}, {"Q", "S2", "O1"}, {"A1", "S3", "O1"}}},
    // Only ASCII letters are upper-cased for the seen-before test: "Bé" stays
    // "Bé", which the third record put in the list, so the fourth record (its
    // key and offer already written) counts as seen and adds nothing. Upper
    // case "BÉ" would make it new.
    {"AcentuadasNoSePasanAMayusculas",
     {{"O1", "S0", "zzz", "A"}, {"O1", "S1", "é", "AB"}, {"O1", "S2", "bé", "Q"}, {"O1", "S0", "Bé", "A"}},
     {{"A", "A", "zzz"}, {"AB", "AB", "é"}, {"Q", "Q", "bé"}},
     {{"A", "S0", "O1"}, {"AB", "S1", "O1"}, {"Q", "S2", "O1"}}},
    {"NombreDeMasDeOchentaSeCorta",
     {{"O1", "S1", std::string(85, 'n'), "N"}, {"O2", "S1", std::string(85, 'n'), "N"}},
     {{"N", "N", std::string(80, 'n')}},
     {{"N", "S1", "O1"}, {"N", "S1", "O2"}}},
};

class ExportarMateriasTest : public testing::TestWithParam<CasoMaterias> {};

TEST_P(ExportarMateriasTest, EscribeLasFilasEsperadas)
{
    const CasoMaterias& c = GetParam();
    EntornoExportacion e(ArchivoIntercambio().Grupo("MATERIAS", c.registros));
    ExportarMaterias(e.ctx);
    EXPECT_EQ(e.Leer("ASIGNOMT", {"COD", "CODLARGO", "NOMBRE"}), Ansi(c.asignomt));
    EXPECT_EQ(e.Leer("ASIGNOMT2", {"COD", "MATERIA", "OFERTAMATRI"}), Ansi(c.asignomt2));
}

INSTANTIATE_TEST_SUITE_P(Casos, ExportarMateriasTest, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(ExportarMaterias, SinGrupoCreaLasTablasVacias)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("materias", {{"O1", "S1", "Lengua", "LEN"}}));
    ExportarMaterias(e.ctx);
    EXPECT_TRUE(e.Leer("ASIGNOMT", {"COD"}).empty());
    EXPECT_TRUE(e.Leer("ASIGNOMT2", {"COD"}).empty());
}

// A second run rebuilds both tables from nothing: after the activities step
// has discarded the lists, the subjects of the first run do not count as
// seen and the old rows are gone.
TEST(ExportarMaterias, SegundaExportacionReconstruyeLasTablas)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo(
        "MATERIAS", {{"O1", "S1", "Lengua", "LEN"}, {"O1", "S2", "Historia", "HIS"}}));
    ExportarMaterias(e.ctx);
    ExportarActividades(e.ctx);

    e.Cargar(ArchivoIntercambio().Grupo("MATERIAS", {{"O1", "S1", "Lengua", "LEN"}}));
    ExportarMaterias(e.ctx);
    EXPECT_EQ(e.Leer("ASIGNOMT", {"COD", "NOMBRE"}), (Filas{{"LEN", "Lengua"}}));
    EXPECT_EQ(e.Leer("ASIGNOMT2", {"COD", "MATERIA"}), (Filas{{"LEN", "S1"}}));
}

// Many copies of one subject under different offers, and many subjects with
// one long code: one short code per subject, one ASIGNOMT2 row per offer.
TEST(ExportarMaterias, MuchosRegistrosDeUnMismoCodigo)
{
    std::vector<Registro> registros;
    for (int i = 0; i < 2000; ++i)
        registros.push_back({"O" + std::to_string(i), "S", "Lengua", "LEN"});
    for (int i = 0; i < 50; ++i)
        registros.push_back({"O", "T" + std::to_string(i), "Lengua " + std::to_string(i), "LEN"});
    EntornoExportacion e(ArchivoIntercambio().Grupo("MATERIAS", registros));
    ExportarMaterias(e.ctx);

    const auto cods = e.Columna("ASIGNOMT", "COD");
    ASSERT_EQ(cods.size(), 51u);
    EXPECT_EQ(cods[0], "LEN");
    EXPECT_EQ(cods[1], "LEN1");
    EXPECT_EQ(cods[50], "LEN50");
    const auto cods2 = e.Columna("ASIGNOMT2", "COD");
    ASSERT_EQ(cods2.size(), 2050u);
    EXPECT_EQ(cods2[1999], "LEN");
    EXPECT_EQ(cods2[2000], "LEN1");
}

} // namespace
} // namespace durlavex
