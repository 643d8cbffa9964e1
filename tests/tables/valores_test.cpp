// Setting and reading field values through a handle.

#include <gtest/gtest.h>

#include "comun/directorio_temporal.h"
#include "platform/error.h"
#include "platform/texto.h"
#include "tables/tabla_prueba.h"

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;

const std::vector<DefinicionCampo> kCampos{{"COD", TipoCampo::Texto, 10},
                                           {"NOMBRE", TipoCampo::Texto, 80},
                                           {"NUM", TipoCampo::Entero, 0},
                                           {"HORAS", TipoCampo::Flotante, 0},
                                           {"ACTIVO", TipoCampo::Logico, 0}};

// A fresh table with the fields above, open.
class ValoresCampo : public ::testing::Test {
  protected:
    void SetUp() override
    {
        tabla.DefinirCampos(kCampos);
        tabla.Crear();
        tabla.Abrir();
    }
    // Appends one row with COD set to `texto`, and reads it back from a new
    // handle, so the value has been through the file.
    std::string GuardarYLeer(std::string_view texto)
    {
        tabla.Agregar();
        tabla.FijarTexto("COD", VistaAnsi(texto));
        tabla.Grabar();
        Tabla otra(trabajo.Ruta(), "PRUEBA");
        otra.Abrir();
        otra.Ultimo();
        return otra.LeerTexto("COD").Bytes();
    }

    DirectorioTemporal trabajo;
    Tabla tabla{trabajo.Ruta(), "PRUEBA"};
};

struct CasoTexto {
    const char* nombre;
    std::string escrito;
    std::string leido;
};

class TextoEnCampoDeDiez : public ValoresCampo, public ::testing::WithParamInterface<CasoTexto> {};

