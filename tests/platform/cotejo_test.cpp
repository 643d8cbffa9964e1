// Spanish collation of single-byte texts, with and without regard to case.

#include "platform/cotejo.h"
#include "platform/texto.h"

#include <gtest/gtest.h>

namespace durlavex {
namespace {

// The tests write texts in UTF-8 for readability; the program compares them
// in the ANSI code page.
std::string A(std::string_view utf8)
{
    return Utf8AAnsi(utf8).Bytes();
}

struct CasoIgualdad {
    const char* nombre;
    std::string_view a;
    std::string_view b;
    Caso caso;
    bool iguales;
};

class Igualdad : public testing::TestWithParam<CasoIgualdad> {};

TEST_P(Igualdad, SegunElCotejoEspanol)
{
    const auto& c = GetParam();
    EXPECT_EQ(TextosIguales(A(c.a), A(c.b), c.caso), c.iguales);
    EXPECT_EQ(CompararTextos(A(c.a), A(c.b), c.caso) == 0, c.iguales);
    // The code lists hold collation keys (on Windows LCMapString's sort keys,
    // elsewhere ICU's): equal keys exactly when the comparison says equal.
    ConjuntoTextos conjunto(c.caso);
    conjunto.Agregar(A(c.a));
    EXPECT_EQ(conjunto.Contiene(A(c.b)), c.iguales);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Igualdad,
    testing::Values(CasoIgualdad{"MismoTexto", "Matemáticas", "Matemáticas", Caso::Distingue, true},
                    CasoIgualdad{"AcentoMinusculaContraMayuscula", "á", "Á", Caso::Distingue, false},
                    CasoIgualdad{"GarciaContraMayusculas", "García", "GARCÍA", Caso::Distingue, false},
                    CasoIgualdad{"GuionCuenta", "coop", "co-op", Caso::Distingue, false},
                    CasoIgualdad{"BlancoFinalCuenta", "1A", "1A ", Caso::Distingue, false},
                    CasoIgualdad{"SinCasoAcentoPliega", "á", "Á", Caso::Ignora, true},
                    CasoIgualdad{"SinCasoGarcia", "García", "GARCÍA", Caso::Ignora, true},
                    CasoIgualdad{"SinCasoEnye", "ñandú", "ÑANDÚ", Caso::Ignora, true},
                    CasoIgualdad{"SinCasoAcentoCuenta", "á", "a", Caso::Ignora, false},
                    CasoIgualdad{"SinCasoGarciaSinAcento", "García", "GARCIA", Caso::Ignora, false},
                    CasoIgualdad{"SinCasoEnyeNoEsN", "año", "ano", Caso::Ignora, false}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(CompararTextos, OrdenEspanol)
{
    EXPECT_LT(CompararTextos("a", "b", Caso::Distingue), 0);
    EXPECT_GT(CompararTextos("b", "a", Caso::Distingue), 0);
    // In Spanish "ñ" is a letter of its own after "n": "ñu" follows "nz".
    EXPECT_GT(CompararTextos(A("ñu"), "nz", Caso::Distingue), 0);
    EXPECT_LT(CompararTextos(A("ñu"), "oa", Caso::Distingue), 0);
}

TEST(ConjuntoTextos, DistingueCaso)
{
    ConjuntoTextos conjunto(Caso::Distingue);
    EXPECT_TRUE(conjunto.Agregar(A("García")));
    EXPECT_FALSE(conjunto.Agregar(A("García")));
    EXPECT_TRUE(conjunto.Contiene(A("García")));
    EXPECT_FALSE(conjunto.Contiene(A("GARCÍA")));
    EXPECT_TRUE(conjunto.Agregar(A("GARCÍA")));
    EXPECT_EQ(conjunto.Tamano(), 2u);
}

TEST(ConjuntoTextos, IgnoraCasoPeroNoAcentos)
{
    ConjuntoTextos conjunto(Caso::Ignora);
    EXPECT_TRUE(conjunto.Agregar(A("García")));
    EXPECT_TRUE(conjunto.Contiene(A("GARCÍA")));
    EXPECT_FALSE(conjunto.Agregar(A("gARCÍa")));
    EXPECT_FALSE(conjunto.Contiene(A("Garcia")));
    EXPECT_TRUE(conjunto.Agregar(A("Garcia")));
    EXPECT_EQ(conjunto.Tamano(), 2u);
}

TEST(ConjuntoTextos, VaciarYMover)
{
    ConjuntoTextos origen(Caso::Distingue);
    origen.Agregar("MAT");
    origen.Agregar("");
    ConjuntoTextos destino = std::move(origen);
    EXPECT_TRUE(destino.Contiene("MAT"));
    EXPECT_TRUE(destino.Contiene(""));
    EXPECT_FALSE(destino.Contiene("mat"));
    destino.Vaciar();
    EXPECT_EQ(destino.Tamano(), 0u);
    EXPECT_FALSE(destino.Contiene("MAT"));
}

// A long text still gives a complete key: texts that differ only at the end
// must stay apart.
TEST(ConjuntoTextos, TextosLargosDifierenAlFinal)
{
    const std::string base(5000, 'x');
    ConjuntoTextos conjunto(Caso::Distingue);
    EXPECT_TRUE(conjunto.Agregar(base + "a"));
    EXPECT_TRUE(conjunto.Agregar(base + "b"));
    EXPECT_FALSE(conjunto.Contiene(base + "c"));
}

} // namespace
} // namespace durlavex
