// A datum read by its role: by its nombre_dato when the record names it, by
// its position otherwise, never the datum another role's name claims.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "comun/intercambio.h"
#include "exchange/lectura.h"
#include "exchange/roles_datos.h"
#include "platform/error.h"

namespace durlavex {
namespace {

// One datum as a file writes it: its nombre_dato (none when empty) and text.
using Dato = std::pair<std::string, std::string>;

std::string Registro(const std::vector<Dato>& datos)
{
    std::string xml = "<grupo_datos>";
    for (const auto& [nombre, texto] : datos)
        xml += (nombre.empty() ? "<dato>" : "<dato nombre_dato=\"" + nombre + "\">") +
               pruebas::EscaparXml(texto) + "</dato>";
    return xml + "</grupo_datos>";
}

// The roles 0 to n-1 of the one record of a group.
std::vector<std::string> Roles(const std::string& grupo, const std::vector<Dato>& datos, int n)
{
    LecturaIntercambio lectura;
    lectura.UsarDocumento(DocumentoXml::CargarMemoria("<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"" + grupo +
                                                          "\">" + Registro(datos) +
                                                          "</grupo_datos></BLOQUE_DATOS></SERVICIO>",
                                                      "roles.xml"));
    EXPECT_EQ(lectura.SeleccionarGrupo(grupo), 1);
    EXPECT_EQ(lectura.AbrirRegistro(0), static_cast<int>(datos.size()));
    std::vector<std::string> roles;
    for (int p = 0; p < n; ++p)
        roles.push_back(lectura.LeerDato(p));
    return roles;
}

struct CasoRoles {
    const char* nombre;
    const char* grupo;
    std::vector<Dato> datos;
    std::vector<std::string> roles; // ANSI
    friend void PrintTo(const CasoRoles& c, std::ostream* os) { *os << c.nombre; }
};

const CasoRoles kCasos[] = {
    // One subject in the three shapes files come in: the same roles (real
    // files have no long code).
    {"MateriaSinNombres",
     "MATERIAS",
     {{"", "101"}, {"", "M1"}, {"", "Matemáticas"}, {"", "MAT"}, {"", "240"}},
     {"101", "M1", "Matem\xE1ticas", "MAT", "240"}},
    {"MateriaConNombresEnElOrdenDeLasPosiciones",
     "MATERIAS",
     {{"X_OFERTAMATRIG", "101"},
      {"X_MATERIAOMG", "M1"},
      {"D_MATERIAC", "Matemáticas"},
      {"C_MATERIAC", "MAT"},
      {"N_HORAS", "240"}},
     {"101", "M1", "Matem\xE1ticas", "MAT", "240"}},
    {"MateriaEnElOrdenDeLosArchivosReales",
     "MATERIAS",
     {{"X_OFERTAMATRIG", "212306"},
      {"D_MATERIAC", "Matemáticas"},
      {"X_MATERIAOMG", "317065"},
      {"N_HORAS", "240"}},
     {"212306", "317065", "Matem\xE1ticas", "", "240"}},
    {"NombreDeOtroRolEnLaPosicionLaDejaVacia",
     "MATERIAS",
     {{"X_OFERTAMATRIG", "101"}, {"N_HORAS", "120"}},
     {"101", "", "", "", "120"}},
    {"NombreDesconocidoEnLaPosicionSeLee",
     "MATERIAS",
     {{"X_OFERTAMATRIG", "101"}, {"CLAVE_ANTIGUA", "M1"}},
     {"101", "M1", "", "", ""}},
    {"NombreRepetidoGanaElPrimero",
     "MATERIAS",
     {{"D_MATERIAC", "Primera"}, {"D_MATERIAC", "Segunda"}, {"X_OFERTAMATRIG", "101"}},
     {"101", "", "Primera", "", ""}},
    {"ElNombreDistingueMayusculas",
     "MATERIAS",
     {{"d_materiac", "101"}, {"x_materiaomg", "M1"}},
     {"101", "M1", "", "", ""}},
    {"EmpleadoRealSinAbreviatura",
     "EMPLEADOS",
     {{"X_EMPLEADO", "4471"},
      {"F_TOMAPOS", "01/09/2015"},
      {"D_PUESTO", "Profesor"},
      {"APELLIDO1", "García"},
      {"APELLIDO2", "López"},
      {"NOMBRE", "Ana"}},
     {"4471", "01/09/2015", "Profesor",
      "Garc\xED"
      "a",
      "L\xF3pez", "Ana", ""}},
    {"ActividadRealEnDesorden",
     "ACTIVIDADES",
     {{"D_ACTIVIDAD", "Docencia"}, {"L_REGULAR", "S"}, {"X_ACTIVIDAD", "1"}},
     {"S", "1", "Docencia"}},
    {"GrupoSinTablaDeRolesSeLeePorPosicion",
     "ANNO_ACADEMICO",
     {{"N_HORAS", "2025"}, {"C_ANNO", "2026"}},
     {"2025", "2026"}},
};

class RolesCasos : public testing::TestWithParam<CasoRoles> {};

TEST_P(RolesCasos, CadaRolDaSuDato)
{
    const CasoRoles& c = GetParam();
    EXPECT_EQ(Roles(c.grupo, c.datos, static_cast<int>(c.roles.size())), c.roles);
}

INSTANTIATE_TEST_SUITE_P(Casos, RolesCasos, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// The initials of a teacher come from the untrimmed text: that reading goes
// through the roles too.
TEST(Roles, ElTextoSinRecortarTambienSeBuscaPorNombre)
{
    LecturaIntercambio lectura;
    lectura.UsarDocumento(DocumentoXml::CargarMemoria(
        "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"EMPLEADOS\">" +
            Registro({{"NOMBRE", "Ana"}, {"APELLIDO2", "López"}, {"APELLIDO1", "García"}}) +
            "</grupo_datos></BLOQUE_DATOS></SERVICIO>",
        "roles.xml"));
    lectura.SeleccionarGrupo("EMPLEADOS");
    lectura.AbrirRegistro(0);
    EXPECT_EQ(lectura.LeerDatoSinRecortar(3), "Garc\xED"
                                              "a");
    EXPECT_EQ(lectura.LeerDatoSinRecortar(5), "Ana");
    EXPECT_EQ(lectura.LeerDatoSinRecortar(6), "");
}

// Each name stands for one role of its group, or a name at a position could
// both be read there and be claimed by another role.
TEST(Roles, NingunNombreSeRepiteEnUnGrupo)
{
    for (const RolesGrupo& roles : TodosLosRoles()) {
        std::set<std::string_view> vistos;
        for (std::size_t p = 0; p < roles.roles; ++p) {
            if (!roles.nombres[p].empty()) {
                EXPECT_TRUE(vistos.insert(roles.nombres[p]).second) << roles.grupo << " " << roles.nombres[p];
            }
        }
    }
}

// A result file, or any XML without the groups an export reads, is refused.
TEST(ComprobarDatosParaExportar, RechazaArchivosSinDatosQueExportar)
{
    using testing::HasSubstr;
    const auto comprobar = [](const std::string& xml) {
        ComprobarDatosParaExportar(*DocumentoXml::CargarMemoria(xml, "horario.xml"));
    };
    EXPECT_NO_THROW(
        comprobar("<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"UNIDADES\"/></BLOQUE_DATOS></SERVICIO>"));
    EXPECT_THAT(
        [&] {
            comprobar("<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"materias\"/></BLOQUE_DATOS></SERVICIO>");
        },
        testing::ThrowsMessage<Error>(HasSubstr("«horario.xml» no tiene datos que exportar")));
    EXPECT_THAT(
        [&] {
            comprobar("<SERVICIO modulo=\"HORARIOS\" tipo=\"I\"><BLOQUE_DATOS><grupo_datos "
                      "seq=\"HORARIOS_REGULARES\"/>"
                      "</BLOQUE_DATOS></SERVICIO>");
        },
        testing::ThrowsMessage<Error>(HasSubstr("parece un archivo de resultado de una importación")));
}

} // namespace
} // namespace durlavex
