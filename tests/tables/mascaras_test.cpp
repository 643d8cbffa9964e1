// Picture masks checked when a row is posted.

#include <gtest/gtest.h>

#include "comun/directorio_temporal.h"
#include "tables/esquemas.h"
#include "tables/mascara.h"
#include "tables/tabla_prueba.h"

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;

struct CasoMascara {
    const char* nombre;
    std::string mascara;
    std::string valor;
    bool cumple;
};

class Mascara : public ::testing::TestWithParam<CasoMascara> {};

TEST_P(Mascara, AceptaSoloLoQueLaMascaraDescribe)
{
    EXPECT_EQ(CumpleMascara(GetParam().valor, GetParam().mascara), GetParam().cumple);
}

INSTANTIATE_TEST_SUITE_P(Casos, Mascara,
                         ::testing::Values(CasoMascara{"UnaCifra", "#*#", "7", true},
                                           CasoMascara{"DiezCifras", "#*#", "1234567890", true},
                                           CasoMascara{"NingunaCifra", "#*#", "", false},
                                           CasoMascara{"CifrasYLetra", "#*#", "12a", false},
                                           CasoMascara{"BlancoDelante", "#*#", " 12", false},
                                           CasoMascara{"SuperindiceDos", "#*#", "\xB2", false},
                                           CasoMascara{"FechaCompleta", "##/##/####", "01/09/2023", true},
                                           CasoMascara{"FechaConAnoDeDosCifras", "##/##/####", "01/09/23",
                                                       false},
                                           CasoMascara{"FechaConGuiones", "##/##/####", "01-09-2023", false},
                                           CasoMascara{"FechaSinUnaBarra", "##/##/####", "0109/2023", false},
                                           CasoMascara{"FechaLarga", "##/##/####", "01/09/20234", false},
                                           CasoMascara{"FechaIncompleta", "##/##/####", "01/09", false},
                                           CasoMascara{"RepeticionDeUnLiteral", "#*-#", "1---2", true},
                                           CasoMascara{"RepeticionCero", "#*-#", "12", true},
                                           CasoMascara{"AsteriscoFinalNoExigeNada", "##*", "12", true}),
                         [](const auto& info) { return std::string(info.param.nombre); });

struct CasoFecha {
    const char* nombre;
    std::string valor;
    bool existe;
    friend void PrintTo(const CasoFecha& c, std::ostream* os) { *os << c.valor; }
};

class FechaDelCalendario : public ::testing::TestWithParam<CasoFecha> {};

TEST_P(FechaDelCalendario, SoloDiasQueExisten)
{
    EXPECT_EQ(EsFechaDelCalendario(GetParam().valor), GetParam().existe);
}

INSTANTIATE_TEST_SUITE_P(Casos, FechaDelCalendario,
                         ::testing::Values(CasoFecha{"Corriente", "01/09/2015", true},
                                           CasoFecha{"TreintaYUnoDeFebrero", "31/02/2020", false},
                                           CasoFecha{"MesCero", "15/00/2020", false},
                                           CasoFecha{"MesTrece", "00/13/2020", false},
                                           CasoFecha{"DiaCero", "00/01/2020", false},
                                           CasoFecha{"TreintaYUnoDeAbril", "31/04/2021", false},
                                           CasoFecha{"TreintaYUnoDeDiciembre", "31/12/2021", true},
                                           CasoFecha{"VeintinueveDeFebreroBisiesto", "29/02/2024", true},
                                           CasoFecha{"VeintinueveDeFebreroNoBisiesto", "29/02/2023", false},
                                           CasoFecha{"SigloNoBisiesto", "29/02/1900", false},
                                           CasoFecha{"SigloBisiesto", "29/02/2000", true},
                                           CasoFecha{"AnoCero", "01/01/0000", false},
                                           CasoFecha{"NoSeAjustaALaMascara", "1/9/2015", false},
                                           CasoFecha{"Vacia", "", false}),
                         [](const auto& info) { return std::string(info.param.nombre); });

class MascarasDeProft : public ::testing::Test {
  protected:
    void SetUp() override
    {
        pruebas::CrearTablaConFilas(trabajo.Ruta(), "PROFT", esquemas::PROFT.campos, {{"ANA", "Ana"}});
        proft.DefinirMascaras({{"X_EMPLEADO", "#*#"}, {"F_TOMAPOS", "##/##/####"}});
        proft.Abrir();
        proft.Editar();
    }
    DirectorioTemporal trabajo;
    Tabla proft{trabajo.Ruta(), "proft.dbf"};
};

TEST_F(MascarasDeProft, UnValorQueNoEncajaNoSeGrabaYElErrorNombraElCampo)
{
    proft.FijarTexto("X_EMPLEADO", "123");
    proft.FijarTexto("F_TOMAPOS", "01/09");
    EXPECT_EQ(
        pruebas::MensajeDeError([&] { proft.Grabar(); }),
        "El valor «01/09» del campo «F_TOMAPOS» de la tabla «PROFT» no se ajusta a la máscara «##/##/####»");
    EXPECT_TRUE(proft.EnEdicion());
    proft.FijarTexto("F_TOMAPOS", "01/09/2023");
    proft.Grabar();
    EXPECT_FALSE(proft.EnEdicion());
    Tabla otra(trabajo.Ruta(), "PROFT");
    otra.Abrir();
    EXPECT_EQ(otra.LeerTexto("X_EMPLEADO"), "123");
    EXPECT_EQ(otra.LeerTexto("F_TOMAPOS"), "01/09/2023");
}

TEST_F(MascarasDeProft, LetrasEnElNumeroDeEmpleadoSeRechazan)
{
    proft.FijarTexto("X_EMPLEADO", "E123");
    EXPECT_EQ(pruebas::MensajeDeError([&] { proft.Grabar(); }),
              "El valor «E123» del campo «X_EMPLEADO» de la tabla «PROFT» no se ajusta a la máscara «#*#»");
}

TEST_F(MascarasDeProft, UnCampoQueSeDejaVacioNoSeComprueba)
{
    proft.FijarTexto("X_EMPLEADO", "123");
    EXPECT_NO_THROW(proft.Grabar());
}

TEST_F(MascarasDeProft, MoverseGrabaLaFilaEnEdicionYTambienComprueba)
{
    proft.FijarTexto("X_EMPLEADO", "12 3");
    EXPECT_THROW(proft.Siguiente(), Error);
    EXPECT_TRUE(proft.EnEdicion());
    proft.Cancelar();
    EXPECT_EQ(proft.LeerTexto("X_EMPLEADO"), "");
}

} // namespace
} // namespace durlavex
