// The result file: its name, its frame, what it keeps of the exchange file,
// its encoding, and a save that never leaves half a file.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "import/archivo_resultado.h"
#include "import/fixture_importacion.h"
#include "platform/fecha.h"
#include "platform/xml/escritura.h"

namespace durlavex {
namespace {

using pruebas::EntornoImportacion;
namespace fs = std::filesystem;

TEST(ArchivoResultado, NombreJuntoAlArchivoDeIntercambio)
{
    EXPECT_EQ(NombreArchivoResultado("/datos/horario.xml"), fs::path("/datos/ResultadoTalvoshorario.xml"));
    EXPECT_EQ(NombreArchivoResultado("/x/a.b.xml"), fs::path("/x/ResultadoTalvosa.b.xml"));
}

TEST(ArchivoResultado, CabeceraNuevaYSoloDosGrupos)
{
    EntornoImportacion e;
    e.Preparar();
    pruebas::EscribirBytes(
        e.archivoXml, "<SERVICIO modulo=\"X\" version=\"9\"><BLOQUE_DATOS>"
                      "<grupo_datos seq=\"ANNO_ACADEMICO\"><dato>2009/2010</dato></grupo_datos>"
                      "<grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>1</dato></grupo_datos></grupo_datos>"
                      "</BLOQUE_DATOS><OTRO/></SERVICIO>");
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);

    const auto leido = e.Leer();
    EXPECT_EQ(
        leido.atributosServicio,
        (std::vector<std::pair<std::string, std::string>>{
            {"modulo", "HORARIOS"}, {"tipo", "I"}, {"autor", "HORARIOS"}, {"fecha", pruebas::kFechaFija}}));
    EXPECT_EQ(leido.gruposBloque, (std::vector<std::string>{"ANNO_ACADEMICO", "HORARIOS_REGULARES"}));
    EXPECT_EQ(leido.anno, "2009");
    // No whitespace is added between elements.
    const std::string bytes = pruebas::LeerBytes(e.Resultado());
    EXPECT_NE(bytes.find(
                  "<BLOQUE_DATOS><grupo_datos seq=\"ANNO_ACADEMICO\"><dato nombre_dato=\"C_ANNO\">2009</dato>"
                  "</grupo_datos><grupo_datos seq=\"HORARIOS_REGULARES\" registros=\"1\">"
                  "<grupo_datos seq=\"HORARIO_REGULAR_PROFESOR_1\" registros=\"0\">"),
              std::string::npos)
        << bytes;
}

TEST(ArchivoResultado, AnnoCortoSeEscribeEntero)
{
    EntornoImportacion e;
    e.intercambio = pruebas::ArchivoIntercambio().Anno("09");
    e.Preparar();
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);
    EXPECT_EQ(e.Leer().anno, "09");
}

TEST(ArchivoResultado, DeclaracionYNodosFueraDeLaRaizSeConservan)
{
    EntornoImportacion e;
    e.Preparar();
    pruebas::EscribirBytes(e.archivoXml,
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!--antes--><?proceso datos?>\n"
                           "<SERVICIO><BLOQUE_DATOS><grupo_datos><dato>2023/2024</dato></grupo_datos>"
                           "</BLOQUE_DATOS></SERVICIO>\n<!--despues-->\n");
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);

    EXPECT_EQ(e.Leer().nodosFuera, (std::vector<std::string>{"comentario:antes", "pi:proceso",
                                                             "comentario:despues", "elemento:SERVICIO"}));
    EXPECT_EQ(pruebas::LeerBytes(e.Resultado()).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0), 0u);
}

struct CasoCodificacion {
    std::string nombre;
    std::string declaracion;
    std::vector<std::string> bytesEsperados; // pieces of the saved file
};

