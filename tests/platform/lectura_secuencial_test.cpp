// An XML file read element by element: what the receptor is told, the
// encodings and references it resolves, and the files it refuses.

#include "platform/xml/lectura_secuencial.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "comun/directorio_temporal.h"
#include "platform/error.h"

namespace durlavex {
namespace {

using testing::HasSubstr;

// What was met, as a line of text: [name attr=value @line]text[/].
class Registro : public ReceptorXml {
  public:
    std::string visto;
    void Inicio(const ElementoXml& e) override
    {
        visto += "[" + std::string(e.enEspacioDeNombres ? "ns:" : "") + std::string(e.nombre);
        if (const auto seq = e.Atributo("seq"))
            visto += " seq=" + *seq;
        visto += " @" + std::to_string(e.linea) + "]";
    }
    void Texto(std::string_view t) override { visto += t; }
    void Fin() override { visto += "[/]"; }
};

class LecturaSecuencial : public testing::Test {
  protected:
    std::string Leer(const std::string& bytes)
    {
        std::ofstream(Ruta(), std::ios::binary) << bytes;
        Registro registro;
        LeerXmlSecuencial(Ruta(), registro);
        return registro.visto;
    }
    std::string Mensaje(const std::string& bytes)
    {
        try {
            Leer(bytes);
        } catch (const Error& e) {
            return e.what();
        }
        return "(se leyó)";
    }
    std::filesystem::path Ruta() const { return carpeta / "resultado.xml"; }

    pruebas::DirectorioTemporal carpeta;
};

struct CasoLectura {
    const char* nombre;
    std::string bytes;
    std::string visto;
    friend void PrintTo(const CasoLectura& c, std::ostream* os) { *os << c.nombre; }
};

const CasoLectura kCasos[] = {
    {"ElementosTextoYLineas", "<A>\n<B seq=\"X\">uno</B>\n<C/></A>",
     "[A @1]\n[B seq=X @2]uno[/]\n[C @3][/][/]"},
    {"Latin1Declarado", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A>Matem\xE1ticas</A>",
     "[A @1]Matemáticas[/]"},
    {"Utf16ConMarca", std::string("\xFF\xFE<\0A\0>\0\xF1\0<\0/\0A\0>\0", 18), "[A @1]ñ[/]"},
    {"ReferenciasYCdata", "<A seq=\"a&amp;b&lt;&#38;\">&lt;x&gt; &#241; &amp;<![CDATA[<y>]]></A>",
     "[A seq=a&b<& @1]<x> ñ &<y>[/]"},
    {"EspacioDeNombresSeSenala", "<A xmlns:v=\"urn:v\"><v:B/><B v:seq=\"no\"/></A>",
     "[A @1][ns:B @1][/][B @1][/][/]"},
    {"DtdSinEntidadesSeAdmite", "<!DOCTYPE A [<!ELEMENT A ANY>]><A>x</A>", "[A @1]x[/]"},
    {"ComentariosEInstruccionesNoSonTexto", "<A>a<!-- b --><?pi c?>d</A>", "[A @1]ad[/]"},
};

class CasosLectura : public LecturaSecuencial, public testing::WithParamInterface<CasoLectura> {};

TEST_P(CasosLectura, ElReceptorVeLoQueHay)
{
    EXPECT_EQ(Leer(GetParam().bytes), GetParam().visto);
}

INSTANTIATE_TEST_SUITE_P(Casos, CasosLectura, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Lines past 65 535 keep their number.
TEST_F(LecturaSecuencial, LineasLejanas)
{
    EXPECT_EQ(Leer("<A>" + std::string(70000, '\n') + "<B/></A>"),
              "[A @1]" + std::string(70000, '\n') + "[B @70001][/][/]");
}

// An entity of the file's own is refused, whether it would expand to a key,
// explode into gigabytes or read a file of this machine.
TEST_F(LecturaSecuencial, EntidadesPropiasSeRechazan)
{
    const std::string interna = "<!DOCTYPE A [<!ENTITY u \"5003\">]>\n<A>&u;</A>";
    EXPECT_EQ(Mensaje(interna), "El archivo «" + Ruta().string() +
                                    "» usa la entidad «&u;» (línea 2): aquí solo se admiten las de XML, como "
                                    "&amp; o &lt;");
    // Each entity ten of the one before: &k; would be 20 000 million bytes.
    std::string risa = "<!DOCTYPE A [<!ENTITY a \"ja\">";
    for (char c = 'b'; c <= 'k'; ++c) {
        std::string diez;
        for (int i = 0; i < 10; ++i)
            diez += std::string("&") + static_cast<char>(c - 1) + ";";
        risa += std::string("<!ENTITY ") + c + " \"" + diez + "\">";
    }
    risa += "]><A>&k;</A>";
    EXPECT_THAT(Mensaje(risa), HasSubstr("usa la entidad «&k;»"));
    const std::string externa =
        "<!DOCTYPE A SYSTEM \"nada.dtd\" [<!ENTITY p SYSTEM \"/etc/passwd\">]><A>&p;</A>";
    EXPECT_THAT(Mensaje(externa), HasSubstr("usa la entidad «&p;»"));
}

TEST_F(LecturaSecuencial, ArchivoQueNoExiste)
{
    Registro registro;
    EXPECT_THAT(
        [&] { LeerXmlSecuencial(carpeta / "no-esta.xml", registro); },
        testing::ThrowsMessage<Error>("No existe el archivo «" + (carpeta / "no-esta.xml").string() + "»"));
}

// What the receptor throws reaches the caller as it was, and nothing more is
// read.
TEST_F(LecturaSecuencial, LoQueLanzaElReceptorLlegaIgual)
{
    struct Harto : Registro {
        void Inicio(const ElementoXml& e) override
        {
            if (e.nombre == "C")
                throw std::runtime_error("basta");
            Registro::Inicio(e);
        }
    } harto;
    std::ofstream(Ruta(), std::ios::binary) << "<A><B/><C/><D/></A>";
    EXPECT_THAT([&] { LeerXmlSecuencial(Ruta(), harto); },
                testing::ThrowsMessage<std::runtime_error>("basta"));
    EXPECT_EQ(harto.visto, "[A @1][B @1][/]");
}

} // namespace
} // namespace durlavex
