#include "platform/xml/documento.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <climits>
#include <fstream>
#include <mutex>
#include <string>
#include <system_error>

#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/xml/codificaciones_windows.h"
#include "platform/xml/error_analisis.h"
#include "platform/xml/expansion_entidades.h"

namespace durlavex {

namespace {

// What libxml2 reports goes into the error we raise, never to stderr. Its
// parser errors arrive with the parser context, whose _private points to
// the PrimerErrorXml of this parse.
void Silenciar(void* datos, xmlErrorPtr error)
{
    auto* ctxt = static_cast<xmlParserCtxt*>(datos);
    if (!ctxt || !ctxt->_private)
        return;
    AnotarErrorXml(*static_cast<PrimerErrorXml*>(ctxt->_private), error, ctxt);
}

void CallarAviso(void*, const char*, ...) {}

// Loading never reaches the network, loads no external DTD and substitutes
// no entity beyond the predefined ones; libxml2's default limits on depth
// and entity expansion stay in force. Short texts are kept inside their node
// (XML_PARSE_COMPACT, as xmllint does by default): one allocation less for
// almost every datum. libxml2 still lets such nodes be freed, moved, or have
// text added; nothing here writes into a parsed text in place. Lines past
// 65 535 are kept whole (XML_PARSE_BIG_LINES), so an error can name its line.
constexpr int kOpciones = XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_BIG_LINES;

using Contexto = std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)>;

Contexto NuevoContexto(PrimerErrorXml& primero)
{
    PrepararLibxml2();
    Contexto ctxt(xmlNewParserCtxt(), &xmlFreeParserCtxt);
    if (!ctxt)
        throw Error("No hay memoria para leer un documento XML");
    ctxt->sax->serror = &Silenciar;
    ctxt->_private = &primero;
    return ctxt;
}

// The checks every parsed document goes through; `tamano` is the number of
// bytes parsed.
xmlDoc* Comprobar(xmlDoc* doc, const xmlParserCtxt& ctxt, const PrimerErrorXml& primero, std::size_t tamano,
                  const std::string& nombre)
{
    if (!doc || !ctxt.wellFormed) {
        xmlFreeDoc(doc);
        LanzarErrorXml(ctxt, primero, nombre);
    }
    try {
        ComprobarExpansionEntidades(doc, tamano, nombre);
    } catch (...) {
        xmlFreeDoc(doc);
        throw;
    }
    return doc;
}

// Parses bytes already in memory. `url` becomes the document's address; the
// parser never opens it nor anything relative to it.
xmlDoc* Analizar(std::string_view bytes, const std::string& url, const std::string& nombre)
{
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        throw Error("El archivo " + Entre(nombre) + " es demasiado grande para leerlo como XML");
    PrimerErrorXml primero;
    auto ctxt = NuevoContexto(primero);
    xmlDoc* doc = xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()), url.c_str(),
                                    nullptr, kOpciones);
    return Comprobar(doc, *ctxt, primero, bytes.size(), nombre);
}

// What the parser reads the file through: our own stream, so the whole
// file is never held as one more copy beside the tree.
struct LecturaArchivo {
    std::ifstream archivo;
    std::size_t leidos = 0;
    bool fallo = false;

    static int Leer(void* contexto, char* destino, int largo)
    {
        auto& lectura = *static_cast<LecturaArchivo*>(contexto);
        lectura.archivo.read(destino, largo);
        if (lectura.archivo.bad()) {
            lectura.fallo = true;
            return -1;
        }
        const auto n = static_cast<std::size_t>(lectura.archivo.gcount());
        lectura.leidos += n;
        return static_cast<int>(n);
    }
};

} // namespace

DocumentoXml::DocumentoXml(xmlDoc* doc, std::filesystem::path ruta) : doc_(doc), ruta_(std::move(ruta)) {}

DocumentoXml::~DocumentoXml()
{
    xmlFreeDoc(doc_);
}

std::unique_ptr<DocumentoXml> DocumentoXml::Cargar(const std::filesystem::path& ruta)
{
    // The file is read here, not by libxml2, so that its name is never taken
    // for an address and a compressed file is not expanded behind our back.
    const std::string nombre = TextoRuta(ruta);
    if (!ExisteArchivo(ruta))
        throw Error("No existe el archivo " + Entre(nombre));
    LecturaArchivo lectura;
    lectura.archivo.open(ruta, std::ios::binary);
    if (!lectura.archivo.is_open())
        throw Error("No se puede leer el archivo " + Entre(nombre));
    PrimerErrorXml primero;
    auto ctxt = NuevoContexto(primero);
    xmlDoc* doc = xmlCtxtReadIO(ctxt.get(), &LecturaArchivo::Leer, nullptr, &lectura, nombre.c_str(), nullptr,
                                kOpciones);
    if (lectura.fallo) {
        xmlFreeDoc(doc);
        throw Error("No se puede leer el archivo " + Entre(nombre));
    }
    doc = Comprobar(doc, *ctxt, primero, lectura.leidos, nombre);
    return std::unique_ptr<DocumentoXml>(new DocumentoXml(doc, ruta));
}

void CallarAvisosDeLibxml2()
{
    xmlSetGenericErrorFunc(nullptr, &CallarAviso);
}

void PrepararLibxml2()
{
    static std::once_flag iniciado;
    std::call_once(iniciado, [] {
        xmlInitParser();
        RegistrarCodificacionesWindows();
    });
    CallarAvisosDeLibxml2();
}

std::unique_ptr<DocumentoXml> DocumentoXml::CargarMemoria(std::string_view bytes, const std::string& nombre)
{
    xmlDoc* doc = Analizar(bytes, nombre, nombre);
    return std::unique_ptr<DocumentoXml>(new DocumentoXml(doc, nombre));
}

} // namespace durlavex