// The room "5€ú" comes from the tables; the header's date carries a snowman
// that no single-byte encoding holds.
const CasoCodificacion kCasosCodificacion[] = {
    {"Iso88591",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
     {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "5&#8364;\xFA", "&#9731;"}},
    {"Windows1252",
     "<?xml version=\"1.0\" encoding=\"windows-1252\"?>",
     {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>", "5\x80\xFA", "&#9731;"}},
    {"Utf8",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
     {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "5\xE2\x82\xAC\xC3\xBA", "\xE2\x98\x83"}},
    {"SinCodificacionEsUtf8", "<?xml version=\"1.0\"?>", {"5\xE2\x82\xAC\xC3\xBA", "\xE2\x98\x83"}},
};

void PrintTo(const CasoCodificacion& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class CodificacionTest : public testing::TestWithParam<CasoCodificacion> {};

TEST_P(CodificacionTest, SeGuardaEnLaCodificacionDeclarada)
{
    EntornoImportacion e;
    e.intercambio = pruebas::ArchivoIntercambio().Anno("2023/2024");
    e.escuela.soluc = {{"P1", "3", "2", "MAT", "1A", "", "5€ú"}};
    e.fecha = "05/03/2024 ☃";
    e.Preparar();
    pruebas::EscribirBytes(e.archivoXml, e.intercambio.Texto(GetParam().declaracion));

    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    const std::string bytes = pruebas::LeerBytes(e.Resultado());
    for (const auto& pieza : GetParam().bytesEsperados)
        EXPECT_NE(bytes.find(pieza), std::string::npos) << pieza << " en " << bytes;

    const auto leido = e.Leer();
    EXPECT_EQ(leido.profesores[0].lecciones[0].valores[2], "5€ú");
    EXPECT_EQ(leido.atributosServicio[3].second, "05/03/2024 ☃");
}

INSTANTIATE_TEST_SUITE_P(Casos, CodificacionTest, testing::ValuesIn(kCasosCodificacion),
                         [](const auto& info) { return info.param.nombre; });

TEST(ArchivoResultado, NombreConVariosPuntos)
{
    EntornoImportacion e;
    e.archivoXml = e.origen / "a.b.xml";
    e.Preparar();
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);
    EXPECT_TRUE(fs::exists(e.origen / "ResultadoTalvosa.b.xml"));
}

TEST(ArchivoResultado, ResultadoAnteriorSeSobrescribe)
{
    EntornoImportacion e;
    e.Preparar();
    pruebas::EscribirBytes(e.Resultado(), "anterior, más largo que nada de lo que se vaya a escribir ... ");
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);
    EXPECT_EQ(e.Leer().anno, "2023");
    EXPECT_FALSE(fs::exists(RutaTemporalGuardado(e.Resultado())));
}

// The save goes through a temporary file; when that cannot be written (here a
// folder stands in its place) the earlier result stays whole.
TEST(ArchivoResultado, GuardadoFallidoDejaElResultadoAnterior)
{
    EntornoImportacion e;
    e.Preparar();
    pruebas::EscribirBytes(e.Resultado(), "anterior");
    fs::create_directory(RutaTemporalGuardado(e.Resultado()));

    const ResultadoImportacion r = e.Ejecutar();
    EXPECT_EQ(r.desenlace, Desenlace::Error);
    EXPECT_NE(r.mensaje.find(e.Resultado().filename().string()), std::string::npos) << r.mensaje;
    EXPECT_EQ(pruebas::LeerBytes(e.Resultado()), "anterior");
}

// The serializer cannot write these characters in any form a reader accepts.
TEST(ArchivoResultado, CaracteresDeControlNoRompenElArchivo)
{
    EntornoImportacion e;
    e.escuela.proft[0]["X_EMPLEADO"] = "10\x01"
                                       "01";
    e.Preparar();
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);
    EXPECT_EQ(e.Leer().profesores[0].datos[0].valor, "10 01");
}

TEST(Fecha, FormatosEspanolesPorDefecto)
{
    std::tm momento{};
    momento.tm_mday = 5;
    momento.tm_mon = 2;
    momento.tm_year = 124;
    momento.tm_hour = 9;
    momento.tm_min = 5;
    momento.tm_sec = 3;
    EXPECT_EQ(FechaHoraEspanola(momento), "05/03/2024 9:05:03");
    momento.tm_hour = 23;
    momento.tm_mday = 31;
    momento.tm_mon = 11;
    EXPECT_EQ(FechaHoraEspanola(momento), "31/12/2024 23:05:03");
}

} // namespace
} // namespace durlavex
