// The standard text-to-integer conversion: decimal and "$" hexadecimal forms.

#include "platform/error.h"
#include "platform/numeros.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace durlavex {
namespace {

struct CasoEntero {
    const char* nombre;
    std::string_view texto;
    std::int32_t valor;
};

class DecimalValido : public testing::TestWithParam<CasoEntero> {};
class HexValido : public testing::TestWithParam<CasoEntero> {};

TEST_P(DecimalValido, DaElValor)
{
    EXPECT_EQ(TextoAEntero(GetParam().texto), GetParam().valor);
}
TEST_P(HexValido, DaElPatronDe32Bits)
{
    EXPECT_EQ(HexAEntero(GetParam().texto), GetParam().valor);
}

const auto kNombreCaso = [](const auto& info) { return std::string(info.param.nombre); };

INSTANTIATE_TEST_SUITE_P(
    Casos, DecimalValido,
    testing::Values(CasoEntero{"Simple", "12", 12}, CasoEntero{"BlancosIniciales", "   12", 12},
                    CasoEntero{"Negativo", "-5", -5}, CasoEntero{"SignoMas", "+5", 5},
                    CasoEntero{"BlancoYSigno", " -7", -7}, CasoEntero{"CerosIniciales", "0007", 7},
                    CasoEntero{"MenosCero", "-0", 0}, CasoEntero{"Maximo", "2147483647", 2147483647},
                    CasoEntero{"Minimo", "-2147483648", INT32_MIN}),
    kNombreCaso);

INSTANTIATE_TEST_SUITE_P(
    Casos, HexValido,
    testing::Values(CasoEntero{"Mayusculas", "$1A2B", 6699}, CasoEntero{"Minusculas", "$1a2b", 6699},
                    CasoEntero{"UnDigito", "$0", 0}, CasoEntero{"OchoDigitos", "$7FFFFFFF", 2147483647},
                    CasoEntero{"TodoUnos", "$FFFFFFFF", -1}, CasoEntero{"BitAlto", "$80000000", INT32_MIN},
                    CasoEntero{"CerosIniciales", "$00000010", 16}),
    kNombreCaso);

struct CasoRechazo {
    const char* nombre;
    std::string_view texto;
};

class DecimalRechazado : public testing::TestWithParam<CasoRechazo> {};
class HexRechazado : public testing::TestWithParam<CasoRechazo> {};

TEST_P(DecimalRechazado, LanzaErrorConversion)
{
    EXPECT_THROW(TextoAEntero(GetParam().texto), ErrorConversion);
}
TEST_P(HexRechazado, LanzaErrorConversion)
{
    EXPECT_THROW(HexAEntero(GetParam().texto), ErrorConversion);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, DecimalRechazado,
    testing::Values(CasoRechazo{"Vacio", ""}, CasoRechazo{"SoloBlanco", " "}, CasoRechazo{"SoloSigno", "-"},
                    CasoRechazo{"SignoYBlanco", "- 5"}, CasoRechazo{"DosSignos", "+-5"},
                    CasoRechazo{"LetraFinal", "12a"}, CasoRechazo{"BlancoFinal", "12 "},
                    CasoRechazo{"BlancoInterno", "1 2"}, CasoRechazo{"TabulacionInicial", "\t12"},
                    CasoRechazo{"UnoMasQueElMaximo", "2147483648"},
                    CasoRechazo{"UnoMenosQueElMinimo", "-2147483649"},
                    CasoRechazo{"MuchasCifras", "99999999999999999999999"}, CasoRechazo{"Decimales", "1.5"}),
    kNombreCaso);

INSTANTIATE_TEST_SUITE_P(
    Casos, HexRechazado,
    testing::Values(CasoRechazo{"Vacio", ""}, CasoRechazo{"SoloDolar", "$"}, CasoRechazo{"SinDolar", "1A2B"},
                    CasoRechazo{"Prefijo0x", "$0x1A"}, CasoRechazo{"NueveDigitos", "$123456789"},
                    CasoRechazo{"NueveCeros", "$000000000"}, CasoRechazo{"Signo", "$-1"},
                    CasoRechazo{"SignoMas", "$+1"}, CasoRechazo{"BlancoInterior", "$ 1A"},
                    CasoRechazo{"BlancoFinal", "$1A "}, CasoRechazo{"LetraNoHex", "$1G"}),
    kNombreCaso);

std::string MensajeDe(const std::function<void()>& conversion)
{
    try {
        conversion();
    } catch (const ErrorConversion& e) {
        return e.what();
    }
    return "(sin error)";
}

TEST(ErrorConversion, TextoDelMensaje)
{
    EXPECT_EQ(MensajeDe([] { TextoAEntero("12a"); }), "'12a' no es un valor entero válido");
    EXPECT_EQ(MensajeDe([] { HexAEntero("$0x1A2B"); }), "'$0x1A2B' no es un valor entero válido");
    // Single-byte text reaches the message as UTF-8 ("ñ" is 0xF1 in windows-1252).
    EXPECT_EQ(MensajeDe([] { TextoAEntero("\xF1"); }), "'\xC3\xB1' no es un valor entero válido");
    EXPECT_EQ(MensajeDe([] { TextoAEntero(" 5 "); }), "' 5 ' no es un valor entero válido");
}

} // namespace
} // namespace durlavex