TEST_P(TextoEnCampoDeDiez, SeLeeComoSeGuardo)
{
    EXPECT_EQ(GuardarYLeer(GetParam().escrito), GetParam().leido);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TextoEnCampoDeDiez,
    ::testing::Values(CasoTexto{"OnceCaracteresSeCortanADiez", "ABCDEFGHIJK", "ABCDEFGHIJ"},
                      CasoTexto{"ExactamenteElAnchoSinCambios", "ABCDEFGHIJ", "ABCDEFGHIJ"},
                      CasoTexto{"BlancosFinalesNoSeLeen", "AB   ", "AB"},
                      CasoTexto{"BlancosInicialesSeConservan", "  AB", "  AB"},
                      CasoTexto{"BlancoQueQuedaTrasElCorteNoSeLee", "ABCDEFGHI JK", "ABCDEFGHI"},
                      CasoTexto{"VacioDejaElCampoEnBlanco", "", ""},
                      CasoTexto{"LetrasAcentuadasByteAByte", Utf8AAnsi("Educación").Bytes(),
                                Utf8AAnsi("Educación").Bytes()}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(ValoresCampo, UnCampoNuncaFijadoSeLeeVacioYCero)
{
    tabla.Agregar();
    tabla.FijarTexto("COD", "X");
    tabla.Grabar();
    EXPECT_EQ(tabla.LeerTexto("NOMBRE"), "");
    EXPECT_EQ(tabla.LeerTexto("NUM"), "");
    EXPECT_EQ(tabla.LeerEntero("NUM"), 0);
    EXPECT_EQ(tabla.LeerFlotante("HORAS"), 0.0);
    EXPECT_EQ(tabla.LeerEntero("NOMBRE"), 0);
    EXPECT_EQ(tabla.LeerTexto("ACTIVO"), "");
}

TEST_F(ValoresCampo, NumerosYLogicosVuelvenComoSeFijaron)
{
    tabla.Agregar();
    tabla.FijarEntero("NUM", -2147483647 - 1);
    tabla.FijarFlotante("HORAS", 2.5);
    tabla.FijarLogico("ACTIVO", true);
    tabla.Grabar();
    EXPECT_EQ(tabla.LeerEntero("NUM"), -2147483647 - 1);
    EXPECT_EQ(tabla.LeerFlotante("HORAS"), 2.5);
    EXPECT_EQ(tabla.LeerTexto("HORAS"), "2.5000");
    EXPECT_EQ(tabla.LeerTexto("ACTIVO"), "T");
}

TEST_F(ValoresCampo, LaFilaEnEdicionSeLeeConLoFijado)
{
    tabla.Agregar();
    tabla.FijarTexto("COD", "PRIMERO");
    tabla.Grabar();
    tabla.Editar();
    tabla.FijarTexto("COD", "CAMBIADO123");
    tabla.FijarEntero("NUM", 7);
    EXPECT_EQ(tabla.LeerTexto("COD"), "CAMBIADO12");
    EXPECT_EQ(tabla.LeerEntero("NUM"), 7);
    tabla.Cancelar();
    EXPECT_EQ(tabla.LeerTexto("COD"), "PRIMERO");
    EXPECT_EQ(tabla.LeerEntero("NUM"), 0);
}

struct CasoEntero {
    const char* nombre;
    const char* campo;
    std::string texto; // set as text
    int esperado;
};

class LecturaEntera : public ValoresCampo, public ::testing::WithParamInterface<CasoEntero> {};

TEST_P(LecturaEntera, DaElNumero)
{
    tabla.Agregar();
    tabla.FijarTexto(GetParam().campo, VistaAnsi(GetParam().texto));
    tabla.Grabar();
    EXPECT_EQ(tabla.LeerEntero(GetParam().campo), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Casos, LecturaEntera,
                         ::testing::Values(CasoEntero{"CampoNumerico", "NUM", "42", 42},
                                           CasoEntero{"CampoNumericoNegativo", "NUM", "-17", -17},
                                           CasoEntero{"FlotanteSinFraccion", "HORAS", "3", 3},
                                           CasoEntero{"TextoDeCifras", "COD", "123", 123},
                                           CasoEntero{"TextoConBlancosDelante", "COD", "  8", 8},
                                           CasoEntero{"TextoConSigno", "COD", "-5", -5},
                                           CasoEntero{"TextoEnBlanco", "COD", "   ", 0}),
                         [](const auto& info) { return std::string(info.param.nombre); });

struct CasoEnteroErroneo {
    const char* nombre;
    const char* campo;
    std::string texto;
    std::string mensaje;
};

class LecturaEnteraErronea : public ValoresCampo, public ::testing::WithParamInterface<CasoEnteroErroneo> {};

TEST_P(LecturaEnteraErronea, EsUnErrorQueLoDice)
{
    tabla.Agregar();
    tabla.FijarTexto(GetParam().campo, VistaAnsi(GetParam().texto));
    tabla.Grabar();
    EXPECT_EQ(pruebas::MensajeDeError([&] { tabla.LeerEntero(GetParam().campo); }), GetParam().mensaje);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, LecturaEnteraErronea,
    ::testing::Values(
        CasoEnteroErroneo{"TextoConLetra", "COD", "12a", "'12a' no es un valor entero válido"},
        CasoEnteroErroneo{"TextoDecimal", "COD", "1.5", "'1.5' no es un valor entero válido"},
        CasoEnteroErroneo{"FlotanteConFraccion", "HORAS", "2.5",
                          "El valor «2.5000» del campo «HORAS» de la tabla «PRUEBA» no es un número entero"},
        CasoEnteroErroneo{
            "FueraDeRango", "HORAS", "3000000000",
            "El valor «3000000000.0000» del campo «HORAS» de la tabla «PRUEBA» no es un número entero"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(ValoresCampo, TextoQueNoEsNumeroEnCampoNumericoSeRechazaAlFijarlo)
{
    tabla.Agregar();
    EXPECT_THROW(tabla.FijarTexto("NUM", "doce"), Error);
    EXPECT_THROW(tabla.FijarLogico("COD", true), Error);
}

TEST_F(ValoresCampo, FijarSinFilaEnEdicionEsUnError)
{
    EXPECT_THROW(tabla.FijarTexto("COD", "X"), Error);
    EXPECT_THROW(tabla.Grabar(), Error);
}

TEST_F(ValoresCampo, CerrarDescartaLaFilaQueSeEstabaAgregando)
{
    tabla.Agregar();
    tabla.FijarTexto("COD", "PERDIDA");
    tabla.Cerrar();
    tabla.Abrir();
    EXPECT_EQ(tabla.NumeroFilas(), 0);
}

} // namespace
} // namespace durlavex
