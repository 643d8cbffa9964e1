// The text shown in the error box.

#include "platform/error.h"

#include <gtest/gtest.h>

namespace durlavex {
namespace {

struct CasoCaja {
    const char* nombre;
    std::string_view texto;
    std::string_view mostrado;
};

class TextoCaja : public testing::TestWithParam<CasoCaja> {};

TEST_P(TextoCaja, PuntoSoloTrasUnCaracterMayorQueElPunto)
{
    EXPECT_EQ(TextoCajaError(GetParam().texto), GetParam().mostrado);
}

INSTANTIATE_TEST_SUITE_P(Casos, TextoCaja,
                         testing::Values(CasoCaja{"Letra", "abc", "abc."},
                                         CasoCaja{"YaConPunto", "abc.", "abc."},
                                         CasoCaja{"Exclamacion", "abc!", "abc!"},
                                         CasoCaja{"Parentesis", "x)", "x)"}, CasoCaja{"Coma", "a,", "a,"},
                                         CasoCaja{"Guion", "a-", "a-"}, CasoCaja{"Blanco", "a ", "a "},
                                         CasoCaja{"Vacio", "", ""},
                                         CasoCaja{"Cifra", "registro 12", "registro 12."},
                                         CasoCaja{"Barra", "C:/KTEMP/", "C:/KTEMP/."},
                                         CasoCaja{"MensajeDeConversion", "'12a' no es un valor entero válido",
                                                  "'12a' no es un valor entero válido."},
                                         CasoCaja{"LetraAcentuadaUtf8", "No existe la relaci\xC3\xB3n",
                                                  "No existe la relaci\xC3\xB3n."},
                                         CasoCaja{"EAgudaFinal", "caf\xC3\xA9", "caf\xC3\xA9."}),
                         [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
} // namespace durlavex
