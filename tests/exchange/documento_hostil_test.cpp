// Files that are broken or hostile: each is a clear error or loads without
// anything being read from outside the file; none crashes or hangs.

#include <gtest/gtest.h>

#include <string>

#include "exchange/lectura.h"
#include "platform/error.h"

namespace durlavex {
namespace {

struct CasoHostil {
    const char* nombre;
    std::string xml;
    bool cargaBien;        // loads (anything outside the file left out)
    const char* enMensaje; // part of the error's text when it does not
};

std::string Anidado(int niveles)
{
    std::string xml = "<SERVICIO><BLOQUE_DATOS>";
    for (int i = 0; i < niveles; ++i)
        xml += "<a>";
    for (int i = 0; i < niveles; ++i)
        xml += "</a>";
    return xml + "</BLOQUE_DATOS></SERVICIO>";
}

std::string MilMillonesDeRisas()
{
    std::string dtd = "<!DOCTYPE SERVICIO [<!ENTITY r0 \"ja\">";
    for (int i = 1; i < 10; ++i) {
        dtd += "<!ENTITY r" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j)
            dtd += "&r" + std::to_string(i - 1) + ";";
        dtd += "\">";
    }
    return dtd +
           "]><SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"G\"><grupo_datos><dato>&r9;</dato></grupo_datos>"
           "</grupo_datos></BLOQUE_DATOS></SERVICIO>";
}

const std::string kRegistroConEntidadExterna =
    "<!DOCTYPE SERVICIO [<!ENTITY fuera SYSTEM \"file:///etc/passwd\">]>"
    "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"G\"><grupo_datos><dato>&fuera;x</dato></grupo_datos>"
    "</grupo_datos></BLOQUE_DATOS></SERVICIO>";

class DocumentoHostil : public ::testing::TestWithParam<CasoHostil> {};

TEST_P(DocumentoHostil, ErrorClaroOCargaSinLeerNadaDeFuera)
{
    const CasoHostil& c = GetParam();
    LecturaIntercambio lectura;
    if (!c.cargaBien) {
        try {
            lectura.UsarDocumento(DocumentoXml::CargarMemoria(c.xml, "hostil.xml"));
            FAIL() << "se cargó";
        } catch (const Error& e) {
            const std::string texto = e.what();
            EXPECT_NE(texto.find("hostil.xml"), std::string::npos) << texto;
            EXPECT_NE(texto.find(c.enMensaje), std::string::npos) << texto;
        }
        return;
    }
    lectura.UsarDocumento(DocumentoXml::CargarMemoria(c.xml, "hostil.xml"));
    ASSERT_EQ(lectura.SeleccionarGrupo("G"), 1);
    lectura.AbrirRegistro(0);
    EXPECT_EQ(lectura.LeerDato(0).find("root:"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, DocumentoHostil,
    ::testing::Values(
        CasoHostil{"entidad_externa", kRegistroConEntidadExterna, true, ""},
        CasoHostil{"dtd_externa",
                   "<!DOCTYPE SERVICIO SYSTEM \"http://203.0.113.1/vorna.dtd\"><SERVICIO><BLOQUE_DATOS>"
                   "<grupo_datos seq=\"G\"><grupo_datos><dato>x</dato></grupo_datos></grupo_datos>"
                   "</BLOQUE_DATOS></SERVICIO>",
                   true, ""},
        CasoHostil{"mil_millones_de_risas", MilMillonesDeRisas(), false, "línea"},
        CasoHostil{"truncado", "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"G\"><grupo", false, "línea"},
        CasoHostil{"vacio", "", false, "hostil.xml"},
        CasoHostil{"basura_binaria", std::string("\x00\xFF\xFE\x01garbage", 11), false, "hostil.xml"},
        CasoHostil{"otra_raiz", "<OTRO><BLOQUE_DATOS/></OTRO>", false, "BLOQUE_DATOS"},
        CasoHostil{"sin_bloque_datos", "<SERVICIO><DATOS/></SERVICIO>", false, "BLOQUE_DATOS"},
        CasoHostil{"diez_mil_niveles", Anidado(10000), false, "línea"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(DocumentoHostil, UnValorDeDiezMegasSeLeeEntero)
{
    const std::string valor(10 * 1024 * 1024, 'x');
    LecturaIntercambio lectura;
    lectura.UsarDocumento(DocumentoXml::CargarMemoria(
        "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"G\"><grupo_datos><dato>" + valor +
            "</dato></grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>",
        "grande.xml"));
    lectura.SeleccionarGrupo("G");
    lectura.AbrirRegistro(0);
    EXPECT_EQ(lectura.LeerDato(0).size(), valor.size());
}

} // namespace
} // namespace durlavex
