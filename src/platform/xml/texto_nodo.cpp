// A node's text as the document component of the exchange format gave it.

#include <libxml/tree.h>

#include <string>

#include "platform/xml/documento.h"

namespace durlavex {

namespace {

bool EsEspacioXml(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool SoloEspacios(const xmlChar* contenido)
{
    for (const xmlChar* p = contenido; p && *p; ++p)
        if (!EsEspacioXml(static_cast<char>(*p)))
            return false;
    return true;
}

bool TieneElementoHermano(const xmlNode* nodo)
{
    for (const xmlNode* h = nodo->parent ? nodo->parent->children : nullptr; h; h = h->next)
        if (h->type == XML_ELEMENT_NODE)
            return true;
    return false;
}

void Acumular(const xmlNode* nodo, std::string& texto)
{
    for (const xmlNode* hijo = nodo->children; hijo; hijo = hijo->next) {
        switch (hijo->type) {
        case XML_TEXT_NODE:
            // Blank text between child elements stands for one separating blank.
            if (SoloEspacios(hijo->content) && TieneElementoHermano(hijo))
                texto += ' ';
            else if (hijo->content)
                texto += reinterpret_cast<const char*>(hijo->content);
            break;
        case XML_CDATA_SECTION_NODE:
            if (hijo->content)
                texto += reinterpret_cast<const char*>(hijo->content);
            break;
        case XML_ELEMENT_NODE:
            Acumular(hijo, texto);
            break;
        case XML_ENTITY_REF_NODE: {
            // An entity declared in the document's own DTD: its replacement text.
            xmlChar* contenido = xmlNodeGetContent(hijo);
            if (contenido)
                texto += reinterpret_cast<const char*>(contenido);
            xmlFree(contenido);
            break;
        }
        default: // comments and processing instructions carry no text
            break;
        }
    }
}

} // namespace

std::string TextoNodo(const xmlNode* nodo)
{
    if (!nodo)
        return {};
    std::string texto;
    if (nodo->type == XML_ELEMENT_NODE || nodo->type == XML_DOCUMENT_NODE)
        Acumular(nodo, texto);
    else if (nodo->content)
        texto = reinterpret_cast<const char*>(nodo->content);
    std::size_t inicio = 0, fin = texto.size();
    while (inicio < fin && EsEspacioXml(texto[inicio]))
        ++inicio;
    while (fin > inicio && EsEspacioXml(texto[fin - 1]))
        --fin;
    return texto.substr(inicio, fin - inicio);
}

} // namespace durlavex
