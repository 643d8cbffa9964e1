// Opening handles, moving through rows, errors that name table and field,
// and the main window's ten handles.

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "comun/directorio_temporal.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/texto.h"
#include "tables/esquemas.h"
#include "tables/tabla_prueba.h"
#include "tables/tablas_principales.h"

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;
using pruebas::Textos;

const std::vector<DefinicionCampo> kCampos{{"ID", TipoCampo::Texto, 3}};

void CrearCinco(const std::filesystem::path& carpeta)
{
    pruebas::CrearTablaConFilas(carpeta, "PRUEBA", kCampos, {{"r0"}, {"r1"}, {"r2"}, {"r3"}, {"r4"}});
}

TEST(Movimiento, SiguienteTrasLaUltimaMarcaElFinYSeQuedaEnLaUltima)
{
    DirectorioTemporal trabajo;
    CrearCinco(trabajo.Ruta());
    Tabla tabla(trabajo.Ruta(), "PRUEBA");
    tabla.Abrir();
    EXPECT_EQ(tabla.LeerTexto("ID"), "r0"); // open on the first row
    tabla.Ultimo();
    EXPECT_FALSE(tabla.Fin());
    tabla.Siguiente();
    EXPECT_TRUE(tabla.Fin());
    EXPECT_EQ(tabla.LeerTexto("ID"), "r4");
    tabla.Mover(-3);
    EXPECT_EQ(tabla.LeerTexto("ID"), "r1");
    EXPECT_FALSE(tabla.Fin());
    tabla.Mover(-10);
    EXPECT_TRUE(tabla.Inicio());
    EXPECT_EQ(tabla.Posicion(), 0);
    tabla.Mover(10);
    EXPECT_TRUE(tabla.Fin());
    EXPECT_EQ(tabla.Posicion(), 4);
}

TEST(Movimiento, TablaVaciaEstaEnElFinYSeLeeVacia)
{
    DirectorioTemporal trabajo;
    pruebas::CrearTablaConFilas(trabajo.Ruta(), "PRUEBA", kCampos, {});
    Tabla tabla(trabajo.Ruta(), "PRUEBA");
    tabla.Abrir();
    tabla.Primero();
    EXPECT_TRUE(tabla.Fin());
    EXPECT_EQ(tabla.NumeroFilas(), 0);
    EXPECT_EQ(tabla.LeerTexto("ID"), "");
    EXPECT_THROW(tabla.Editar(), Error);
}

TEST(Movimiento, LasFilasBorradasNoSeVen)
{
    DirectorioTemporal trabajo;
    CrearCinco(trabajo.Ruta());
    {
        // Mark rows r1 and r3 deleted, as another dBase program would.
        std::fstream archivo(trabajo / "PRUEBA.DBF", std::ios::in | std::ios::out | std::ios::binary);
        unsigned char cabecera[12];
        archivo.read(reinterpret_cast<char*>(cabecera), sizeof cabecera);
        const int inicio = cabecera[8] | (cabecera[9] << 8);
        const int largo = cabecera[10] | (cabecera[11] << 8);
        for (int fila : {1, 3}) {
            archivo.seekp(inicio + fila * largo);
            archivo.put('*');
        }
    }
    Tabla tabla(trabajo.Ruta(), "PRUEBA");
    tabla.Abrir();
    EXPECT_EQ(tabla.NumeroFilas(), 3);
    EXPECT_EQ(pruebas::Columna(tabla, "ID"), (Textos{"r0", "r2", "r4"}));
    EXPECT_FALSE(tabla.Localizar("ID", {std::string("r1")}));
    tabla.Filtrar("ID= 'r3'");
    EXPECT_EQ(tabla.NumeroFilas(), 0);
    tabla.QuitarFiltro();
    tabla.OrdenarPorIndice("ID");
    EXPECT_EQ(pruebas::Columna(tabla, "ID"), (Textos{"r0", "r2", "r4"}));
}

