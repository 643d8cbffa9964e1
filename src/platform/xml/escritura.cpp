#include "platform/xml/escritura.h"

#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <fstream>
#include <string>
#include <system_error>

#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/xml/archivo_temporal.h"

namespace durlavex {

namespace {

const xmlChar* X(const std::string& texto)
{
    return reinterpret_cast<const xmlChar*>(texto.c_str());
}

} // namespace

// XML 1.0 cannot hold the control characters below the blank other than tab,
// line feed and carriage return, not even as references: a file holding one
// is refused by every reader. Each becomes a blank, so the file stays readable.
std::string TextoAdmitido(std::string_view texto)
{
    std::string r(texto);
    for (char& c : r) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            c = ' ';
    }
    return r;
}

xmlNode* CrearElemento(const DocumentoXml& documento, std::string_view nombre)
{
    const std::string n(nombre);
    xmlNode* elemento = xmlNewDocNode(documento.Crudo(), nullptr, X(n), nullptr);
    if (elemento == nullptr)
        throw Error("No se pudo crear el elemento XML " + n + ": falta memoria");
    return elemento;
}

void AgregarHijo(xmlNode* padre, xmlNode* hijo)
{
    if (xmlAddChild(padre, hijo) == nullptr) {
        xmlFreeNode(hijo);
        throw Error("No se pudo añadir un nodo al documento XML");
    }
}

xmlNode* AgregarElemento(const DocumentoXml& documento, xmlNode* padre, std::string_view nombre)
{
    xmlNode* elemento = CrearElemento(documento, nombre);
    AgregarHijo(padre, elemento);
    return elemento;
}

void FijarAtributo(xmlNode* elemento, std::string_view nombre, std::string_view valor)
{
    const std::string n(nombre);
    // xmlNewProp takes the value as plain text (no entity references) and
    // appends the attribute after the existing ones.
    if (xmlNewProp(elemento, X(n), X(TextoAdmitido(valor))) == nullptr)
        throw Error("No se pudo poner el atributo " + n + " en el documento XML");
}

void FijarTexto(xmlNode* elemento, std::string_view texto)
{
    xmlNodeSetContent(elemento, nullptr);
    if (texto.empty())
        return;
    const std::string t = TextoAdmitido(texto);
    xmlNode* nodo = xmlNewDocTextLen(elemento->doc, X(t), static_cast<int>(t.size()));
    if (nodo == nullptr)
        throw Error("No se pudo poner un texto en el documento XML: falta memoria");
    AgregarHijo(elemento, nodo);
}

std::filesystem::path RutaTemporalGuardado(const std::filesystem::path& destino)
{
    std::filesystem::path temporal = destino;
    temporal += ".tmp";
    return temporal;
}

void GuardarDocumento(const DocumentoXml& documento, const std::filesystem::path& destino)
{
    PrepararLibxml2();
    xmlDoc* doc = documento.Crudo();
    const std::string codificacion =
        doc->encoding != nullptr ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";

    ArchivoTemporal temporal(destino);
    // Serialised straight into the file as it goes: a large result is never
    // held a second time as one block of bytes.
    xmlSaveCtxt* guardado =
        xmlSaveToIO(EscribirEnTemporal, nullptr, &temporal, codificacion.c_str(), XML_SAVE_AS_XML);
    if (guardado == nullptr)
        throw Error("No se pudo escribir el documento en la codificación " + codificacion +
                    " para guardar «" + TextoRuta(destino) + "»");
    const long escrito = xmlSaveDoc(guardado, doc);
    const int cerrado = xmlSaveClose(guardado);
    if (escrito < 0 || cerrado < 0)
        temporal.FalloEscritura();
    temporal.Colocar();
}

} // namespace durlavex
