// Reading tables of every format from tiny files built byte by byte, and
// refusing broken headers with an error that names the file and the rule.

#include "dbf/ayudas_dbf.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace durlavex::pruebas {
namespace {

using namespace std::string_literals;
using dbf::ArchivoDbf;
using dbf::Version;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// One tiny file of one format: its fields, one record, and what each field
// reads back as text.
struct CasoFormato {
    const char* nombre;
    std::uint8_t byteVersion;
    std::uint8_t idIdioma;
    std::size_t relleno;
    std::vector<DescriptorPrueba> campos;
    std::string registro;
    Version version;
    std::vector<std::string> textos;
};

class FormatoLeido : public ::testing::TestWithParam<CasoFormato> {};

TEST_P(FormatoLeido, DecodificaCadaCampo)
{
    const CasoFormato& c = GetParam();
    const auto t = ArchivoDbf::Decodificar(
        TablaAMano(c.byteVersion, c.campos, {c.registro}, c.idIdioma, c.relleno), c.nombre);
    EXPECT_EQ(t->VersionArchivo(), c.version);
    ASSERT_EQ(t->Campos().size(), c.campos.size());
    ASSERT_EQ(t->NumRegistros(), 1u);
    EXPECT_FALSE(t->Borrado(0));
    std::vector<std::string> textos;
    for (std::size_t i = 0; i < c.campos.size(); ++i)
        textos.push_back(t->Texto(0, i));
    EXPECT_EQ(textos, c.textos);
}

const CasoFormato kFormatos[] = {
    {"DBase3",
     0x03,
     0x00,
     0,
     {{"NOMBRE", 'C', 6}, {"CUENTA", 'N', 6, 1}, {"ACTIVO", 'L', 1}, {"ALTA", 'D', 8}, {"NOTAS", 'M', 10}},
     " Ana     12.5T20240517         7"s,
     Version::DBase3,
     {"Ana", "12.5", "T", "20240517", "7"}},
    {"DBase3ConMemo", 0x83, 0x00, 0, {{"A", 'C', 2}, {"L", 'L', 1}}, " xyn"s, Version::DBase3, {"xy", "F"}},
    {"DBase4ConIdioma",
     0x03,
     0x1B,
     0,
     {{"F", 'F', 8, 2}, {"L", 'L', 1}},
     "    -3.25?"s,
     Version::DBase4,
     {"-3.25", ""}},
    {"DBase4ConMemo",
     0x8B,
     0x57,
     0,
     {{"BIN", 'B', 10}, {"G", 'G', 10}},
     "          4          "s,
     Version::DBase4,
     {"4", ""}},
    {"Nivel7EnterosConSignoInvertido",
     0x04,
     0x00,
     0,
     {{"POS", 'I', 4}, {"NEG", 'I', 4}, {"NULO", 'I', 4}, {"AUTO", '+', 4}},
     " \x80\x00\x02\x1C"
     "\x7F\xFF\xFD\xE4"
     "\x00\x00\x00\x00"
     "\x80\x00\x00\x01"s,
     Version::DBase7,
     {"540", "-540", "", "1"}},
    {"Nivel7DoblesYMarcas",
     0x04,
     0x00,
     0,
     {{"POS", 'O', 8}, {"NEG", 'O', 8}, {"NULO", 'O', 8}, {"CUANDO", '@', 8}},
     " \xBF\xF8\x00\x00\x00\x00\x00\x00"
     "\x40\x07\xFF\xFF\xFF\xFF\xFF\xFF"
     "\x00\x00\x00\x00\x00\x00\x00\x00"
     "\xC2\xCD\x0A\x1A\x4A\xFB\x00\x00"s,
     Version::DBase7,
     {"1.5", "-1.5", "", "63858456000000"}},
    {"Nivel7ConMemoYTextoNulo",
     0x8C,
     0x00,
     0,
     {{"Nombre con blancos", 'C', 4}, {"NUM", 'N', 20, 4}},
     " \x00\x00\x00\x00"
     "            100.0000"s,
     Version::DBase7,
     {"", "100.0000"}},
    {"VisualFoxProConEnlaceAlContenedor",
     0x30,
     0x03,
     263,
     {{"ENTERO", 'I', 4}, {"NEG", 'I', 4}, {"DOBLE", 'B', 8}, {"PRECIO", 'Y', 8}, {"MEMO", 'M', 4}},
     " \x1C\x02\x00\x00"
     "\xFF\xFF\xFF\xFF"
     "\x00\x00\x00\x00\x00\x00\xF8\x3F"
     "\x50\xC3\x00\x00\x00\x00\x00\x00"
     "\x03\x00\x00\x00"s,
     Version::VisualFoxPro,
     {"540", "-1", "1.5", "5", "3"}},
    {"VisualFoxProAutoincremento",
     0x31,
     0x03,
     263,
     {{"ID", 'I', 4}, {"T", 'T', 8}},
     " \x05\x00\x00\x00"
     "ab\x00\x00\x00\x00\x00\x00"s,
     Version::VisualFoxPro,
     {"5", "ab"}},
    {"FoxPro2ConMemo",
     0xF5,
     0x00,
     0,
     {{"NOMBRE", 'C', 5}, {"N", 'N', 3}},
     " Luis   7"s,
     Version::FoxPro,
     {"Luis", "7"}},
    {"FoxBase", 0xFB, 0x00, 0, {{"X", 'C', 1}}, " z"s, Version::FoxPro, {"z"}},
    {"DBase4Sql", 0x43, 0x00, 0, {{"X", 'N', 2}}, "  1"s, Version::DBase4, {"1"}},
};

INSTANTIATE_TEST_SUITE_P(Formatos, FormatoLeido, ::testing::ValuesIn(kFormatos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(LecturaDbf, NumerosDeCamposBinariosYDeTexto)
{
    const auto t = ArchivoDbf::Decodificar(
        TablaAMano(0x04, {{"I", 'I', 4}, {"N", 'N', 5, 1}, {"C", 'C', 3}, {"L", 'L', 1}},
                   {" \x7F\xFF\xFF\xFF"
                    " -2.5 42T"s,
                    " \x00\x00\x00\x00"
                    "     abc "s}),
        "numeros");
    EXPECT_EQ(t->Numero(0, 0), -1.0);
    EXPECT_EQ(t->Numero(0, 1), -2.5);
    EXPECT_EQ(t->Numero(0, 2), 42.0) << "text of digits reads as a number";
    EXPECT_EQ(t->Logico(0, 3), true);
    EXPECT_EQ(t->Numero(1, 0), std::nullopt);
    EXPECT_EQ(t->Numero(1, 1), std::nullopt);
    EXPECT_EQ(t->Logico(1, 3), std::nullopt);
    EXPECT_THAT([&] { t->Numero(1, 2); },
                ThrowsMessage<Error>(AllOf(HasSubstr("«abc»"), HasSubstr("«C»"), HasSubstr("«numeros»"),
                                           HasSubstr("registro 2"))));
}

TEST(LecturaDbf, FoxProGuardaElByteAltoDeUnTextoLargoEnLosDecimales)
{
    // C(300): width byte 44, decimals byte 1.
    const std::string registro = " " + std::string(299, 'x') + "y";
    Bytes b = TablaAMano(0xF5, {{"LARGO", 'C', 44, 1}}, {registro});
    PonerU16(b, 10, 301);
    const auto t = ArchivoDbf::Decodificar(b, "largo");
    ASSERT_EQ(t->Campos()[0].ancho, 300u);
    EXPECT_EQ(t->Texto(0, 0), std::string(299, 'x') + "y");
}

TEST(LecturaDbf, LasFilasBorradasSeMarcanYSiguenLegibles)
{
    const auto t =
        ArchivoDbf::Decodificar(TablaAMano(0x03, {{"COD", 'C', 3}}, {" uno"s, "*dos"s, " tre"s}), "b");
    ASSERT_EQ(t->NumRegistros(), 3u);
    EXPECT_FALSE(t->Borrado(0));
    EXPECT_TRUE(t->Borrado(1));
    EXPECT_FALSE(t->Borrado(2));
    EXPECT_EQ(t->Texto(1, 0), "dos");
}

TEST(LecturaDbf, BytesDeMasTrasLosRegistrosYFaltaDeFinDeArchivoSeAceptan)
{
    Bytes b = TablaAMano(0x03, {{"COD", 'C', 3}}, {" uno"s, " dos"s});
    b[4] = 1; // the header counts one record of the two present
    const auto t = ArchivoDbf::Decodificar(b, "sobra");
    EXPECT_EQ(t->NumRegistros(), 1u);
    b.pop_back(); // no 0x1A
    b[4] = 2;
    EXPECT_EQ(ArchivoDbf::Decodificar(b, "sin-fin")->NumRegistros(), 2u);
}

TEST(LecturaDbf, FilaOCampoFueraDeLaTablaEsUnError)
{
    const auto t = ArchivoDbf::Decodificar(TablaAMano(0x03, {{"COD", 'C', 3}}, {" uno"s}), "fuera");
    EXPECT_THROW(t->Texto(1, 0), Error);
    EXPECT_THROW(t->Texto(0, 1), Error);
    EXPECT_THROW(t->Registro(5), Error);
}

// A broken header: a valid little table changed by one fault.
struct CasoRoto {
    const char* nombre;
    std::function<void(Bytes&)> romper;
    const char* regla;
};

Bytes TablaSana()
{
    return TablaAMano(0x03, {{"COD", 'C', 3}, {"N", 'N', 2}}, {" abc 1"s, " def 2"s});
}

class CabeceraRota : public ::testing::TestWithParam<CasoRoto> {};

TEST_P(CabeceraRota, EsUnErrorQueNombraElArchivoYLaRegla)
{
    Bytes b = TablaSana();
    GetParam().romper(b);
    EXPECT_THAT([&] { ArchivoDbf::Decodificar(b, "C:\\KTEMP\\ROTA.DBF"); },
                ThrowsMessage<Error>(AllOf(HasSubstr("«C:\\KTEMP\\ROTA.DBF»"), HasSubstr(GetParam().regla))));
}

const CasoRoto kRotos[] = {
    {"ArchivoCorto", [](Bytes& b) { b.resize(20); }, "al menos 32"},
    {"ArchivoVacio", [](Bytes& b) { b.clear(); }, "al menos 32"},
    {"VersionDesconocida", [](Bytes& b) { b[0] = 0x02; }, "byte de versión 0x02"},
    {"CabeceraMasLargaQueElArchivo", [](Bytes& b) { PonerU16(b, 8, 5000); }, "dice ocupar 5000 bytes"},
    {"LongitudDeRegistroDistinta", [](Bytes& b) { PonerU16(b, 10, 7); }, "longitud de registro"},
    {"SinTerminador",
     [](Bytes& b) {
         b.erase(b.begin() + 32 + 64);
         PonerU16(b, 8, 32 + 64);
     },
     "0x0D"},
    {"CabeceraMasCortaQueLosDescriptores", [](Bytes& b) { PonerU16(b, 8, 20); }, "0x0D"},
    {"CuentaMayorQueLosDatos", [](Bytes& b) { b[4] = 3; }, "anuncia 3 registros"},
    {"UnRegistroSinDatos",
     [](Bytes& b) {
         b[4] = 1;
         b.resize(32 + 2 * 32 + 1);
     },
     "anuncia 1 registro de 6 bytes, pero tras la cabecera solo hay 0 bytes"},
    {"CuentaGigante", [](Bytes& b) { b[4] = b[5] = b[6] = b[7] = 0xFF; }, "anuncia 4294967295 registros"},
    {"SinCampos", [](Bytes& b) { b[32] = 0x0D; }, "ningún campo"},
    {"DescriptorQueDesbordaLaCabecera", [](Bytes& b) { PonerU16(b, 8, 32 + 32 + 16); },
     "del campo 2 no cabe"},
    {"Nivel7ConDescriptoresDeDBase3", [](Bytes& b) { b[0] = 0x04; }, "no cabe"},
};

INSTANTIATE_TEST_SUITE_P(Defectos, CabeceraRota, ::testing::ValuesIn(kRotos),
                         [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
} // namespace durlavex::pruebas