TEST(DosManejadores, ElSegundoAbreLaTablaExclusivaDelPrimeroYVeLoQueGraba)
{
    DirectorioTemporal trabajo;
    CrearTabla(trabajo.Ruta(), esquemas::ASIGNOMT);
    Tabla exclusiva(trabajo.Ruta(), "ASIGNOMT", TipoTabla::DBase, true);
    Tabla otra(trabajo.Ruta(), "ASIGNOMT.DBF");
    exclusiva.Abrir();
    ASSERT_NO_THROW(otra.Abrir());
    exclusiva.Agregar();
    exclusiva.FijarTexto("COD", "513");
    exclusiva.Grabar();
    EXPECT_EQ(otra.NumeroFilas(), 1);
    EXPECT_TRUE(otra.Localizar("COD", {std::string("513")}));
    otra.Editar();
    otra.FijarTexto("CODTAREA", "T1");
    otra.Grabar();
    exclusiva.Primero();
    EXPECT_EQ(exclusiva.LeerTexto("CODTAREA"), "T1");
    otra.Cerrar();
    exclusiva.Cerrar();
    Tabla despues(trabajo.Ruta(), "asignomt");
    despues.Abrir();
    EXPECT_EQ(despues.LeerTexto("CODTAREA"), "T1"); // written through to the file
}

TEST(DosManejadores, UnaRutaCompletaComoNombreSinCarpeta)
{
    DirectorioTemporal trabajo;
    CrearCinco(trabajo.Ruta());
    Tabla tabla({}, (trabajo / "prueba.dbf").string());
    EXPECT_EQ(tabla.Ruta(), trabajo / "PRUEBA.DBF");
    tabla.Abrir();
    EXPECT_TRUE(tabla.Localizar("ID", {std::string("r3")}));
}

TEST(Errores, CampoQueLaTablaNoTiene)
{
    DirectorioTemporal trabajo;
    CrearTabla(trabajo.Ruta(), esquemas::ASIGT);
    Tabla asigt(trabajo.Ruta(), "ASIGT");
    asigt.Abrir();
    EXPECT_EQ(pruebas::MensajeDeError([&] { asigt.LeerTexto("CLAVEX"); }),
              "La tabla «ASIGT» no tiene el campo «CLAVEX»");
    asigt.Agregar();
    EXPECT_EQ(pruebas::MensajeDeError([&] { asigt.FijarTexto("CLAVEX", "1"); }),
              "La tabla «ASIGT» no tiene el campo «CLAVEX»");
    EXPECT_EQ(pruebas::MensajeDeError([&] {
                  asigt.Localizar("CASIG;CLAVEX", {std::string("a"), std::string("b")});
              }),
              "La tabla «ASIGT» no tiene el campo «CLAVEX»");
    EXPECT_TRUE(asigt.TieneCampo("clavecurso"));
}

TEST(Errores, TablaQueNoExisteNombraTablaYCarpeta)
{
    DirectorioTemporal trabajo;
    Tabla soluc(trabajo.Ruta(), "SOLUC");
    EXPECT_EQ(pruebas::MensajeDeError([&] { soluc.Abrir(); }),
              "No existe la tabla «SOLUC» en la carpeta «" + trabajo.Ruta().string() + "»");
    EXPECT_FALSE(soluc.Abierta());
}

TEST(Errores, CarpetaQueNoExiste)
{
    DirectorioTemporal trabajo;
    Tabla soluc(trabajo / "KTEMP", "SOLUC");
    EXPECT_EQ(pruebas::MensajeDeError([&] { soluc.Abrir(); }),
              "No existe la carpeta «" + (trabajo / "KTEMP").string() + "» de la tabla «SOLUC»");
    EXPECT_THROW(CrearTabla(trabajo / "KTEMP", esquemas::PROFT), Error);
}

TEST(Errores, TablaCerrada)
{
    DirectorioTemporal trabajo;
    Tabla proft(trabajo.Ruta(), "PROFT");
    EXPECT_EQ(pruebas::MensajeDeError([&] { proft.Primero(); }), "La tabla «PROFT» no está abierta");
}

TEST(Errores, TablaQueNoEsDBase)
{
    DirectorioTemporal trabajo;
    {
        std::ofstream(trabajo / "SOLUC.DBF") << "esto no es una tabla";
    }
    Tabla soluc(trabajo.Ruta(), "SOLUC");
    EXPECT_THROW(soluc.Abrir(), Error);
    EXPECT_FALSE(soluc.Abierta());
}

