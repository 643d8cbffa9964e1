// Saving a document child by child: the same bytes as saving it whole, in
// every encoding and shape of document, and nothing left behind when the
// saving does not finish.

#include "comun/directorio_temporal.h"
#include "platform/error.h"
#include "platform/xml/documento.h"
#include "platform/xml/escritura.h"
#include "platform/xml/guardado_por_partes.h"

#include <libxml/tree.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace durlavex::pruebas {
namespace {

std::string Leer(const std::filesystem::path& ruta)
{
    std::ifstream entrada(ruta, std::ios::binary);
    std::ostringstream texto;
    texto << entrada.rdbuf();
    return texto.str();
}

// Replaces the root by SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=G] and gives
// that group three records of two data each, handing each finished record to
// `guardado` when there is one; returns the group.
void Construir(const DocumentoXml& documento, GuardadoPorPartes* guardado)
{
    xmlDoc* doc = documento.Crudo();
    xmlNode* antigua = xmlDocGetRootElement(doc);
    xmlUnlinkNode(antigua);
    xmlFreeNode(antigua);
    xmlNode* servicio = CrearElemento(documento, "SERVICIO");
    AgregarHijo(reinterpret_cast<xmlNode*>(doc), servicio);
    FijarAtributo(servicio, "autor", "Núñez & <Peña>");
    xmlNode* bloque = AgregarElemento(documento, servicio, "BLOQUE_DATOS");
    xmlNode* grupo = AgregarElemento(documento, bloque, "grupo_datos");
    FijarAtributo(grupo, "seq", "G");
    if (guardado)
        guardado->Comenzar(grupo);
    for (const char* texto : {"Begoña", "€ y Ω", "a<b&c\"d'"}) {
        xmlNode* registro = AgregarElemento(documento, grupo, "grupo_datos");
        FijarAtributo(registro, "nombre", texto);
        FijarTexto(AgregarElemento(documento, registro, "dato"), texto);
        AgregarElemento(documento, registro, "dato");
        if (guardado)
            guardado->Escribir(registro);
    }
}

struct CasoGuardado {
    const char* nombre;
    const char* documento; // ASCII
    bool utf16 = false;    // stored as UTF-16LE with a byte-order mark
};

std::string Bytes(const CasoGuardado& caso)
{
    if (!caso.utf16)
        return caso.documento;
    std::string bytes = "\xFF\xFE";
    for (const char* c = caso.documento; *c; ++c) {
        bytes += *c;
        bytes += '\0';
    }
    return bytes;
}

const CasoGuardado kCasos[] = {
    {"latin1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!-- antes --><R/><!-- después -->"},
    {"utf8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><R/>"},
    {"sin_declaracion", "<R/><?pi después?>"},
    {"sin_codificacion", "<?xml version=\"1.0\"?><R/>"},
    {"con_dtd", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE R [<!ENTITY e \"x\">]><R/>"},
    {"utf16", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><R/>", true},
};

class MismoResultado : public ::testing::TestWithParam<CasoGuardado> {};

TEST_P(MismoResultado, QueGuardarloEntero)
{
    DirectorioTemporal dir;
    const auto entero = DocumentoXml::CargarMemoria(Bytes(GetParam()), "entero");
    Construir(*entero, nullptr);
    GuardarDocumento(*entero, dir / "entero.xml");

    const auto partes = DocumentoXml::CargarMemoria(Bytes(GetParam()), "partes");
    GuardadoPorPartes guardado(*partes, dir / "partes.xml");
    Construir(*partes, &guardado);
    guardado.Terminar();

    EXPECT_EQ(Leer(dir / "partes.xml"), Leer(dir / "entero.xml"));
    EXPECT_FALSE(std::filesystem::exists(RutaTemporalGuardado(dir / "partes.xml")));
}

INSTANTIATE_TEST_SUITE_P(Documentos, MismoResultado, ::testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(GuardadoPorPartes, SinTerminarNoDejaNadaYElArchivoAnteriorQueda)
{
    DirectorioTemporal dir;
    const auto destino = dir / "resultado.xml";
    std::ofstream(destino) << "anterior";
    {
        const auto documento = DocumentoXml::CargarMemoria("<?xml version=\"1.0\"?><R/>", "doc");
        GuardadoPorPartes guardado(*documento, destino);
        Construir(*documento, &guardado);
        EXPECT_TRUE(std::filesystem::exists(RutaTemporalGuardado(destino)));
    }
    EXPECT_FALSE(std::filesystem::exists(RutaTemporalGuardado(destino)));
    EXPECT_EQ(Leer(destino), "anterior");
}

TEST(GuardadoPorPartes, UnaCarpetaQueNoExisteEsUnErrorQueNombraElArchivo)
{
    DirectorioTemporal dir;
    const auto documento = DocumentoXml::CargarMemoria("<R/>", "doc");
    GuardadoPorPartes guardado(*documento, dir / "falta" / "resultado.xml");
    try {
        Construir(*documento, &guardado);
        guardado.Terminar();
        FAIL() << "se esperaba un error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("resultado.xml"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace durlavex::pruebas
