// Reading the exchange file: groups by seq, records, data by position, text.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "exchange/lectura.h"
#include "platform/error.h"

namespace durlavex {
namespace {

using pruebas::ArchivoIntercambio;

LecturaIntercambio Leer(const std::string& xml)
{
    LecturaIntercambio lectura;
    lectura.UsarDocumento(DocumentoXml::CargarMemoria(xml, "prueba.xml"));
    return lectura;
}

// Every datum of every record of a group, as LeerDato gives them.
std::vector<std::vector<std::string>> Registros(LecturaIntercambio& lectura, const std::string& grupo)
{
    std::vector<std::vector<std::string>> filas;
    const int n = lectura.SeleccionarGrupo(grupo);
    for (int i = 0; i < n; ++i) {
        const int datos = lectura.AbrirRegistro(i);
        std::vector<std::string> fila;
        for (int p = 0; p < datos; ++p)
            fila.push_back(lectura.LeerDato(p));
        filas.push_back(fila);
    }
    return filas;
}

TEST(SeleccionarGrupo, ElSeqSeComparaConMayusculasYMinusculas)
{
    auto lectura =
        Leer(ArchivoIntercambio().Grupo("materias", {{"1", "2"}}).Grupo("MATERIAS", {{"3", "4"}}).Texto());
    EXPECT_EQ(Registros(lectura, "MATERIAS"), (std::vector<std::vector<std::string>>{{"3", "4"}}));
    EXPECT_EQ(lectura.SeleccionarGrupo("Materias"), 0);
}

TEST(SeleccionarGrupo, DosGruposDelMismoNombreSeLeenEnOrdenDelDocumento)
{
    auto lectura = Leer(ArchivoIntercambio()
                            .Grupo("UNIDADES", {{"501", "1º A"}, {"502", "1º B"}})
                            .Grupo("CURSOS_DEL_CENTRO", {{"101", "1º ESO"}})
                            .Grupo("UNIDADES", {{"503", "2º A"}})
                            .Texto());
    EXPECT_EQ(
        Registros(lectura, "UNIDADES"),
        (std::vector<std::vector<std::string>>{{"501", "1\xBA A"}, {"502", "1\xBA B"}, {"503", "2\xBA A"}}));
}

TEST(SeleccionarGrupo, UnGrupoAusenteNoTieneRegistros)
{
    auto lectura = Leer(ArchivoIntercambio().Grupo("MATERIAS", {{"1", "2"}}).Texto());
    EXPECT_EQ(lectura.SeleccionarGrupo("EMPLEADOS"), 0);
    EXPECT_EQ(lectura.SeleccionarGrupo("MATE\"RIAS"), 0);
}

TEST(SeleccionarGrupo, SoloCuentanLosGruposBajoServicioYBloqueDatos)
{
    auto lectura = Leer("<SERVICIO><BLOQUE_DATOS><otro><grupo_datos seq=\"A\"><grupo_datos><dato>x</dato>"
                        "<dato>y</dato></grupo_datos></grupo_datos></otro></BLOQUE_DATOS>"
                        "<BLOQUE_DATOS><grupo_datos seq=\"A\"><grupo_datos><dato>z</dato></grupo_datos>"
                        "<otro/></grupo_datos></BLOQUE_DATOS></SERVICIO>");
    EXPECT_EQ(Registros(lectura, "A"), (std::vector<std::vector<std::string>>{{"z"}}));
}

struct CasoDato {
    const char* nombre;
    const char* xmlRegistro; // the children of one record
    int posicion;
    std::string esperado; // ANSI (windows-1252) bytes
    std::string utf8;     // the same datum as LeerDatoUtf8 gives it
};

class LeerDatoCasos : public ::testing::TestWithParam<CasoDato> {};

TEST_P(LeerDatoCasos, DaElTextoRecortadoYEnAnsiOEnUtf8)
{
    const CasoDato& c = GetParam();
    auto lectura = Leer(std::string("<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"G\"><grupo_datos>") +
                        c.xmlRegistro + "</grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>");
    ASSERT_EQ(lectura.SeleccionarGrupo("G"), 1);
    lectura.AbrirRegistro(0);
    EXPECT_EQ(lectura.LeerDato(c.posicion), c.esperado);
    EXPECT_EQ(lectura.LeerDatoUtf8(c.posicion), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Textos, LeerDatoCasos,
    ::testing::Values(
        CasoDato{"blancos_alrededor", "<dato>  \n\t Aula 1  \r\n</dato>", 0, "Aula 1", "Aula 1"},
        CasoDato{"blancos_interiores", "<dato>Aula   de  Música</dato>", 0, "Aula   de  M\xFAsica",
                 "Aula   de  Música"},
        CasoDato{"referencias_a_blancos_alrededor", "<dato>&#9;&#160;x&#10;</dato>", 0, "\xA0x", "\u00A0x"},
        CasoDato{"posicion_inexistente", "<dato>a</dato><dato>b</dato>", 2, "", ""},
        CasoDato{"posicion_negativa", "<dato>a</dato>", -1, "", ""},
        CasoDato{"dato_anidado_no_cuenta", "<dato>a</dato><x><dato>oculto</dato></x><dato>b</dato>", 1, "b",
                 "b"},
        CasoDato{"cdata", "<dato><![CDATA[ <1º> ]]></dato>", 0, "<1\xBA>", "<1º>"},
        CasoDato{"comentario_no_es_texto", "<dato>a<!-- nota -->b</dato>", 0, "ab", "ab"},
        CasoDato{"hijos_separados_por_blanco", "<dato><p>uno</p>\n  <p>dos</p></dato>", 0, "uno dos",
                 "uno dos"},
        CasoDato{"fuera_de_la_pagina_de_codigos", "<dato>Łódź 中 €</dato>", 0,
                 "L\xF3"
                 "dz ? \x80",
                 "Łódź 中 €"},
        CasoDato{"emoji_son_dos_interrogaciones", "<dato>a\xF0\x9F\x98\x80</dato>", 0, "a??",
                 "a\xF0\x9F\x98\x80"},
        CasoDato{"otros_atributos_y_nombres_no_cuentan", "<otro>x</otro><dato id=\"9\">a</dato>", 0, "a",
                 "a"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(CargarDocumento, LeeUnArchivoEnIso88591)
{
    pruebas::DirectorioTemporal dir;
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SERVICIO><BLOQUE_DATOS>"
        "<grupo_datos seq=\"DEPENDENCIAS\"><grupo_datos><dato></dato><dato>Gimnasio peque\xF1o"
        "</dato></grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>";
    std::ofstream(dir / "latin1.xml", std::ios::binary) << xml;
    LecturaIntercambio lectura;
    lectura.CargarDocumento(dir / "latin1.xml");
    ASSERT_EQ(lectura.SeleccionarGrupo("DEPENDENCIAS"), 1);
    EXPECT_EQ(lectura.AbrirRegistro(0), 2);
    EXPECT_EQ(lectura.LeerDato(1), "Gimnasio peque\xF1o");
}

TEST(CargarDocumento, UnArchivoQueNoExisteEsUnErrorQueLoNombra)
{
    pruebas::DirectorioTemporal dir;
    LecturaIntercambio lectura;
    try {
        lectura.CargarDocumento(dir / "no_esta.xml");
        FAIL() << "no se detuvo";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("no_esta.xml"), std::string::npos) << e.what();
    }
}

struct CasoAnno {
    const char* nombre;
    const char* bloque;
    const char* esperado;
};

class AnnoAcademico : public ::testing::TestWithParam<CasoAnno> {};

TEST_P(AnnoAcademico, SonLosCuatroPrimerosCaracteresDelPrimerNodo)
{
    auto documento = DocumentoXml::CargarMemoria(
        std::string("<SERVICIO><BLOQUE_DATOS>") + GetParam().bloque + "</BLOQUE_DATOS></SERVICIO>", "a.xml");
    EXPECT_EQ(LeerAnnoAcademico(*documento).Bytes(), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, AnnoAcademico,
    ::testing::Values(
        CasoAnno{"dato_de_un_grupo", "<grupo_datos seq=\"ANNO_ACADEMICO\"><dato>2025</dato></grupo_datos>",
                 "2025"},
        CasoAnno{"sangria_antes_no_cuenta", "\n   <grupo_datos><dato>2024/2025</dato></grupo_datos>", "2024"},
        CasoAnno{"texto_de_varios_hijos", "<g><dato>20</dato><dato>25</dato></g>", "2025"},
        CasoAnno{"un_comentario_es_el_primer_nodo", "<!--2023 antiguo--><g><dato>2025</dato></g>", "2023"},
        CasoAnno{"texto_corto", "<g>25</g>", "25"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(AnnoAcademico, UnBloqueVacioEsUnError)
{
    auto documento =
        DocumentoXml::CargarMemoria("<SERVICIO><BLOQUE_DATOS>\n </BLOQUE_DATOS></SERVICIO>", "a.xml");
    EXPECT_THROW(LeerAnnoAcademico(*documento), Error);
}

} // namespace
} // namespace durlavex
