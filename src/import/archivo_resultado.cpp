#include "import/archivo_resultado.h"

#include <libxml/tree.h>

#include <cstring>
#include <string>

#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/xml/escritura.h"

namespace durlavex {

namespace {

bool EsElemento(const xmlNode* nodo, const char* nombre)
{
    return nodo->type == XML_ELEMENT_NODE && nodo->ns == nullptr &&
           std::strcmp(reinterpret_cast<const char*>(nodo->name), nombre) == 0;
}

bool EsTextoEnBlanco(const xmlNode* nodo)
{
    return nodo->type == XML_TEXT_NODE && xmlIsBlankNode(nodo);
}

} // namespace

std::filesystem::path NombreArchivoResultado(const std::filesystem::path& archivoXml)
{
    std::filesystem::path nombre = "ResultadoTalvos";
    nombre += archivoXml.filename();
    return archivoXml.parent_path() / nombre;
}

xmlNode* BloqueDatosConContenido(const DocumentoXml& documento)
{
    const std::string archivo = TextoRuta(documento.Ruta());
    const xmlNode* raiz = xmlDocGetRootElement(documento.Crudo());
    xmlNode* bloque = nullptr;
    if (raiz != nullptr && EsElemento(raiz, "SERVICIO")) {
        for (xmlNode* hijo = raiz->children; hijo != nullptr && bloque == nullptr; hijo = hijo->next)
            if (EsElemento(hijo, "BLOQUE_DATOS"))
                bloque = hijo;
    }
    if (bloque == nullptr)
        throw Error("El archivo «" + archivo +
                    "» no es un archivo de intercambio de Vorna: le falta el elemento SERVICIO/BLOQUE_DATOS");
    for (const xmlNode* hijo = bloque->children; hijo != nullptr; hijo = hijo->next)
        if (!EsTextoEnBlanco(hijo))
            return bloque;
    throw Error("El archivo «" + archivo + "» no trae el año académico: su elemento BLOQUE_DATOS está vacío");
}

xmlNode* SustituirRaiz(DocumentoXml& documento, std::string_view fecha, std::string_view anno)
{
    xmlDoc* doc = documento.Crudo();
    if (xmlNode* antigua = xmlDocGetRootElement(doc)) {
        xmlUnlinkNode(antigua);
        xmlFreeNode(antigua);
    }

    // Appended to the document node, the new root goes after every node that
    // remained, including comments that followed the old root.
    xmlNode* servicio = CrearElemento(documento, "SERVICIO");
    AgregarHijo(reinterpret_cast<xmlNode*>(doc), servicio);
    FijarAtributo(servicio, "modulo", "HORARIOS");
    FijarAtributo(servicio, "tipo", "I");
    FijarAtributo(servicio, "autor", "HORARIOS");
    FijarAtributo(servicio, "fecha", fecha);

    xmlNode* bloque = AgregarElemento(documento, servicio, "BLOQUE_DATOS");
    xmlNode* grupoAnno = CrearElemento(documento, "grupo_datos");
    FijarAtributo(grupoAnno, "seq", "ANNO_ACADEMICO");
    xmlNode* datoAnno = CrearElemento(documento, "dato");
    FijarAtributo(datoAnno, "nombre_dato", "C_ANNO");
    FijarTexto(datoAnno, anno);
    AgregarHijo(grupoAnno, datoAnno);
    AgregarHijo(bloque, grupoAnno);
    return bloque;
}

} // namespace durlavex
