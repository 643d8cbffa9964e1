// Files that are not well-formed XML: the message names the file and the line
// and says the cause in Spanish, as a person meets them in exchange files
// written by hand or by another program.

#include "platform/error.h"
#include "platform/xml/documento.h"
#include "platform/xml/lectura_secuencial.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "comun/directorio_temporal.h"

namespace durlavex {
namespace {

using testing::HasSubstr;
using testing::Not;

std::string MensajeAlCargar(std::string_view bytes)
{
    try {
        DocumentoXml::CargarMemoria(bytes, "vorna.xml");
    } catch (const Error& e) {
        return e.what();
    }
    return "(se cargó)";
}

struct CasoMalFormado {
    const char* nombre;
    std::string bytes;
    std::string motivo; // between "(" and ")" of the message
    friend void PrintTo(const CasoMalFormado& c, std::ostream* os) { *os << c.nombre; }
};

const std::string kLatin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
const std::string kUtf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

const CasoMalFormado kCasos[] = {
    {"Vacio", "", "línea 1: el archivo está vacío"},
    {"SoloBlancos", "  \n\n",
     "línea 3: no hay ningún elemento XML (no es un archivo XML, o solo tiene la "
     "declaración)"},
    {"SoloLaDeclaracion", kUtf8,
     "línea 2: no hay ningún elemento XML (no es un archivo XML, o solo tiene la "
     "declaración)"},
    {"Latin1DeclaradoUtf8", kUtf8 + "<A>\n<B>Matem\xE1ticas</B></A>",
     "línea 3: el texto no está en la codificación que declara el archivo, «UTF-8»; el primer byte que no "
     "encaja es 0xE1"},
    {"Latin1SinDeclarar", "<A>\n<B>\xC1lvarez</B></A>",
     "línea 2: el texto no está en UTF-8 y el archivo no declara otra codificación (la primera línea ha de "
     "decirla, por ejemplo <?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>); el primer byte que no encaja es "
     "0xC1"},
    {"CodificacionDesconocida", "<?xml version=\"1.0\" encoding=\"LATIN-9X\"?>\n<A/>",
     "línea 1: declara una codificación que no se conoce, «LATIN-9X»"},
    {"EtiquetaSinCerrar", kLatin1 + "<SERVICIO>\n<BLOQUE_DATOS>\n</SERVICIO>",
     "línea 4: la etiqueta <BLOQUE_DATOS> (abierta en la línea 3) no se cierra: se encuentra </SERVICIO>"},
    {"Cortado", kLatin1 + "<SERVICIO>\n<BLOQUE_DATOS>\n<grupo_datos seq=\"MATERIAS\">",
     "línea 4: el archivo se acaba sin cerrar la etiqueta <grupo_datos> (abierta en la línea 4): ¿está "
     "cortado?"},
    {"CaracterDeControl",
     kLatin1 + "<A>\nuno\x01"
               "dos</A>",
     "línea 3: hay un carácter que XML no admite (U+0001), por ejemplo un carácter de control"},
    {"DosRaices", kLatin1 + "<SERVICIO/>\n<SERVICIO/>",
     "línea 3: hay más contenido después del elemento raíz, y un documento XML solo tiene un elemento raíz"},
    {"AmpersandSuelto", kLatin1 + "<A>F\xEDsica & Qu\xEDmica</A>",
     "línea 2: hay un «&» suelto (en el texto se escribe &amp;)"},
    {"MenorSuelto", kLatin1 + "<A>1 < 2</A>",
     "línea 2: hay un «<» que no abre ninguna etiqueta (en el texto se escribe &lt;)"},
    {"EntidadSinDefinir", kLatin1 + "<A>a&nbsp;b</A>",
     "línea 2: usa la entidad «&nbsp;», que el archivo no define"},
    {"AtributoRepetido", kLatin1 + "<A x=\"1\" x=\"2\"/>",
     "línea 2: el atributo «x» aparece dos veces en la misma etiqueta"},
    {"AtributoSinComillas", kLatin1 + "<A x=1/>",
     "línea 2: un atributo está mal escrito (su valor va entre comillas y sin «<»)"},
};

class XmlMalFormado : public testing::TestWithParam<CasoMalFormado> {};

TEST_P(XmlMalFormado, DiceLaCausaEnCastellanoConSuLinea)
{
    EXPECT_EQ(MensajeAlCargar(GetParam().bytes),
              "El archivo «vorna.xml» no es un XML bien formado (" + GetParam().motivo + ")");
}

// Read element by element (a result file being checked), a file says the
// same cause on the same line.
TEST_P(XmlMalFormado, LeidoPorPartesDiceLoMismo)
{
    struct Nada : ReceptorXml {
        void Inicio(const ElementoXml&) override {}
        void Texto(std::string_view) override {}
        void Fin() override {}
    } nada;
    pruebas::DirectorioTemporal carpeta;
    const auto ruta = carpeta.Ruta() / "vorna.xml";
    std::ofstream(ruta, std::ios::binary) << GetParam().bytes;
    std::string mensaje = "(se leyó)";
    try {
        LeerXmlSecuencial(ruta, nada);
    } catch (const Error& e) {
        mensaje = e.what();
    }
    EXPECT_EQ(mensaje,
              "El archivo «" + ruta.string() + "» no es un XML bien formado (" + GetParam().motivo + ")");
}

INSTANTIATE_TEST_SUITE_P(Causas, XmlMalFormado, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// A cause without words of its own still names the line and libxml2's error
// number, with its description kept as a detail for whoever looks into it.
TEST(XmlMalFormadoRaro, ConservaElNumeroYLaDescripcionDeLibxml2)
{
    const std::string mensaje = MensajeAlCargar("<?xml version=\"1.0\"?>\n<A><?xml bad?></A>");
    EXPECT_THAT(mensaje, HasSubstr("no es un XML bien formado (línea 2: error de sintaxis XML número "));
    EXPECT_THAT(mensaje, HasSubstr("(libxml2: «"));
}

// Read from a file the same way as from memory: the empty file a failed copy
// leaves behind.
TEST(XmlMalFormadoEnArchivo, ArchivoVacio)
{
    pruebas::DirectorioTemporal carpeta;
    const auto ruta = carpeta.Ruta() / "vorna.xml";
    std::ofstream{ruta};
    try {
        DocumentoXml::Cargar(ruta);
        FAIL() << "se cargó un archivo vacío";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "El archivo «" + ruta.string() +
                                             "» no es un XML bien formado (línea 1: el archivo está vacío)");
    }
}

} // namespace
} // namespace durlavex
