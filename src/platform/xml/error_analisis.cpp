#include "platform/xml/error_analisis.h"

#include <libxml/parserInternals.h>

#include "platform/comillas.h"
#include "platform/error.h"

namespace durlavex {

namespace {

const char* Texto(const char* texto)
{
    return texto ? texto : "";
}

// libxml2's limits, said in words the user can act on: the file is well
// formed, but holds more than the reader accepts.
std::string LimiteSuperado(const std::string& mensaje)
{
    if (mensaje.find("huge text node") != std::string::npos)
        return "tiene un texto de más de " + std::to_string(XML_MAX_TEXT_LENGTH / 1000000) +
               " millones de caracteres, más de lo que se admite en un dato";
    if (mensaje.find("Excessive depth") != std::string::npos)
        return "tiene elementos anidados en más de " + std::to_string(xmlParserMaxDepth) +
               " niveles, más de los que se admiten";
    return {};
}

} // namespace

ErrorAnalisisXml DeLibxml2(const xmlError& error, const xmlParserCtxt* ctxt)
{
    ErrorAnalisisXml e;
    e.codigo = error.code;
    e.mensaje = Texto(error.message);
    e.dato1 = Texto(error.str1);
    e.dato2 = Texto(error.str2);
    e.numero1 = error.int1;
    if (ctxt && ctxt->encoding)
        e.codificacionDeclarada = reinterpret_cast<const char*>(ctxt->encoding);
    return e;
}

void AnotarErrorXml(PrimerErrorXml& primero, const xmlError* error, const xmlParserCtxt* ctxt)
{
    const bool cuenta = error && (error->level == XML_ERR_FATAL || error->code == XML_ERR_NO_MEMORY);
    if (!cuenta || error->domain != XML_FROM_PARSER || primero.hay)
        return;
    primero = {true, error->line, DeLibxml2(*error, ctxt)};
}

void LanzarErrorXml(const xmlParserCtxt& ctxt, const PrimerErrorXml& primero, const std::string& nombre)
{
    if (primero.hay) {
        const std::string limite = LimiteSuperado(primero.error.mensaje);
        if (!limite.empty())
            throw Error("El archivo " + Entre(nombre) + " no se puede leer: " + limite + " (línea " +
                        std::to_string(primero.linea) + ")");
    }
    const int linea = primero.hay ? primero.linea : ctxt.lastError.line;
    std::string motivo = MotivoErrorXml(primero.hay ? primero.error : DeLibxml2(ctxt.lastError, &ctxt));
    if (linea > 0)
        motivo = "línea " + std::to_string(linea) + ": " + motivo;
    throw Error("El archivo " + Entre(nombre) + " no es un XML bien formado (" + motivo + ")");
}

} // namespace durlavex
