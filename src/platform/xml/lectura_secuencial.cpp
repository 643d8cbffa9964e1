#include "platform/xml/lectura_secuencial.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <mutex>

#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/interrupcion.h"
#include "platform/rutas.h"
#include "platform/xml/documento.h"
#include "platform/xml/error_analisis.h"

namespace durlavex {

namespace {

std::string_view Vista(const xmlChar* texto)
{
    return texto ? std::string_view(reinterpret_cast<const char*>(texto)) : std::string_view();
}

// What one reading keeps while libxml2 calls back. The parser is given this
// as its user data, not itself: so none of libxml2's own tree-building
// callbacks can run, and it never looks an entity up on its own.
struct Lectura {
    explicit Lectura(ReceptorXml& r) : receptor(r) {}
    ReceptorXml& receptor;
    xmlParserCtxt* ctxt = nullptr;
    PrimerErrorXml primero;
    std::exception_ptr excepcion;
    bool entidad = false;          // the first error is a reference to an entity
    bool declaraEntidades = false; // the file's DTD declares entities
};

// What the parser reads the file through, a block at a time; a request to
// stop the run ends the reading there.
struct Fuente {
    std::ifstream archivo;
    bool fallo = false;
    bool interrumpida = false;

    static int Leer(void* contexto, char* destino, int largo)
    {
        auto& fuente = *static_cast<Fuente*>(contexto);
        if (InterrupcionPedida()) {
            fuente.interrumpida = true;
            return -1;
        }
        fuente.archivo.read(destino, largo);
        if (fuente.archivo.bad()) {
            fuente.fallo = true;
            return -1;
        }
        return static_cast<int>(fuente.archivo.gcount());
    }
};

// Runs a call of the receptor; what it throws stops the parser and waits
// to be thrown again once libxml2 has returned.
template <typename Llamada> void Avisar(void* datos, Llamada llamada)
{
    auto& lectura = *static_cast<Lectura*>(datos);
    if (lectura.excepcion)
        return;
    try {
        llamada(lectura);
    } catch (...) {
        lectura.excepcion = std::current_exception();
        xmlStopParser(lectura.ctxt);
    }
}

void Inicio(void* datos, const xmlChar* nombre, const xmlChar*, const xmlChar* uri, int, const xmlChar**,
            int numeroAtributos, int, const xmlChar** atributos)
{
    Avisar(datos, [&](Lectura& l) {
        const int linea = l.ctxt->input ? l.ctxt->input->line : 0;
        l.receptor.Inicio(ElementoXml(Vista(nombre), uri != nullptr, linea, atributos, numeroAtributos));
    });
}

void Fin(void* datos, const xmlChar*, const xmlChar*, const xmlChar*)
{
    Avisar(datos, [](Lectura& l) { l.receptor.Fin(); });
}

void Caracteres(void* datos, const xmlChar* texto, int largo)
{
    Avisar(datos, [&](Lectura& l) {
        l.receptor.Texto(
            std::string_view(reinterpret_cast<const char*>(texto), static_cast<std::size_t>(largo)));
    });
}

// Errors go into the error we raise, never to stderr. A reference to an
// undeclared entity is only a warning when the file names an external DTD;
// here it stops the reading all the same.
void AlError(void* datos, xmlErrorPtr error)
{
    auto& lectura = *static_cast<Lectura*>(datos);
    if (error && (error->code == XML_ERR_UNDECLARED_ENTITY || error->code == XML_WAR_UNDECLARED_ENTITY)) {
        if (!lectura.primero.hay) {
            lectura.primero = {true, error->line, DeLibxml2(*error, lectura.ctxt)};
            lectura.entidad = true;
        }
        xmlStopParser(lectura.ctxt);
        return;
    }
    AnotarErrorXml(lectura.primero, error, lectura.ctxt);
}

void Entidad(void* datos, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*)
{
    static_cast<Lectura*>(datos)->declaraEntidades = true;
}

xmlSAXHandler Manejador()
{
    xmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = &Inicio;
    sax.endElementNs = &Fin;
    sax.characters = &Caracteres;
    sax.cdataBlock = &Caracteres;
    sax.ignorableWhitespace = &Caracteres;
    sax.entityDecl = &Entidad;
    sax.serror = &AlError;
    return sax;
}

struct LiberarContexto {
    void operator()(xmlParserCtxt* ctxt) const
    {
        // Entity declarations land in a document libxml2 makes for itself.
        xmlFreeDoc(ctxt->myDoc);
        ctxt->myDoc = nullptr;
        xmlFreeParserCtxt(ctxt);
    }
};

} // namespace

std::optional<std::string> ElementoXml::Atributo(std::string_view buscado) const
{
    for (int i = 0; i < numeroAtributos_; ++i) {
        const xmlChar* const* a = atributos_ + 5 * i; // name, prefix, URI, value, end of value
        if (a[2] != nullptr || Vista(a[0]) != buscado)
            continue;
        std::string valor(reinterpret_cast<const char*>(a[3]), static_cast<std::size_t>(a[4] - a[3]));
        // Without entity substitution libxml2 hands an "&" written &amp; as
        // its character reference, to tell it from an entity's own.
        for (std::size_t p; (p = valor.find("&#38;")) != std::string::npos;)
            valor.replace(p, 5, "&");
        return valor;
    }
    return std::nullopt;
}

void LeerXmlSecuencial(const std::filesystem::path& ruta, ReceptorXml& receptor)
{
    if (!ExisteArchivo(ruta))
        throw durlavex::Error("No existe el archivo " + Entre(TextoRuta(ruta)));
    Fuente fuente;
    fuente.archivo.open(ruta, std::ios::binary);
    if (!fuente.archivo.is_open())
        throw durlavex::Error("No se puede leer el archivo " + Entre(TextoRuta(ruta)));

    PrepararLibxml2();

    Lectura lectura(receptor);
    xmlSAXHandler sax = Manejador();
    std::unique_ptr<xmlParserCtxt, LiberarContexto> ctxt(
        xmlCreateIOParserCtxt(&sax, &lectura, &Fuente::Leer, nullptr, &fuente, XML_CHAR_ENCODING_NONE));
    if (!ctxt)
        throw durlavex::Error("No hay memoria para leer el archivo " + Entre(TextoRuta(ruta)));
    lectura.ctxt = ctxt.get();
    xmlCtxtUseOptions(ctxt.get(), XML_PARSE_NONET | XML_PARSE_BIG_LINES);
    xmlParseDocument(ctxt.get());

    if (fuente.interrumpida)
        ComprobarInterrupcion();
    if (fuente.fallo)
        throw durlavex::Error("No se puede leer el archivo " + Entre(TextoRuta(ruta)));
    if (lectura.excepcion)
        std::rethrow_exception(lectura.excepcion);
    if (lectura.entidad && lectura.declaraEntidades)
        throw durlavex::Error("El archivo " + Entre(TextoRuta(ruta)) + " usa la entidad «&" +
                              lectura.primero.error.dato1 + ";» (línea " +
                              std::to_string(lectura.primero.linea) +
                              "): aquí solo se admiten las de XML, como &amp; o &lt;");
    if (!ctxt->wellFormed || lectura.primero.hay)
        LanzarErrorXml(*ctxt, lectura.primero, TextoRuta(ruta));
}

} // namespace durlavex
