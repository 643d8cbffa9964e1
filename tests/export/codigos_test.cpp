#include "export/codigos.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "export/fixture_exportacion.h"
#include "platform/error.h"

namespace durlavex {
namespace {

using pruebas::Ansi;

// Candidates handed to one list in turn, and the codes they must get.
struct CasoCodigos {
    const char* nombre;
    Caso caso;
    FormaCodigo forma;
    std::vector<std::string> candidatos; // UTF-8
    std::vector<std::string> esperados;  // UTF-8
    friend void PrintTo(const CasoCodigos& c, std::ostream* os) { *os << c.nombre; }
};

std::vector<std::string> Repetir(const std::string& texto, int veces)
{
    return std::vector<std::string>(veces, texto);
}

std::vector<std::string> Concatenar(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// base followed by desde, desde + 1, ..., hasta.
std::vector<std::string> Contados(const std::string& base, int desde, int hasta)
{
    std::vector<std::string> codigos;
    for (int n = desde; n <= hasta; ++n)
        codigos.push_back(base + std::to_string(n));
    return codigos;
}

const CasoCodigos kCasos[] = {
    {"LibreSeQuedaComoEs", Caso::Distingue, FormaCodigo::Acortar, {"LCL"}, {"LCL"}},
    {"OcupadoCuentaDesdeUno",
     Caso::Distingue,
     FormaCodigo::Acortar,
     {"LCL", "LCL", "LCL"},
     {"LCL", "LCL1", "LCL2"}},
    {"ContadoOcupadoSeSalta",
     Caso::Distingue,
     FormaCodigo::Acortar,
     {"LCL1", "LCL", "LCL"},
     {"LCL1", "LCL", "LCL2"}},
    {"DiezCaracteresCuentaSobreNueve",
     Caso::Distingue,
     FormaCodigo::Acortar,
     {"ABCDEFGHIJ", "ABCDEFGHIJ"},
     {"ABCDEFGHIJ", "ABCDEFGHI1"}},
    // CIENCIASNA and CIENCIASN1 to CIENCIASN9 are taken: CIENCIASN10 becomes
    // CIENCIAS10; the hundredth count keeps its last two digits, 00.
    {"ContadorDiezSeAcorta", Caso::Distingue, FormaCodigo::Acortar, Repetir("CIENCIASNA", 11),
     Concatenar(Concatenar({"CIENCIASNA"}, Contados("CIENCIASN", 1, 9)), {"CIENCIAS10"})},
    {"ContadorCienSeAcortaACeroCero", Caso::Distingue, FormaCodigo::Acortar, Repetir("CIENCIASNA", 101),
     Concatenar(
         Concatenar(Concatenar({"CIENCIASNA"}, Contados("CIENCIASN", 1, 9)), Contados("CIENCIAS", 10, 99)),
         {"CIENCIAS00"})},
    // The eleventh code counted from Laboratori is shortened to Laborato10;
    // the next one must not get Laborato10 again.
    {"AcortadoOcupadoSigueContando", Caso::Ignora, FormaCodigo::Acortar, Repetir("Laboratori", 12),
     Concatenar(Concatenar({"Laboratori"}, Contados("Laborator", 1, 9)), {"Laborato10", "Laborato11"})},
    {"OnceCaracteresSeAcortan", Caso::Ignora, FormaCodigo::Acortar, {"ABCDEFGHIJK"}, {"ABCDEFGHJK"}},
    {"DoceCaracteresSeAcortan", Caso::Ignora, FormaCodigo::Acortar, {"ABCDEFGHIJKL"}, {"ABCDEFGHKL"}},
    // Two long codes that shorten alike: the second counts on its own first 9.
    {"LargosQueSeAcortanIgual",
     Caso::Ignora,
     FormaCodigo::Acortar,
     {"GIMNASIO-CUBIERTO", "GIMNASIO-ABIERTO"},
     {"GIMNASIOTO", "GIMNASIO-1"}},
    {"LargoCuyoAcortadoYaEsta",
     Caso::Ignora,
     FormaCodigo::Acortar,
     {"GIMNASIOTO", "GIMNASIO-CUBIERTO"},
     {"GIMNASIOTO", "GIMNASIO-1"}},
    {"CortarGuardaLosDiezPrimeros", Caso::Ignora, FormaCodigo::Cortar, {"ABCDEFGHIJKL"}, {"ABCDEFGHIJ"}},
    {"CortarPruebaLaFormaCortada",
     Caso::Ignora,
     FormaCodigo::Cortar,
     {"ABCDEFGHIJKL", "ABCDEFGHIJXY"},
     {"ABCDEFGHIJ", "ABCDEFGHI1"}},
    {"CortarContadoLargoSeAcorta", Caso::Ignora, FormaCodigo::Cortar, Repetir("ABCDEFGHIJ", 12),
     Concatenar(Concatenar({"ABCDEFGHIJ"}, Contados("ABCDEFGHI", 1, 9)), {"ABCDEFGH10", "ABCDEFGH11"})},
    {"DistingueMayusculas", Caso::Distingue, FormaCodigo::Acortar, {"LCL", "lcl"}, {"LCL", "lcl"}},
    {"IgnoraMayusculas", Caso::Ignora, FormaCodigo::Acortar, {"A1", "a1"}, {"A1", "a11"}},
    {"IgnoraMayusculasAcentuadas",
     Caso::Ignora,
     FormaCodigo::Cortar,
     {"ÁLVARO", "álvaro"},
     {"ÁLVARO", "álvaro1"}},
    {"AcentoCuentaSinMayusculas", Caso::Ignora, FormaCodigo::Acortar, {"Área", "Area"}, {"Área", "Area"}},
    {"DistingueAcentuadas", Caso::Distingue, FormaCodigo::Acortar, {"Área", "área"}, {"Área", "área"}},
    // A stored text field does not keep trailing blanks.
    {"BlancoFinalNoCuentaDespues",
     Caso::Ignora,
     FormaCodigo::Acortar,
     {"Sala de 1", "Sala de 1 "},
     {"Sala de 1", "Sala de 11"}},
    {"BlancoFinalNoCuentaAntes",
     Caso::Ignora,
     FormaCodigo::Acortar,
     {"Sala de 1 ", "Sala de 1"},
     {"Sala de 1", "Sala de 11"}},
    {"VacioCuentaDesdeUno", Caso::Ignora, FormaCodigo::Acortar, {"", "", ""}, {"", "1", "2"}},
    {"InicialesDelEjemploDeProfesores",
     Caso::Ignora,
     FormaCodigo::Cortar,
     {"GLA", "GLA", "PJ", "gla"},
     {"GLA", "GLA1", "PJ", "gla2"}},
};

class GenerarCodigoCortoTest : public testing::TestWithParam<CasoCodigos> {};

// With and without remembered counters the codes are the same.
TEST_P(GenerarCodigoCortoTest, DaCodigosUnicosEnSuFormaGuardada)
{
    const CasoCodigos& c = GetParam();
    ConjuntoTextos conContadores(c.caso);
    ConjuntoTextos sinContadores(c.caso);
    ContadoresCodigo contadores;
    std::vector<std::string> obtenidosConContadores;
    std::vector<std::string> obtenidosSinContadores;
    for (const auto& candidato : c.candidatos) {
        obtenidosConContadores.push_back(
            GenerarCodigoCorto(Ansi(candidato), conContadores, contadores, c.forma));
        obtenidosSinContadores.push_back(GenerarCodigoCorto(Ansi(candidato), sinContadores, c.forma));
    }
    EXPECT_EQ(obtenidosConContadores, Ansi(c.esperados));
    EXPECT_EQ(obtenidosSinContadores, Ansi(c.esperados));
    EXPECT_EQ(conContadores.Tamano(), c.esperados.size());
}

INSTANTIATE_TEST_SUITE_P(Casos, GenerarCodigoCortoTest, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// A nine-character base can form 109 stored codes (base + 1 to 9, first 8 +
// 00 to 99), so Laboratori and its counted codes are 110 in all. The next
// candidate must end with an error, not count forever nor repeat a code.
TEST(GenerarCodigoCorto, AgotadosLosCodigosDeUnaBaseFallaConMensaje)
{
    ConjuntoTextos lista(Caso::Ignora);
    ContadoresCodigo contadores;
    std::set<std::string> distintos;
    for (int i = 0; i < 110; ++i)
        distintos.insert(GenerarCodigoCorto("Laboratori", lista, contadores));
    EXPECT_EQ(distintos.size(), 110u);

    try {
        GenerarCodigoCorto("Laboratori", lista, contadores);
        FAIL() << "se esperaba un error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("«Laboratori»"), std::string::npos) << e.what();
    }
    EXPECT_EQ(lista.Tamano(), 110u);
}

// Many codes with one short base: each search resumes where the last one
// stopped, so twenty thousand empty codes are quick and all distinct.
TEST(GenerarCodigoCorto, MuchosCodigosDeUnaBaseSonDistintos)
{
    ConjuntoTextos lista(Caso::Ignora);
    ContadoresCodigo contadores;
    std::string ultimo;
    for (int i = 0; i < 20000; ++i)
        ultimo = GenerarCodigoCorto("", lista, contadores);
    EXPECT_EQ(ultimo, "19999");
    EXPECT_EQ(lista.Tamano(), 20000u);
}

struct CasoGuardado {
    const char* nombre;
    std::string texto;
    std::size_t ancho;
    std::string esperado;
    friend void PrintTo(const CasoGuardado& c, std::ostream* os) { *os << c.nombre; }
};

class TextoGuardadoTest : public testing::TestWithParam<CasoGuardado> {};

TEST_P(TextoGuardadoTest, EsLoQueElCampoDevuelve)
{
    EXPECT_EQ(TextoGuardado(Ansi(GetParam().texto), GetParam().ancho), Ansi(GetParam().esperado));
}

INSTANTIATE_TEST_SUITE_P(Casos, TextoGuardadoTest,
                         testing::Values(CasoGuardado{"Corto", "LCL", 10, "LCL"},
                                         CasoGuardado{"Exacto", "ABCDEFGHIJ", 10, "ABCDEFGHIJ"},
                                         CasoGuardado{"Largo", "ABCDEFGHIJKL", 10, "ABCDEFGHIJ"},
                                         CasoGuardado{"BlancoAlCortar", "Educación Física", 10, "Educación"},
                                         CasoGuardado{"BlancosFinales", "Aula  ", 10, "Aula"},
                                         CasoGuardado{"BlancoInicialSeQueda", " Aula", 10, " Aula"},
                                         CasoGuardado{"Vacio", "", 10, ""}),
                         [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
} // namespace durlavex
