#include "platform/xml/documento.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <fstream>
#include <mutex>
#include <string>

#include "platform/error.h"
#include "platform/rutas.h"

namespace durlavex {

namespace {

// What libxml2 reports goes into the error we raise, never to stderr.
void Silenciar(void*, xmlErrorPtr) {}

// libxml2's description without the trailing full stops, blanks and control
// characters (the error box adds its own full stop).
std::string LimpiarMensaje(const char* mensaje)
{
    std::string texto = mensaje ? mensaje : "";
    while (!texto.empty() &&
           (texto.back() == '.' || static_cast<unsigned char>(texto.back()) <= 32))
        texto.pop_back();
    return texto;
}

std::string Nombre(const std::filesystem::path& ruta) { return "«" + ruta.string() + "»"; }

// Loading never reaches the network, loads no external DTD and substitutes
// no entity beyond the predefined ones; libxml2's default limits on depth
// and entity expansion stay in force.
constexpr int kOpciones = XML_PARSE_NONET;

std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> NuevoContexto()
{
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { xmlInitParser(); });
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> ctxt(xmlNewParserCtxt(), &xmlFreeParserCtxt);
    if (!ctxt)
        throw Error("No hay memoria para leer un documento XML");
    ctxt->sax->serror = &Silenciar;
    return ctxt;
}

[[noreturn]] void ErrorDeLectura(xmlParserCtxt& ctxt, const std::string& nombre)
{
    const xmlError& error = ctxt.lastError;
    std::string motivo = LimpiarMensaje(error.message);
    if (motivo.empty())
        motivo = "error desconocido";
    throw Error("El archivo " + nombre + " no es un XML bien formado (línea " + std::to_string(error.line) +
                ": " + motivo + ")");
}

} // namespace

DocumentoXml::DocumentoXml(xmlDoc* doc, std::filesystem::path ruta) : doc_(doc), ruta_(std::move(ruta)) {}

DocumentoXml::~DocumentoXml() { xmlFreeDoc(doc_); }

std::unique_ptr<DocumentoXml> DocumentoXml::Cargar(const std::filesystem::path& ruta)
{
    if (!ExisteArchivo(ruta))
        throw Error("No existe el archivo " + Nombre(ruta));
    if (!std::ifstream(ruta, std::ios::binary))
        throw Error("No se puede leer el archivo " + Nombre(ruta));
    auto ctxt = NuevoContexto();
    xmlDoc* doc = xmlCtxtReadFile(ctxt.get(), ruta.string().c_str(), nullptr, kOpciones);
    if (!doc || !ctxt->wellFormed) {
        xmlFreeDoc(doc);
        ErrorDeLectura(*ctxt, Nombre(ruta));
    }
    return std::unique_ptr<DocumentoXml>(new DocumentoXml(doc, ruta));
}

std::unique_ptr<DocumentoXml> DocumentoXml::CargarMemoria(std::string_view bytes, const std::string& nombre)
{
    auto ctxt = NuevoContexto();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        throw Error("El archivo «" + nombre + "» es demasiado grande");
    xmlDoc* doc = xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()), nombre.c_str(),
                                   nullptr, kOpciones);
    if (!doc || !ctxt->wellFormed) {
        xmlFreeDoc(doc);
        ErrorDeLectura(*ctxt, "«" + nombre + "»");
    }
    return std::unique_ptr<DocumentoXml>(new DocumentoXml(doc, nombre));
}

} // namespace durlavex
