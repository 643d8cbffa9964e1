// The level a course name tells, from the installed NIVELES.TXT.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "export/niveles_por_nombre.h"
#include "platform/error.h"
#include "platform/texto.h"

namespace durlavex {
namespace {

const NivelesPorNombre& Instalados()
{
    static const NivelesPorNombre niveles =
        NivelesPorNombre::Cargar(std::filesystem::path(DURLAVEX_SOURCE_DIR) / "data" / "NIVELES.TXT");
    return niveles;
}

struct CasoNivel {
    const char* curso; // UTF-8
    const char* nivel; // empty: none
};

void PrintTo(const CasoNivel& c, std::ostream* os)
{
    *os << c.curso;
}

class NivelDelNombre : public testing::TestWithParam<CasoNivel> {};

TEST_P(NivelDelNombre, PrimerPatronQueAparececomoPalabra)
{
    const NivelPorNombre* nivel = Instalados().Buscar(Utf8AAnsi(GetParam().curso).Bytes());
    EXPECT_EQ(nivel ? nivel->nivel : "", GetParam().nivel);
}

INSTANTIATE_TEST_SUITE_P(
    Cursos, NivelDelNombre,
    testing::Values(CasoNivel{"1º de E.S.O. (LOMLOE)", "ESO"},
                    CasoNivel{"2º Programa de Diversificación Curricular (LOMLOE)", "PDC"},
                    CasoNivel{"1º de Bachillerato (Ciencias y Tecnología) LOMLOE", "BACH"},
                    CasoNivel{"1º de G.B. (Informática y Comunicaciones)", "FPB"},
                    CasoNivel{"2º de F.P.B. (Peluquería y Estética)", "FPB"},
                    CasoNivel{"1º de C.F.G.M. (Sistemas Microinformáticos y Redes) (Pres.)", "CFGM"},
                    CasoNivel{"2º de C.F.G.S. (Desarrollo de Aplicaciones Web) (Pres.)", "CFGS"},
                    CasoNivel{"3º ESO", "ESO"}, CasoNivel{"1ºESO B", "ESO"}, CasoNivel{"2º BACH", "BACH"},
                    CasoNivel{"1º bach. ciencias", "BACH"}, CasoNivel{"1º de Grado Básico", "FPB"},
                    CasoNivel{"FORMACIÓN PROFESIONAL BÁSICA", "FPB"}, CasoNivel{"1º PMAR", "PMAR"},
                    CasoNivel{"ESOTERICA", ""}, CasoNivel{"2ºESO3", ""},
                    CasoNivel{"Capacitación Digital", ""}, CasoNivel{"", ""}),
    [](const auto& info) { return "caso" + std::to_string(info.index); });

TEST(NivelesPorNombre, DaElNombreCompletoDelNivel)
{
    const NivelPorNombre* nivel =
        Instalados().Buscar(Utf8AAnsi("2º Programa de Diversificación Curricular").Bytes());
    ASSERT_NE(nivel, nullptr);
    EXPECT_EQ(nivel->nombre, Utf8AAnsi("Programa de Diversificación Curricular").Bytes());
}

TEST(NivelesPorNombre, UnaLineaMalFormadaEsUnErrorQueDiceCual)
{
    using testing::HasSubstr;
    EXPECT_THAT([] { NivelesPorNombre::Leer("# nota\nESO\tESO\tSecundaria\nFP Dual FPD\n", "NIVELES.TXT"); },
                testing::ThrowsMessage<Error>(HasSubstr("línea 3 de la tabla de niveles «NIVELES.TXT»")));
    EXPECT_THAT([] { NivelesPorNombre::Cargar("/no/existe/NIVELES.TXT"); },
                testing::ThrowsMessage<Error>(HasSubstr("«/no/existe/NIVELES.TXT»")));
}

TEST(NivelesPorNombre, UnaLineaAnadidaPorElCentroCuenta)
{
    const NivelesPorNombre niveles = NivelesPorNombre::Leer("\xEF\xBB\xBF"
                                                            "Adultos\tEPA\tEducación de Personas Adultas\r\n",
                                                            "NIVELES.TXT");
    const NivelPorNombre* nivel = niveles.Buscar(Utf8AAnsi("1º ESPA (adultos)").Bytes());
    ASSERT_NE(nivel, nullptr);
    EXPECT_EQ(nivel->nivel, "EPA");
}

} // namespace
} // namespace durlavex