// The main window's handles: table, folder and how the name becomes a file.
TEST(TablasPrincipales, CadaManejadorNombraSuTablaYSuCarpeta)
{
    DirectorioTemporal trabajo, programa;
    TablasPrincipales t(trabajo.Ruta(), programa.Ruta());
    const std::vector<std::pair<Tabla*, std::string>> esperadas{
        {&t.wwTableNomAsg, "ASIGNOMT.DBF"},   {&t.wwTableProfesor, "PROFT.DBF"},
        {&t.wwTableTramos, "DIASHORAST.DBF"}, {&t.wwTableAulas, "AULAT.DBF"},
        {&t.wwTableGrupos, "GRUPOST.DBF"},    {&t.wwTableAsig, "ASIGT.DBF"},
        {&t.wwTableSoluc, "SOLUC.DBF"},       {&t.wwTableCursos, "CURSOST.DBF"},
        {&t.wwTableNomAsg_2, "ASIGNOMT2.DBF"}};
    for (const auto& [tabla, archivo] : esperadas) {
        EXPECT_EQ(tabla->Ruta(), trabajo / archivo);
        EXPECT_FALSE(tabla->Abierta());
    }
    EXPECT_EQ(t.wwTableNIVELEX.Nombre(), "NIVELCAN.dbf");
    EXPECT_EQ(t.wwTableNIVELEX.Ruta(), programa / "NIVELCAN.DBF");
}

TEST(TablasPrincipales, NivelexLeeNivelcanAunqueSuNombreVengaEnMinusculas)
{
    DirectorioTemporal trabajo, programa;
    pruebas::CrearTablaConFilas(
        programa.Ruta(), "nivelcan.dbf",
        {{"X_OFERTAMATRIG", TipoCampo::Entero, 0},
         {"NIVEL_ABREV", TipoCampo::Texto, 10},
         {"NIVEL", TipoCampo::Texto, 40}},
        {{"202", "BACH", "Bachillerato"}, {"101", "ESO", "Secundaria"}, {"101", "X", "Otro"}});
    std::filesystem::rename(programa / "NIVELCAN.DBF", programa / "nivelcan.dbf");
    TablasPrincipales t(trabajo.Ruta(), "/");
    t.wwTableNIVELEX.FijarDirectorio(programa.Ruta());
    t.wwTableNIVELEX.Abrir();
    ASSERT_TRUE(t.wwTableNIVELEX.Localizar("X_OFERTAMATRIG", {std::int32_t{101}}));
    EXPECT_EQ(t.wwTableNIVELEX.LeerTexto("NIVEL_ABREV"), "ESO");
    EXPECT_EQ(t.wwTableNIVELEX.LeerTexto("NIVEL"), "Secundaria");
    EXPECT_FALSE(t.wwTableNIVELEX.Localizar("X_OFERTAMATRIG", {std::int32_t{999}}));
    t.CerrarTodas();
    EXPECT_FALSE(t.wwTableNIVELEX.Abierta());
}

// The table the build lays beside the programs.
TEST(TablasPrincipales, ElNivelcanInstaladoTieneLosTresCamposYClavesUnicas)
{
    DirectorioTemporal trabajo;
    TablasPrincipales t(trabajo.Ruta(), DURLAVEX_BINARY_DIR "/bin");
    Tabla& nivelcan = t.wwTableNIVELEX;
    nivelcan.Abrir();
    EXPECT_GT(nivelcan.NumeroFilas(), 0);
    std::set<int> claves;
    for (nivelcan.Primero(); !nivelcan.Fin(); nivelcan.Siguiente()) {
        EXPECT_TRUE(claves.insert(nivelcan.LeerEntero("X_OFERTAMATRIG")).second);
        EXPECT_FALSE(nivelcan.LeerTexto("NIVEL_ABREV").Vacio());
        EXPECT_FALSE(nivelcan.LeerTexto("NIVEL").Vacio());
    }
    ASSERT_TRUE(nivelcan.Localizar("X_OFERTAMATRIG", {std::int32_t{310101}}));
    EXPECT_EQ(nivelcan.LeerTexto("NIVEL_ABREV"), "ESO");
    EXPECT_EQ(nivelcan.LeerTexto("NIVEL"), Utf8AAnsi("Educación Secundaria Obligatoria"));
}

} // namespace
} // namespace durlavex
