// OrdenarPorIndice: ascending by the index fields, ties in append order.

#include <gtest/gtest.h>

#include "comun/directorio_temporal.h"
#include "tables/esquemas.h"
#include "tables/tabla_prueba.h"

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;
using pruebas::Textos;

TEST(OrdenPorIndice, DiasHoras2PorOrdenConEmpatesEnOrdenDeAlta)
{
    DirectorioTemporal trabajo;
    auto tabla = CrearTabla(trabajo.Ruta(), esquemas::DIASHORAST2);
    tabla->Abrir();
    const std::vector<std::pair<const char*, int>> filas{{"a", 30}, {"b", 10}, {"c", 20}, {"d", 10},
                                                         {"e", 30}, {"f", -5}, {"g", 10}};
    for (const auto& [diho, orden] : filas) {
        tabla->Agregar();
        tabla->FijarTexto("DIHO", VistaAnsi(diho));
        tabla->FijarEntero("ORDEN", orden);
        tabla->Grabar();
    }
    tabla->OrdenarPorIndice("ORDEN");
    EXPECT_EQ(pruebas::Columna(*tabla, "DIHO"), (Textos{"f", "b", "d", "g", "c", "a", "e"}));
    tabla->OrdenarPorIndice("");
    EXPECT_EQ(pruebas::Columna(*tabla, "DIHO"), (Textos{"a", "b", "c", "d", "e", "f", "g"}));
}

TEST(OrdenPorIndice, LasFilasAgregadasDespuesOcupanSuSitio)
{
    DirectorioTemporal trabajo;
    auto tabla = CrearTabla(trabajo.Ruta(), esquemas::DIASHORAST2);
    tabla->Abrir();
    tabla->OrdenarPorIndice("orden");
    for (const auto& [diho, orden] :
         std::vector<std::pair<const char*, int>>{{"a", 2}, {"b", 1}, {"c", 2}, {"d", 0}}) {
        tabla->Agregar();
        tabla->FijarTexto("DIHO", VistaAnsi(diho));
        tabla->FijarEntero("ORDEN", orden);
        tabla->Grabar();
        EXPECT_EQ(tabla->LeerTexto("DIHO").Bytes(), diho); // the row just posted stays current
    }
    EXPECT_EQ(pruebas::Columna(*tabla, "DIHO"), (Textos{"d", "b", "a", "c"}));
}

TEST(OrdenPorIndice, SinIndiceEnElArchivoOrdenaPorLosValores)
{
    DirectorioTemporal trabajo;
    pruebas::CrearTablaConFilas(
        trabajo.Ruta(), "PRUEBA",
        {{"ID", TipoCampo::Texto, 2}, {"COD", TipoCampo::Texto, 5}, {"NUM", TipoCampo::Entero, 0}},
        {{"r0", "b", "2"}, {"r1", "a", ""}, {"r2", "b", "1"}, {"r3", "a", "2"}, {"r4", "B", "1"}});
    Tabla tabla(trabajo.Ruta(), "PRUEBA");
    tabla.Abrir();
    tabla.OrdenarPorIndice("NUM");
    EXPECT_EQ(pruebas::Columna(tabla, "ID"), (Textos{"r1", "r2", "r4", "r0", "r3"})); // blank first
    tabla.OrdenarPorIndice("COD;NUM");
    EXPECT_EQ(pruebas::Columna(tabla, "ID"), (Textos{"r4", "r1", "r3", "r2", "r0"}));
    EXPECT_THROW(tabla.OrdenarPorIndice("NADA"), Error);
}

TEST(OrdenPorIndice, ConFiltroSeOrdenanSoloLasFilasDelFiltro)
{
    DirectorioTemporal trabajo;
    pruebas::CrearTablaConFilas(
        trabajo.Ruta(), "PRUEBA",
        {{"ID", TipoCampo::Texto, 2}, {"PROF", TipoCampo::Texto, 5}, {"NUM", TipoCampo::Entero, 0}},
        {{"r0", "A", "3"}, {"r1", "B", "1"}, {"r2", "A", "1"}, {"r3", "A", "2"}});
    Tabla tabla(trabajo.Ruta(), "PRUEBA");
    tabla.Abrir();
    tabla.OrdenarPorIndice("NUM");
    tabla.Filtrar("PROF= 'A'");
    EXPECT_EQ(pruebas::Columna(tabla, "ID"), (Textos{"r2", "r3", "r0"}));
}

} // namespace
} // namespace durlavex
