// UTF-8 to windows-1252 as Windows converts it (best fit included) and back.

#include "comun/omitir.h"
#include "platform/texto.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace durlavex {
namespace {

struct CasoAnsi {
    const char* nombre;
    std::string_view utf8;
    std::string_view ansi;
};

class ConversionAnsi : public testing::TestWithParam<CasoAnsi> {};

TEST_P(ConversionAnsi, DaElByteDeWindows)
{
    EXPECT_EQ(Utf8AAnsi(GetParam().utf8).Bytes(), GetParam().ansi);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ConversionAnsi,
    testing::Values(
        CasoAnsi{"Ascii", "Aula 1", "Aula 1"}, CasoAnsi{"AAguda", "\xC3\xA1", "\xE1"},
        CasoAnsi{"Euro", "\xE2\x82\xAC", "\x80"}, CasoAnsi{"ComillaDerecha", "\xE2\x80\x99", "\x92"},
        CasoAnsi{"RayaCorta", "\xE2\x80\x93", "\x96"}, CasoAnsi{"AMacronAjusteA", "\xC4\x80", "A"},
        CasoAnsi{"LBarradaAjusteL", "\xC5\x81", "L"}, CasoAnsi{"InfinitoAjuste8", "\xE2\x88\x9E", "8"},
        CasoAnsi{"SignoMenosAjusteGuion", "\xE2\x88\x92", "-"},
        CasoAnsi{"EspacioIdeograficoAjusteBlanco", "\xE3\x80\x80", " "},
        CasoAnsi{"HanSinByte", "\xE4\xB8\xAD", "?"}, CasoAnsi{"EmojiDosUnidades", "\xF0\x9F\x98\x80", "??"},
        CasoAnsi{"Control81SuPropioByte", "\xC2\x81", "\x81"},
        CasoAnsi{"Control9DSuPropioByte", "\xC2\x9D", "\x9D"}, CasoAnsi{"EspacioDuro", "\xC2\xA0", "\xA0"},
        CasoAnsi{"AgudoCombinanteAjusteAgudo", "e\xCC\x81", "e\xB4"},
        CasoAnsi{"AAnchaAjusteA", "\xEF\xBC\xA1", "A"},
        CasoAnsi{"ByteInvalido",
                 "a\xFF"
                 "b",
                 "a?b"},
        CasoAnsi{"ContinuacionSuelta", "\x80", "?"}, CasoAnsi{"SecuenciaCortadaAlFinal", "x\xE2\x82", "x??"},
        CasoAnsi{"SecuenciaCortadaEnMedio",
                 "\xC3"
                 "a",
                 "?a"},
        CasoAnsi{"FormaLarga", "\xC0\xAF", "??"}, CasoAnsi{"SustitutoCodificado", "\xED\xA0\x80", "???"},
        CasoAnsi{"MasAllaDe10FFFF", "\xF4\x90\x80\x80", "????"}, CasoAnsi{"Vacio", "", ""}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(ConversionAnsi, LosDoscientosCincuentaYSeisBytesVuelven)
{
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += static_cast<char>(b);
    EXPECT_EQ(Utf8AAnsi(AnsiAUtf8(VistaAnsi(todos))).Bytes(), todos);
}

TEST(ConversionAnsi, VueltaAUnicode)
{
    EXPECT_EQ(AnsiAUtf8("\x80\x92\xE1\xD1\xA0"), "\xE2\x82\xAC\xE2\x80\x99\xC3\xA1\xC3\x91\xC2\xA0");
    EXPECT_EQ(AnsiAUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(AnsiAUtf8(VistaAnsi(std::string_view("\0", 1))), std::string_view("\0", 1));
}

// UTF-8 of one BMP code unit (surrogates excluded by the caller).
std::string Utf8DeUnidad(char32_t u)
{
    std::string s;
    if (u < 0x80) {
        s += static_cast<char>(u);
    } else if (u < 0x800) {
        s += static_cast<char>(0xC0 | (u >> 6));
        s += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (u >> 12));
        s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (u & 0x3F));
    }
    return s;
}

// The WCTABLE section of Microsoft's published file: code unit -> byte.
std::map<char32_t, unsigned char> LeerWctable(std::istream& archivo)
{
    std::map<char32_t, unsigned char> tabla;
    bool enWctable = false;
    for (std::string linea; std::getline(archivo, linea);) {
        std::istringstream campos(linea.substr(0, linea.find(';')));
        std::string origen, destino;
        campos >> origen >> destino;
        if (origen == "WCTABLE" || origen == "MBTABLE" || origen == "ENDCODEPAGE")
            enWctable = origen == "WCTABLE";
        else if (enWctable && !destino.empty())
            tabla[static_cast<char32_t>(std::stoul(origen, nullptr, 16))] =
                static_cast<unsigned char>(std::stoul(destino, nullptr, 16));
    }
    return tabla;
}

// The BMP code units (surrogates aside) whose conversion differs from the
// table: listed ones must give their byte, all others "?".
std::vector<unsigned> UnidadesQueDifieren(const std::map<char32_t, unsigned char>& tabla)
{
    std::vector<unsigned> distintas;
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const auto hallada = tabla.find(u);
        const char esperado = hallada == tabla.end() ? '?' : static_cast<char>(hallada->second);
        if (Utf8AAnsi(Utf8DeUnidad(u)).Bytes() != std::string(1, esperado))
            distintas.push_back(static_cast<unsigned>(u));
    }
    return distintas;
}

// The table compiled into the program must agree with Microsoft's published
// file on every BMP code unit.
TEST(ConversionAnsi, CoincideConLaTablaPublicada)
{
    std::ifstream archivo(DURLAVEX_SHARED_DIR "/data/bestfit1252.txt");
    if (!archivo) {
        DURLAVEX_OMITIR_SI_FALTA() << "bestfit1252.txt no está junto al proyecto";
    }
    const auto publicada = LeerWctable(archivo);
    ASSERT_EQ(publicada.size(), 698u);
    EXPECT_THAT(UnidadesQueDifieren(publicada), testing::IsEmpty());
}

} // namespace
} // namespace durlavex
