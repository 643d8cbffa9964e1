// A node's text as the document component of the exchange format gave it.

#include <libxml/tree.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/documento.h"
#include "platform/xml/expansion_entidades.h"

namespace durlavex {

namespace {

bool EsEspacioXml(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool SoloEspacios(const xmlChar* contenido)
{
    for (const xmlChar* p = contenido; p && *p; ++p)
        if (!EsEspacioXml(static_cast<char>(*p)))
            return false;
    return true;
}

bool HayElemento(const xmlNode* primero)
{
    for (const xmlNode* n = primero; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE)
            return true;
    return false;
}

void Agregar(std::string& texto, const xmlChar* contenido)
{
    if (contenido)
        texto += reinterpret_cast<const char*>(contenido);
}

// Appends the text of the list that starts at `primero` and of its
// descendants, in document order. The walk keeps, for each level it is in,
// whether that level holds elements, so each list is looked at once and deep
// documents need no deep recursion. Only a reference goes one call deeper; the
// parser bounds how deeply entities nest and refuses those that refer to
// themselves.
void AcumularLista(const xmlNode* primero, std::string& texto)
{
    std::vector<bool> nivelConElementos{HayElemento(primero)};
    for (const xmlNode* n = primero; n;) {
        switch (n->type) {
        case XML_TEXT_NODE:
            // Blank text between elements stands for one separating blank.
            if (nivelConElementos.back() && SoloEspacios(n->content))
                texto += ' ';
            else
                Agregar(texto, n->content);
            break;
        case XML_CDATA_SECTION_NODE:
            Agregar(texto, n->content);
            break;
        case XML_ENTITY_REF_NODE:
            // An entity of the document's own DTD: its replacement text.
            if (const xmlEntity* entidad = EntidadReferida(n))
                AcumularLista(entidad->children, texto);
            break;
        case XML_ELEMENT_NODE:
            if (n->children) {
                nivelConElementos.push_back(HayElemento(n->children));
                n = n->children;
                continue;
            }
            break;
        default: // comments and processing instructions carry no text
            break;
        }
        while (!n->next) {
            nivelConElementos.pop_back();
            if (nivelConElementos.empty())
                return;
            n = n->parent;
        }
        n = n->next;
    }
}

} // namespace

std::optional<std::string_view> TextoNodoSimple(const xmlNode* nodo)
{
    if (!nodo || nodo->type != XML_ELEMENT_NODE ||
        (nodo->children && (nodo->children->type != XML_TEXT_NODE || nodo->children->next)))
        return std::nullopt;
    const char* contenido = nodo->children ? reinterpret_cast<const char*>(nodo->children->content) : nullptr;
    std::string_view texto = contenido ? std::string_view(contenido) : std::string_view();
    while (!texto.empty() && EsEspacioXml(texto.front()))
        texto.remove_prefix(1);
    while (!texto.empty() && EsEspacioXml(texto.back()))
        texto.remove_suffix(1);
    return texto;
}

std::string TextoNodo(const xmlNode* nodo)
{
    if (!nodo)
        return {};
    if (const auto simple = TextoNodoSimple(nodo))
        return std::string(*simple);
    std::string texto;
    if (nodo->type == XML_ELEMENT_NODE || nodo->type == XML_DOCUMENT_NODE)
        AcumularLista(nodo->children, texto);
    else if (nodo->type == XML_ENTITY_REF_NODE) {
        if (const xmlEntity* entidad = EntidadReferida(nodo))
            AcumularLista(entidad->children, texto);
    } else
        Agregar(texto, nodo->content);
    std::size_t inicio = 0, fin = texto.size();
    while (inicio < fin && EsEspacioXml(texto[inicio]))
        ++inicio;
    while (fin > inicio && EsEspacioXml(texto[fin - 1]))
        --fin;
    return texto.substr(inicio, fin - inicio);
}

} // namespace durlavex
