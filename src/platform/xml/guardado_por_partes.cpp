#include "platform/xml/guardado_por_partes.h"

#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <cstdint>
#include <string_view>
#include <system_error>

#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/xml/archivo_temporal.h"
#include "platform/xml/escritura.h"

namespace durlavex {

namespace {

std::string Codificacion(const xmlDoc* doc)
{
    return doc->encoding != nullptr ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";
}

// Encodings whose bytes for a part of a tree do not depend on what was
// written before it (no byte-order mark, no shift states).
bool SeDivideBien(std::string codificacion)
{
    for (char& c : codificacion)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const char* parte : {"16", "32", "UCS", "2022", "UTF-7", "UTF7"})
        if (codificacion.find(parte) != std::string::npos)
            return false;
    return true;
}

std::string Serializar(xmlDoc* doc, const std::string& codificacion, const std::filesystem::path& destino)
{
    xmlChar* bytes = nullptr;
    int tamano = 0;
    xmlDocDumpMemoryEnc(doc, &bytes, &tamano, codificacion.c_str());
    if (bytes == nullptr)
        throw Error("No se pudo escribir el documento en la codificación " + codificacion +
                    " para guardar «" + TextoRuta(destino) + "»");
    std::string texto(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(tamano));
    xmlFree(bytes);
    return texto;
}

} // namespace

GuardadoPorPartes::GuardadoPorPartes(const DocumentoXml& documento, std::filesystem::path destino)
    : documento_(documento), destino_(std::move(destino))
{
    PrepararLibxml2();
}

GuardadoPorPartes::~GuardadoPorPartes()
{
    if (porPartes_)
        Fallo();
}

void GuardadoPorPartes::Fallo()
{
    if (guardado_ != nullptr)
        xmlSaveClose(guardado_);
    guardado_ = nullptr;
    temporal_.reset();
    porPartes_ = false;
}

void GuardadoPorPartes::Comenzar(xmlNode* contenedor)
{
    xmlDoc* doc = documento_.Crudo();
    codificacion_ = Codificacion(doc);
    const std::string& codificacion = codificacion_;
    if (doc->intSubset != nullptr || doc->extSubset != nullptr || !SeDivideBien(codificacion))
        return;

    // The whole document with a mark where the children go, cut at the mark.
    const std::string marca = "durlavex-hijos-" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
    xmlNode* comentario = xmlNewDocComment(doc, reinterpret_cast<const xmlChar*>(marca.c_str()));
    if (comentario == nullptr || xmlAddChild(contenedor, comentario) == nullptr) {
        xmlFreeNode(comentario);
        throw Error("No se pudo preparar el guardado de «" + TextoRuta(destino_) + "»: falta memoria");
    }
    std::string texto;
    try {
        texto = Serializar(doc, codificacion, destino_);
    } catch (...) {
        xmlUnlinkNode(comentario);
        xmlFreeNode(comentario);
        throw;
    }
    xmlUnlinkNode(comentario);
    xmlFreeNode(comentario);
    const std::string corte = "<!--" + marca + "-->";
    const std::size_t posicion = texto.find(corte);
    if (posicion == std::string::npos || texto.find(corte, posicion + 1) != std::string::npos)
        return;

    temporal_.emplace(destino_);
    porPartes_ = true;
    const bool escrito = temporal_->Escribir(texto.data(), posicion);
    resto_ = texto.substr(posicion + corte.size());
    guardado_ = xmlSaveToIO(EscribirEnTemporal, nullptr, &*temporal_, codificacion.c_str(), XML_SAVE_AS_XML);
    if (guardado_ == nullptr || !escrito)
        FallarEscritura();
}

void GuardadoPorPartes::FallarEscritura()
{
    // The reason is the temporary file's; it goes once the error is made.
    try {
        temporal_->FalloEscritura();
    } catch (...) {
        Fallo();
        throw;
    }
}

void GuardadoPorPartes::Escribir(xmlNode* hijo)
{
    if (!porPartes_)
        return;
    // As when the whole document is saved, the document names the encoding
    // being written while its nodes are (attribute values depend on it).
    xmlDoc* doc = documento_.Crudo();
    const xmlChar* declarada = doc->encoding;
    doc->encoding = reinterpret_cast<const xmlChar*>(codificacion_.c_str());
    const long escrito = xmlSaveTree(guardado_, hijo);
    doc->encoding = declarada;
    xmlUnlinkNode(hijo);
    xmlFreeNode(hijo);
    if (escrito < 0)
        FallarEscritura();
}

void GuardadoPorPartes::Terminar()
{
    if (!porPartes_) {
        GuardarDocumento(documento_, destino_);
        return;
    }
    const int cerrado = xmlSaveClose(guardado_);
    guardado_ = nullptr;
    if (cerrado < 0 || !temporal_->Escribir(resto_.data(), resto_.size()))
        FallarEscritura();
    try {
        temporal_->Colocar();
    } catch (...) {
        Fallo();
        throw;
    }
    temporal_.reset();
    porPartes_ = false;
}

} // namespace durlavex
