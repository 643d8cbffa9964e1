// An error met on a datum of the exchange file says where it stands: data
// group, record, datum and line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "exchange/lectura.h"
#include "platform/error.h"
#include "platform/numeros.h"

namespace durlavex {
namespace {

struct CasoLugar {
    const char* nombre;
    std::string xml; // a whole exchange document
    const char* grupo;
    int registro; // from 0
    int rol;
    std::string error; // the conversion's error with its place
};

void PrintTo(const CasoLugar& c, std::ostream* os)
{
    *os << c.nombre;
}

const std::string kInicio = "<?xml version=\"1.0\"?>\n<SERVICIO>\n<BLOQUE_DATOS>\n";
const std::string kFin = "</BLOQUE_DATOS>\n</SERVICIO>\n";

const CasoLugar kCasos[] = {
    {"DatoConNombre",
     kInicio +
         "<grupo_datos seq=\"MATERIAS\">\n<grupo_datos><dato "
         "nombre_dato=\"N_HORAS\">60</dato></grupo_datos>\n"
         "<grupo_datos>\n<dato nombre_dato=\"X_OFERTAMATRIG\">1</dato>\n<dato "
         "nombre_dato=\"N_HORAS\">abc</dato>\n"
         "</grupo_datos>\n</grupo_datos>\n" +
         kFin,
     "MATERIAS", 1, 4, "'abc' no es un valor entero válido (MATERIAS, registro 2, dato N_HORAS, línea 8)."},
    {"DatoSinNombrePorSuPosicion",
     kInicio +
         "<grupo_datos seq=\"CURSOS_DEL_CENTRO\"><grupo_datos><dato>12a</dato><dato>1º</dato></grupo_datos>\n"
         "</grupo_datos>\n" +
         kFin,
     "CURSOS_DEL_CENTRO", 0, 0,
     "'12a' no es un valor entero válido (CURSOS_DEL_CENTRO, registro 1, dato en la posición 0, línea 4)."},
    {"DatoQueFaltaEnLaLineaDeSuRegistro",
     kInicio +
         "<grupo_datos seq=\"MATERIAS\">\n\n<grupo_datos><dato nombre_dato=\"X_OFERTAMATRIG\">1</dato>"
         "</grupo_datos></grupo_datos>\n" +
         kFin,
     "MATERIAS", 0, 4, "'' no es un valor entero válido (MATERIAS, registro 1, dato N_HORAS, línea 6)."},
    // Past 65 535 lines libxml2 keeps the line only when asked to.
    {"LineaLejana",
     kInicio + std::string(70000, '\n') +
         "<grupo_datos seq=\"TRAMOS_HORARIOS\"><grupo_datos><dato nombre_dato=\"X_TRAMO\">T1</dato>"
         "<dato nombre_dato=\"N_INICIO\">8:00</dato></grupo_datos></grupo_datos>\n" +
         kFin,
     "TRAMOS_HORARIOS", 0, 2,
     "'8:00' no es un valor entero válido (TRAMOS_HORARIOS, registro 1, dato N_INICIO, línea 70004)."},
};

class LugarDelDato : public testing::TestWithParam<CasoLugar> {};

TEST_P(LugarDelDato, ElErrorDiceGrupoRegistroDatoYLinea)
{
    const CasoLugar& c = GetParam();
    LecturaIntercambio lectura;
    lectura.UsarDocumento(DocumentoXml::CargarMemoria(c.xml, "vorna.xml"));
    lectura.SeleccionarGrupo(c.grupo);
    lectura.AbrirRegistro(c.registro);
    const std::string texto = lectura.LeerDato(c.rol);
    EXPECT_THAT([&] { lectura.EnDato(c.rol, [&] { return TextoAEntero(texto); }); },
                testing::ThrowsMessage<ErrorConversion>(testing::StrEq(c.error)));
}

INSTANTIATE_TEST_SUITE_P(Casos, LugarDelDato, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Other errors keep their kind and get the place too.
TEST(LugarDelDato, OtrosErroresTambienLlevanElLugar)
{
    LecturaIntercambio lectura;
    lectura.UsarDocumento(
        DocumentoXml::CargarMemoria("<SERVICIO><BLOQUE_DATOS><grupo_datos "
                                    "seq=\"DEPENDENCIAS\"><grupo_datos><dato>A1</dato><dato>Aula</dato>"
                                    "</grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>",
                                    "vorna.xml"));
    lectura.SeleccionarGrupo("DEPENDENCIAS");
    lectura.AbrirRegistro(0);
    EXPECT_THAT(
        [&] { lectura.EnDato(0, []() -> int { throw Error("No queda ningún código libre"); }); },
        testing::ThrowsMessage<Error>(testing::StrEq(
            "No queda ningún código libre (DEPENDENCIAS, registro 1, dato en la posición 0, línea 1).")));
}

} // namespace
} // namespace durlavex
