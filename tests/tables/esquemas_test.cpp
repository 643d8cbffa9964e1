// The layouts as the engine reads them back, and the recreate procedure.

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "comun/directorio_temporal.h"
#include "platform/dbf/archivo_dbf.h"
#include "tables/esquemas.h"
#include "tables/tabla_prueba.h"

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;

// What the engine must read: name, letter, width, decimals.
using CampoLeido = std::tuple<std::string, char, int, int>;

std::vector<CampoLeido> Leidos(const dbf::ArchivoDbf& archivo)
{
    std::vector<CampoLeido> campos;
    for (const auto& c : archivo.Campos())
        campos.emplace_back(c.nombre, c.tipo, c.ancho, c.decimales);
    return campos;
}

class CadaEsquema : public ::testing::TestWithParam<const Esquema*> {};

TEST_P(CadaEsquema, SeCreaVacioYElMotorLeeSusCamposEnOrden)
{
    const Esquema& esquema = *GetParam();
    DirectorioTemporal trabajo;
    auto tabla = CrearTabla(trabajo.Ruta(), esquema);
    EXPECT_FALSE(tabla->Abierta());

    std::vector<CampoLeido> esperados;
    for (const auto& c : esquema.campos) {
        switch (c.tipo) {
        case TipoCampo::Texto:
            esperados.emplace_back(c.nombre, 'C', c.ancho, 0);
            break;
        case TipoCampo::Logico:
            esperados.emplace_back(c.nombre, 'L', 1, 0);
            break;
        case TipoCampo::Entero:
            esperados.emplace_back(c.nombre, 'N', 11, 0);
            break;
        case TipoCampo::Flotante:
            esperados.emplace_back(c.nombre, 'N', 20, 4);
            break;
        }
    }
    auto archivo = dbf::ArchivoDbf::Abrir(trabajo / (esquema.nombre + ".DBF"), dbf::Acceso::Compartido);
    EXPECT_EQ(archivo->VersionArchivo(), dbf::Version::DBase7);
    EXPECT_EQ(Leidos(*archivo), esperados);
    EXPECT_EQ(archivo->NumRegistros(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Tablas, CadaEsquema, ::testing::ValuesIn(esquemas::Todos()),
                         [](const auto& info) { return info.param->nombre; });

TEST(Esquemas, LasDiezTablasConSusCamposComoLasLeeTalvorin)
{
    using Nombres = std::vector<std::string>;
    auto nombres = [](const Esquema& e) {
        Nombres n;
        for (const auto& c : e.campos)
            n.push_back(c.nombre);
        return n;
    };
    Nombres tablas;
    for (const Esquema* e : esquemas::Todos())
        tablas.push_back(e->nombre);
    EXPECT_EQ(tablas, (Nombres{"ASIGNOMT", "ASIGNOMT2", "PROFT", "AULAT", "CURSOST", "GRUPOST", "ASIGT",
                               "DIASHORAST", "DIASHORAST2", "PERIODOS"}));
    EXPECT_EQ(nombres(esquemas::ASIGT),
              (Nombres{"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL", "CURSO", "GRUPO", "HORAS",
                       "SESIONES", "NCONEX", "CLAVE", "CLAVECURSO", "CTAREA"}));
    EXPECT_EQ(nombres(esquemas::ASIGNOMT2),
              (Nombres{"COD", "CODLARGO", "NOMBRE", "MATERIA", "OFERTAMATRI", "CODTAREA", "ESTAREA"}));
    // TURNO is one character in the course tables and ten in ASIGT.
    EXPECT_EQ(esquemas::CURSOST.campos[1].ancho, 1);
    EXPECT_EQ(esquemas::GRUPOST.campos[1].ancho, 1);
    EXPECT_EQ(esquemas::ASIGT.campos[4].ancho, 10);
    // DIASHORAST2 is DIASHORAST plus ORDEN, and the only table with an index.
    Nombres diasHoras2 = nombres(esquemas::DIASHORAST);
    diasHoras2.push_back("ORDEN");
    EXPECT_EQ(nombres(esquemas::DIASHORAST2), diasHoras2);
    for (const Esquema* e : esquemas::Todos())
        EXPECT_EQ(e->indices.empty(), e != &esquemas::DIASHORAST2) << e->nombre;
}

TEST(Esquemas, DiasHoras2LlevaSuIndiceOrdenEnElArchivoMdx)
{
    DirectorioTemporal trabajo;
    CrearTabla(trabajo.Ruta(), esquemas::DIASHORAST2);
    EXPECT_TRUE(std::filesystem::exists(trabajo / "DIASHORAST2.MDX"));
    auto archivo = dbf::ArchivoDbf::Abrir(trabajo / "DIASHORAST2.DBF", dbf::Acceso::Compartido);
    ASSERT_EQ(archivo->Indices().size(), 1u);
    EXPECT_EQ(archivo->Indices()[0].etiqueta, "ORDEN");
    EXPECT_EQ(archivo->Indices()[0].campo, "ORDEN");
}

TEST(RecrearTabla, SinArchivosPreviosNoFallaNada)
{
    DirectorioTemporal trabajo;
    EXPECT_NO_THROW(BorrarTabla(trabajo.Ruta(), "PROFT"));
    EXPECT_NO_THROW(CrearTabla(trabajo.Ruta(), esquemas::PROFT));
    EXPECT_TRUE(std::filesystem::exists(trabajo / "PROFT.DBF"));
}

TEST(RecrearTabla, SobreUnaTablaConFilasDejaUnaTablaVaciaConElNuevoDiseno)
{
    DirectorioTemporal trabajo;
    // An older PROFT of another layout, with rows and a stray index file.
    pruebas::CrearTablaConFilas(trabajo.Ruta(), "PROFT", {{"VIEJO", TipoCampo::Texto, 4}}, {{"a"}, {"b"}});
    {
        std::ofstream(trabajo / "PROFT.MDX") << "viejo";
    }

    BorrarTabla(trabajo.Ruta(), "PROFT");
    EXPECT_FALSE(std::filesystem::exists(trabajo / "PROFT.DBF"));
    EXPECT_FALSE(std::filesystem::exists(trabajo / "PROFT.MDX"));
    auto tabla = CrearTabla(trabajo.Ruta(), esquemas::PROFT);
    tabla->Abrir();
    EXPECT_EQ(tabla->NumeroFilas(), 0);
    EXPECT_TRUE(tabla->TieneCampo("X_EMPLEADO"));
    EXPECT_FALSE(tabla->TieneCampo("VIEJO"));
}

TEST(RecrearTabla, CrearSustituyeUnaTablaQueNoSeBorro)
{
    DirectorioTemporal trabajo;
    pruebas::CrearTablaConFilas(trabajo.Ruta(), "PERIODOS", esquemas::PERIODOS.campos, {{"J1", "Mañana"}});
    auto tabla = CrearTabla(trabajo.Ruta(), esquemas::PERIODOS);
    tabla->Abrir();
    EXPECT_EQ(tabla->NumeroFilas(), 0);
}

TEST(RecrearTabla, BorrarTablaEncuentraLosArchivosSinDistinguirMayusculas)
{
    DirectorioTemporal trabajo;
    {
        std::ofstream(trabajo / "asigt.dbf") << "x";
    }
    {
        std::ofstream(trabajo / "Asigt.Mdx") << "x";
    }
    {
        std::ofstream(trabajo / "ASIGT2.DBF") << "x";
    }
    BorrarTabla(trabajo.Ruta(), "ASIGT");
    EXPECT_FALSE(std::filesystem::exists(trabajo / "asigt.dbf"));
    EXPECT_FALSE(std::filesystem::exists(trabajo / "Asigt.Mdx"));
    EXPECT_TRUE(std::filesystem::exists(trabajo / "ASIGT2.DBF"));
}

} // namespace
} // namespace durlavex
