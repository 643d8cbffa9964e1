// Localizar: the first row, in the current order, whose fields equal the
// values; and the in-memory lookups behind it kept right as rows change.

#include <gtest/gtest.h>

#include "comun/directorio_temporal.h"
#include "platform/texto.h"
#include "tables/tabla_prueba.h"

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;
using pruebas::FilasTexto;

const std::vector<DefinicionCampo> kCampos{{"ID", TipoCampo::Texto, 3},    {"COD", TipoCampo::Texto, 10},
                                           {"GRUPO", TipoCampo::Texto, 2}, {"NOMBRE", TipoCampo::Texto, 10},
                                           {"NIVEL", TipoCampo::Texto, 5}, {"CLAVE", TipoCampo::Texto, 10},
                                           {"NUM", TipoCampo::Entero, 0}};

FilasTexto Filas()
{
    return {{"r0", "MAT", "1A", Utf8AAnsi("Educación").Bytes(), "Bachillerato", "101", "7"},
            {"r1", "mat", "1B", Utf8AAnsi("Música").Bytes(), "ESO", "0101", "12"},
            {"r2", "MAT", "1B", "Lengua", "ESO", "202", "7"},
            {"r3", "LEN", "1A", "Lengua", "ESO", "101", "-3"}};
}

struct CasoLocalizar {
    const char* nombre;
    std::string campos;
    std::vector<ValorClave> valores;
    std::string fila; // ID of the row found; empty: none
};

class Localizar : public ::testing::TestWithParam<CasoLocalizar> {
  protected:
    void SetUp() override { pruebas::CrearTablaConFilas(trabajo.Ruta(), "PRUEBA", kCampos, Filas()); }
    DirectorioTemporal trabajo;
};

TEST_P(Localizar, EncuentraLaPrimeraFilaQueCoincide)
{
    Tabla tabla(trabajo.Ruta(), "PRUEBA");
    tabla.Abrir();
    const bool encontrada = tabla.Localizar(GetParam().campos, GetParam().valores);
    EXPECT_EQ(encontrada ? tabla.LeerTexto("ID").Bytes() : "", GetParam().fila);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Localizar,
    ::testing::Values(
        CasoLocalizar{"LaPrimeraDeDosCoincidentes", "COD", {std::string("MAT")}, "r0"},
        CasoLocalizar{"VariosCamposSoloLaQueCoincideEnTodos",
                      "COD;GRUPO",
                      {std::string("MAT"), std::string("1B")},
                      "r2"},
        CasoLocalizar{
            "OtraLetraMayusculaNoCoincide", "COD;GRUPO", {std::string("mat"), std::string("1A")}, ""},
        CasoLocalizar{"MinusculasExactasCoinciden", "COD", {std::string("mat")}, "r1"},
        CasoLocalizar{"NombresDeCampoSinDistinguirMayusculas",
                      "cod; Grupo",
                      {std::string("LEN"), std::string("1A")},
                      "r3"},
        CasoLocalizar{
            "ClaveDeDiezConBlancoFinalEncuentraElTexto", "NOMBRE", {Utf8AAnsi("Educación ").Bytes()}, "r0"},
        CasoLocalizar{"AcentoDistintoNoCoincide", "NOMBRE", {Utf8AAnsi("Educacion").Bytes()}, ""},
        CasoLocalizar{"ClaveMasLargaQueElCampoSeCortaASuAncho", "NIVEL", {std::string("Bachillerato")}, "r0"},
        CasoLocalizar{"BlancosInicialesCuentan", "COD", {std::string(" MAT")}, ""},
        CasoLocalizar{"ClaveVaciaNoEncuentraTextoLleno", "COD", {std::string("")}, ""},
        CasoLocalizar{"NumeroComoNumero", "NUM", {std::int32_t{7}}, "r0"},
        CasoLocalizar{"NumeroNegativo", "NUM", {std::int32_t{-3}}, "r3"},
        CasoLocalizar{"NumeroConDecimales", "NUM", {12.0}, "r1"},
        CasoLocalizar{"FraccionNoCoincide", "NUM", {7.5}, ""},
        CasoLocalizar{"TextoDeCifrasEnCampoNumerico", "NUM", {std::string(" 12")}, "r1"},
        CasoLocalizar{"TextoSinCifrasEnCampoNumerico", "NUM", {std::string("doce")}, ""},
        CasoLocalizar{"NumeroEnCampoDeTextoComoSusCifras", "CLAVE", {std::int32_t{101}}, "r0"},
        CasoLocalizar{"CerosDelanteCuentanEnTexto", "CLAVE", {std::string("0101")}, "r1"},
        CasoLocalizar{"TextoYNumeroJuntos", "COD;NUM", {std::string("MAT"), std::int32_t{7}}, "r0"},
        CasoLocalizar{"TextoYNumeroSinFilaComun", "COD;NUM", {std::string("MAT"), std::int32_t{12}}, ""},
        CasoLocalizar{"SinCoincidencia", "COD", {std::string("FIS")}, ""}),
    [](const auto& info) { return std::string(info.param.nombre); });

