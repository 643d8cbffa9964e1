// Trimming, the blank test and ASCII case changes on single-byte and UTF-8 text.

#include "platform/texto.h"

#include <gtest/gtest.h>

namespace durlavex {
namespace {

struct CasoRecorte {
    const char* nombre;
    std::string_view texto;
    std::string_view recortado;
};

class Recorte : public testing::TestWithParam<CasoRecorte> {};

TEST_P(Recorte, QuitaCodigosHasta32EnAmbosExtremos)
{
    EXPECT_EQ(Recortar(GetParam().texto), GetParam().recortado);
    EXPECT_EQ(EsBlanco(GetParam().texto), GetParam().recortado.empty());
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(Casos, Recorte,
                         testing::Values(CasoRecorte{"Vacio", "", ""}, CasoRecorte{"SoloBlancos", "   ", ""},
                                         CasoRecorte{"ControlesYBlancos", "\t\r\n \x01\x1f", ""},
                                         CasoRecorte{"NulIncluido", "\0a\0"sv, "a"},
                                         CasoRecorte{"BlancosInternosQuedan", "  a  b \t", "a  b"},
                                         CasoRecorte{"EspacioDuroAnsiQueda", "\xA0x\xA0", "\xA0x\xA0"},
                                         CasoRecorte{"Del7FQueda", "\x7F", "\x7F"},
                                         CasoRecorte{"Utf8MultibyteQueda", " \xC3\xA9\xE2\x82\xAC\n",
                                                     "\xC3\xA9\xE2\x82\xAC"},
                                         CasoRecorte{"Codigo33Queda", "!", "!"}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(QuitarBlancosFinales, SoloQuitaEspaciosDelFinal)
{
    EXPECT_EQ(QuitarBlancosFinales("  a b  "), "  a b");
    EXPECT_EQ(QuitarBlancosFinales("a\t  "), "a\t");
    EXPECT_EQ(QuitarBlancosFinales("   "), "");
    EXPECT_EQ(QuitarBlancosFinales(""), "");
}

TEST(MayusculasMinusculasAscii, SoloCambianLetrasAscii)
{
    // ñ/Ñ in windows-1252 (0xF1/0xD1) and in UTF-8 stay as they are.
    EXPECT_EQ(MayusculasAscii("a\xF1z-09\xC3\xB1"), "A\xF1Z-09\xC3\xB1");
    EXPECT_EQ(MinusculasAscii("IMPORTAR\xD1@[`{"), "importar\xD1@[`{");
}

} // namespace
} // namespace durlavex
