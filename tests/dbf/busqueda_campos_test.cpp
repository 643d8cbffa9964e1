// Finding a field by name, whatever the order of the lookups: the search
// starts where the last one ended, and must still find the first field of a
// name when a file repeats one.

#include "dbf/ayudas_dbf.h"
#include "platform/dbf/archivo_dbf.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace durlavex::pruebas {
namespace {

using dbf::ArchivoDbf;

struct Busqueda {
    std::string nombre;
    std::optional<std::size_t> campo;
};

struct CasoCampos {
    const char* descripcion;
    std::vector<DescriptorPrueba> campos;
    std::vector<Busqueda> busquedas; // made in this order on one table
};

const CasoCampos kCasos[] = {
    {"en_orden_y_de_vuelta",
     {{"A", 'C', 1}, {"B", 'C', 1}, {"C", 'C', 1}},
     {{"A", 0}, {"B", 1}, {"C", 2}, {"A", 0}, {"c", 2}, {"b", 1}, {"B", 1}, {"X", std::nullopt}, {"C", 2}}},
    {"nombres_repetidos",
     {{"COD", 'C', 1}, {"NOMBRE", 'C', 1}, {"cod", 'C', 1}},
     {{"NOMBRE", 1}, {"COD", 0}, {"NOMBRE", 1}, {"cod", 0}, {"Cod", 0}}},
    {"una_sola", {{"N", 'C', 1}}, {{"N", 0}, {"n", 0}, {"M", std::nullopt}, {"N", 0}}},
};

class BusquedaCampos : public ::testing::TestWithParam<CasoCampos> {};

TEST_P(BusquedaCampos, DaElPrimerCampoDelNombre)
{
    const CasoCampos& caso = GetParam();
    const auto t = ArchivoDbf::Decodificar(TablaAMano(0x03, caso.campos, {}), "campos");
    for (const Busqueda& b : caso.busquedas)
        EXPECT_EQ(t->BuscarCampo(b.nombre), b.campo) << b.nombre;
}

INSTANTIATE_TEST_SUITE_P(Tablas, BusquedaCampos, ::testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.descripcion); });

} // namespace
} // namespace durlavex::pruebas
