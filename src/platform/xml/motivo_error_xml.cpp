#include "platform/xml/motivo_error_xml.h"

#include <libxml/xmlerror.h>

#include <cstdio>
#include <string_view>

namespace durlavex {
namespace {

// libxml2's description on one line, without the trailing full stops, blanks
// and control characters (the error box adds its own full stop). Some
// descriptions span two lines ("…indicate encoding !\nBytes: 0xFF…").
std::string UnaLinea(std::string_view mensaje)
{
    std::string texto;
    for (char c : mensaje) {
        if (static_cast<unsigned char>(c) >= 32)
            texto += c;
        else if (!texto.empty() && texto.back() != ' ')
            texto += ' ';
    }
    while (!texto.empty() && (texto.back() == '.' || static_cast<unsigned char>(texto.back()) <= 32))
        texto.pop_back();
    return texto;
}

bool Empieza(std::string_view texto, std::string_view principio)
{
    return texto.substr(0, principio.size()) == principio;
}

std::string Etiqueta(const std::string& nombre)
{
    return "<" + nombre + ">";
}

std::string AbiertaEn(int linea)
{
    return linea > 0 ? " (abierta en la línea " + std::to_string(linea) + ")" : "";
}

// The first byte libxml2 could not decode, from its "Bytes: 0xE1 0x72 …".
std::string PrimerByte(const std::string& bytes)
{
    const std::string_view prefijo = "Bytes: ";
    if (!Empieza(bytes, prefijo))
        return {};
    std::string byte;
    for (std::size_t i = prefijo.size(); i < bytes.size() && bytes[i] != ' ' && bytes[i] != '\n'; ++i)
        byte += bytes[i];
    return byte;
}

std::string CodificacionEquivocada(const ErrorAnalisisXml& e)
{
    std::string motivo;
    if (e.codificacionDeclarada.empty())
        motivo = "el texto no está en UTF-8 y el archivo no declara otra codificación (la primera línea ha "
                 "de decirla, por ejemplo <?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>)";
    else
        motivo =
            "el texto no está en la codificación que declara el archivo, «" + e.codificacionDeclarada + "»";
    const std::string byte = PrimerByte(e.dato1);
    if (!byte.empty())
        motivo += "; el primer byte que no encaja es " + byte;
    return motivo;
}

std::string CaracterNoAdmitido(const ErrorAnalisisXml& e)
{
    std::string motivo = "hay un carácter que XML no admite";
    if (e.numero1 > 0) {
        char codigo[16];
        std::snprintf(codigo, sizeof codigo, "U+%04X", static_cast<unsigned>(e.numero1));
        motivo += std::string(" (") + codigo + ")";
    }
    return motivo + ", por ejemplo un carácter de control";
}

} // namespace

std::string MotivoErrorXml(const ErrorAnalisisXml& e)
{
    switch (e.codigo) {
    case XML_ERR_OK:
        return "error desconocido al leer el XML";
    case XML_ERR_DOCUMENT_EMPTY:
        if (Empieza(e.mensaje, "Document is empty"))
            return "el archivo está vacío";
        return "no hay ningún elemento XML (no es un archivo XML, o solo tiene la declaración)";
    case XML_ERR_INVALID_CHAR:
        if (Empieza(e.mensaje, "Input is not proper UTF-8"))
            return CodificacionEquivocada(e);
        return CaracterNoAdmitido(e);
    case XML_ERR_INVALID_ENCODING:
        return e.codificacionDeclarada.empty()
                   ? "el texto no está en la codificación que declara el archivo"
                   : "el texto no está en la codificación que declara el archivo, «" +
                         e.codificacionDeclarada + "»";
    case XML_ERR_UNKNOWN_ENCODING:
    case XML_ERR_UNSUPPORTED_ENCODING:
        return "declara una codificación que no se conoce, «" + e.dato1 + "»";
    case XML_ERR_DOCUMENT_END:
        return "hay más contenido después del elemento raíz, y un documento XML solo tiene un elemento raíz";
    case XML_ERR_TAG_NAME_MISMATCH:
        return "la etiqueta " + Etiqueta(e.dato1) + AbiertaEn(e.numero1) + " no se cierra: se encuentra </" +
               e.dato2 + ">";
    case XML_ERR_TAG_NOT_FINISHED:
        return "el archivo se acaba sin cerrar la etiqueta " + Etiqueta(e.dato1) + AbiertaEn(e.numero1) +
               ": ¿está cortado?";
    case XML_ERR_GT_REQUIRED:
        return e.dato1.empty() ? "falta el «>» que cierra una etiqueta"
                               : "la etiqueta " + Etiqueta(e.dato1) + " no termina con «>»";
    case XML_ERR_COMMENT_NOT_FINISHED:
        return "un comentario «<!--» no se cierra con «-->»";
    case XML_ERR_CDATA_NOT_FINISHED:
        return "una sección «<![CDATA[» no se cierra con «]]>»";
    case XML_ERR_MISPLACED_CDATA_END:
        return "el texto contiene «]]>», que XML no admite fuera de una sección CDATA";
    case XML_ERR_NAME_REQUIRED:
        if (e.mensaje.find("EntityRef") != std::string::npos)
            return "hay un «&» suelto (en el texto se escribe &amp;)";
        return "hay un «<» que no abre ninguna etiqueta (en el texto se escribe &lt;)";
    case XML_ERR_ENTITYREF_SEMICOL_MISSING:
        return "a una referencia «&…» le falta el «;» final (un «&» suelto se escribe &amp;)";
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY:
        return "usa la entidad «&" + e.dato1 + ";», que el archivo no define";
    case XML_ERR_INVALID_HEX_CHARREF:
    case XML_ERR_INVALID_DEC_CHARREF:
    case XML_ERR_INVALID_CHARREF:
        return "una referencia de carácter «&#…;» no es válida";
    case XML_ERR_ATTRIBUTE_REDEFINED:
        return "el atributo «" + e.dato1 + "» aparece dos veces en la misma etiqueta";
    case XML_ERR_LT_IN_ATTRIBUTE:
    case XML_ERR_ATTRIBUTE_NOT_STARTED:
    case XML_ERR_ATTRIBUTE_NOT_FINISHED:
    case XML_ERR_ATTRIBUTE_WITHOUT_VALUE:
        return "un atributo está mal escrito (su valor va entre comillas y sin «<»)";
    case XML_ERR_ENTITY_LOOP:
        return "tiene entidades que se llaman a sí mismas sin fin";
    case XML_ERR_XMLDECL_NOT_FINISHED:
    case XML_ERR_VERSION_MISSING:
        return "la declaración «<?xml … ?>» de la primera línea está mal escrita";
    default:
        break;
    }
    const std::string detalle = UnaLinea(e.mensaje);
    return "error de sintaxis XML número " + std::to_string(e.codigo) +
           (detalle.empty() ? std::string() : " (libxml2: «" + detalle + "»)");
}

} // namespace durlavex