class LocalizarEnTabla : public ::testing::Test {
  protected:
    void SetUp() override
    {
        pruebas::CrearTablaConFilas(trabajo.Ruta(), "PRUEBA", kCampos, Filas());
        tabla.Abrir();
    }
    DirectorioTemporal trabajo;
    Tabla tabla{trabajo.Ruta(), "PRUEBA"};
};

TEST_F(LocalizarEnTabla, SinCoincidenciaLaFilaActualNoCambia)
{
    tabla.Siguiente();
    tabla.Siguiente();
    EXPECT_FALSE(tabla.Localizar("COD", {std::string("FIS")}));
    EXPECT_EQ(tabla.LeerTexto("ID"), "r2");
}

TEST_F(LocalizarEnTabla, LaFilaEncontradaEsLaActualParaSeguirRecorriendo)
{
    ASSERT_TRUE(tabla.Localizar("GRUPO", {std::string("1B")}));
    EXPECT_EQ(tabla.Posicion(), 1);
    tabla.Siguiente();
    EXPECT_EQ(tabla.LeerTexto("ID"), "r2");
    EXPECT_FALSE(tabla.Fin());
}

TEST_F(LocalizarEnTabla, UnaFilaAgregadaDespuesNoDesplazaALaPrimera)
{
    ASSERT_TRUE(tabla.Localizar("COD", {std::string("LEN")}));
    tabla.Agregar();
    tabla.FijarTexto("ID", "r4");
    tabla.FijarTexto("COD", "LEN");
    tabla.Grabar();
    tabla.Agregar();
    tabla.FijarTexto("ID", "r5");
    tabla.FijarTexto("COD", "FIS");
    tabla.Grabar();
    ASSERT_TRUE(tabla.Localizar("COD", {std::string("LEN")}));
    EXPECT_EQ(tabla.LeerTexto("ID"), "r3");
    ASSERT_TRUE(tabla.Localizar("COD", {std::string("FIS")}));
    EXPECT_EQ(tabla.LeerTexto("ID"), "r5");
}

TEST_F(LocalizarEnTabla, VeLoQueOtroManejadorEditoEnLaMismaTabla)
{
    EXPECT_FALSE(tabla.Localizar("COD", {std::string("FIS")}));
    Tabla otra(trabajo.Ruta(), "PRUEBA");
    otra.Abrir();
    otra.Ultimo();
    otra.Editar();
    otra.FijarTexto("COD", "FIS");
    otra.Grabar();
    ASSERT_TRUE(tabla.Localizar("COD", {std::string("FIS")}));
    EXPECT_EQ(tabla.LeerTexto("ID"), "r3");
    EXPECT_FALSE(tabla.Localizar("COD", {std::string("LEN")}));
}

TEST_F(LocalizarEnTabla, VeLasFilasQueOtroManejadorAgrego)
{
    EXPECT_FALSE(tabla.Localizar("COD", {std::string("FIS")}));
    Tabla otra(trabajo.Ruta(), "PRUEBA");
    otra.Abrir();
    otra.Agregar();
    otra.FijarTexto("ID", "r4");
    otra.FijarTexto("COD", "FIS");
    otra.Grabar();
    ASSERT_TRUE(tabla.Localizar("COD", {std::string("FIS")}));
    EXPECT_EQ(tabla.LeerTexto("ID"), "r4");
}

TEST_F(LocalizarEnTabla, BuscaEnElOrdenElegido)
{
    tabla.OrdenarPorIndice("NUM");
    ASSERT_TRUE(tabla.Localizar("GRUPO", {std::string("1A")}));
    EXPECT_EQ(tabla.LeerTexto("ID"), "r3"); // NUM -3 comes first
}

TEST_F(LocalizarEnTabla, SoloEntreLasFilasDelFiltro)
{
    tabla.Filtrar("COD= 'MAT'");
    ASSERT_TRUE(tabla.Localizar("GRUPO", {std::string("1B")}));
    EXPECT_EQ(tabla.LeerTexto("ID"), "r2");
    EXPECT_FALSE(tabla.Localizar("COD", {std::string("LEN")}));
}

TEST_F(LocalizarEnTabla, CamposYValoresDeDistintoNumeroEsUnError)
{
    EXPECT_THROW(tabla.Localizar("COD;GRUPO", {std::string("MAT")}), Error);
}

} // namespace
} // namespace durlavex
