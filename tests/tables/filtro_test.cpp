// Filtrar: the rows of one teacher, as the import walks SOLUC.

#include <gtest/gtest.h>

#include "comun/directorio_temporal.h"
#include "tables/expresion_filtro.h"
#include "tables/tabla_prueba.h"

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;
using pruebas::Textos;

const std::vector<DefinicionCampo> kCampos{
    {"ID", TipoCampo::Texto, 3}, {"PROF", TipoCampo::Texto, 10}, {"DIA", TipoCampo::Entero, 0}};

class Filtro : public ::testing::Test {
  protected:
    void SetUp() override
    {
        pruebas::CrearTablaConFilas(trabajo.Ruta(), "SOLUC", kCampos,
                                    {{"r0", "ANA", "1"},
                                     {"r1", "O'BRIEN", "2"},
                                     {"r2", "ana", "3"},
                                     {"r3", "ANA  ", "0"},
                                     {"r4", "BEA", "1"},
                                     {"r5", "O'", "1"},
                                     {"r6", "ANA", "5"}});
        soluc.Abrir();
    }
    DirectorioTemporal trabajo;
    Tabla soluc{trabajo.Ruta(), "SOLUC"};
};

TEST_F(Filtro, DejaSoloLasFilasDelValorEnOrdenDeTabla)
{
    soluc.Filtrar("PROF= 'ANA'");
    EXPECT_EQ(soluc.NumeroFilas(), 3);
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r0", "r3", "r6"}));
}

TEST_F(Filtro, ComillaDobladaEsUnaComillaDelValor)
{
    soluc.Filtrar("PROF= 'O''BRIEN'");
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r1"}));
    soluc.Filtrar("PROF= 'O'''");
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r5"}));
}

TEST_F(Filtro, CambiarDeFiltroYQuitarloVuelveATodasLasFilas)
{
    soluc.Filtrar("PROF= 'ana'");
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r2"}));
    soluc.Filtrar("PROF= 'BEA'");
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r4"}));
    soluc.Filtrar("PROF= 'NADIE'");
    EXPECT_EQ(soluc.NumeroFilas(), 0);
    soluc.Primero();
    EXPECT_TRUE(soluc.Fin());
    soluc.QuitarFiltro();
    EXPECT_EQ(soluc.NumeroFilas(), 7);
}

TEST_F(Filtro, FiltrarLlevaALaPrimeraFilaDelFiltro)
{
    soluc.Ultimo();
    soluc.Filtrar("PROF= 'BEA'");
    EXPECT_FALSE(soluc.Fin());
    EXPECT_EQ(soluc.LeerTexto("ID"), "r4");
}

TEST_F(Filtro, UnaFilaAgregadaEntraSiCumpleElFiltro)
{
    soluc.Filtrar("PROF= 'BEA'");
    for (const char* prof : {"BEA", "ANA"}) {
        soluc.Agregar();
        soluc.FijarTexto("ID", VistaAnsi(std::string("n") + prof[0]));
        soluc.FijarTexto("PROF", VistaAnsi(prof));
        soluc.Grabar();
    }
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r4", "nB"}));
    soluc.Filtrar("PROF= 'ANA'");
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r0", "r3", "r6", "nA"}));
}

TEST_F(Filtro, CampoNumericoSeComparaComoNumero)
{
    soluc.Filtrar("DIA= '1'");
    EXPECT_EQ(pruebas::Columna(soluc, "ID"), (Textos{"r0", "r4", "r5"}));
}

TEST_F(Filtro, CampoQueNoExisteEsUnErrorQueLoNombra)
{
    EXPECT_EQ(pruebas::MensajeDeError([&] { soluc.Filtrar("PROFE= 'ANA'"); }),
              "La tabla «SOLUC» no tiene el campo «PROFE»");
}

struct CasoExpresion {
    const char* nombre;
    std::string expresion;
    std::string campo; // empty: refused
    std::string valor;
};

class LecturaDeExpresion : public ::testing::TestWithParam<CasoExpresion> {};

TEST_P(LecturaDeExpresion, DaCampoYValor)
{
    const auto filtro = LeerExpresionFiltro(GetParam().expresion, "SOLUC");
    EXPECT_EQ(filtro.campo, GetParam().campo);
    EXPECT_EQ(filtro.valor, GetParam().valor);
}

INSTANTIATE_TEST_SUITE_P(
    Validas, LecturaDeExpresion,
    ::testing::Values(CasoExpresion{"ComoLaEscribeLaImportacion", "PROF= 'ANA'", "PROF", "ANA"},
                      CasoExpresion{"SinBlancos", "PROF='ANA'", "PROF", "ANA"},
                      CasoExpresion{"BlancosAlrededor", "  PROF  =   'ANA'  ", "PROF", "ANA"},
                      CasoExpresion{"ValorVacio", "PROF= ''", "PROF", ""},
                      CasoExpresion{"ComillaDoblada", "PROF= 'O''BRIEN'", "PROF", "O'BRIEN"},
                      CasoExpresion{"SoloUnaComillaDoblada", "PROF= ''''", "PROF", "'"},
                      CasoExpresion{"BlancosDentroDelValorSeConservan", "PROF= ' A B '", "PROF", " A B "},
                      CasoExpresion{"NombreConCifrasYGuion", "X_PROF2= 'x'", "X_PROF2", "x"}),
    [](const auto& info) { return std::string(info.param.nombre); });

struct CasoRechazo {
    const char* nombre;
    std::string expresion;
};

class ExpresionRechazada : public ::testing::TestWithParam<CasoRechazo> {};

TEST_P(ExpresionRechazada, EsUnErrorQueNombraLaExpresionYLaTabla)
{
    EXPECT_EQ(
        pruebas::MensajeDeError([] { LeerExpresionFiltro(GetParam().expresion, "SOLUC"); }),
        "El filtro «" + GetParam().expresion +
            "» de la tabla «SOLUC» no es válido: se esperaba CAMPO= 'valor', con las comillas del valor "
            "duplicadas");
}

INSTANTIATE_TEST_SUITE_P(Invalidas, ExpresionRechazada,
                         ::testing::Values(CasoRechazo{"Vacia", ""}, CasoRechazo{"SinComillas", "PROF= ANA"},
                                           CasoRechazo{"SinComillaFinal", "PROF= 'ANA"},
                                           CasoRechazo{"ComillaSinDoblar", "PROF= 'O'BRIEN'"},
                                           CasoRechazo{"ComillasDobles", "PROF= \"ANA\""},
                                           CasoRechazo{"DosIguales", "PROF== 'ANA'"},
                                           CasoRechazo{"OtroOperador", "PROF<> 'ANA'"},
                                           CasoRechazo{"SinCampo", "= 'ANA'"},
                                           CasoRechazo{"DosCondiciones", "PROF= 'ANA' AND DIA= '1'"},
                                           CasoRechazo{"CampoQueEmpiezaPorCifra", "1PROF= 'ANA'"}),
                         [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
} // namespace durlavex
