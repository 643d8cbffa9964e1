#pragma once
// What libxml2 reports while it parses a file, shared by the two ways files
// are read (whole into a tree, or element by element as they go by): the
// first fatal error is kept, and becomes one Spanish error naming the file,
// the line and the reason.

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <string>

#include "platform/xml/motivo_error_xml.h"

namespace durlavex {

// The first fatal error of a parse, the cause, where the last one is often
// only a consequence ("Extra content at the end of the document" after a
// text too long to keep).
struct PrimerErrorXml {
    bool hay = false;
    int linea = 0;
    ErrorAnalisisXml error;
};

ErrorAnalisisXml DeLibxml2(const xmlError& error, const xmlParserCtxt* ctxt);

// Keeps `error` in `primero` when it is the first fatal one of the parser
// (a text over libxml2's limit comes as a mere out-of-memory error, and
// counts too).
void AnotarErrorXml(PrimerErrorXml& primero, const xmlError* error, const xmlParserCtxt* ctxt);

// "El archivo «…» no es un XML bien formado (línea 3: …)", or the limit the
// file went over, from the first error or else the parser's last one.
[[noreturn]] void LanzarErrorXml(const xmlParserCtxt& ctxt, const PrimerErrorXml& primero,
                                 const std::string& nombre);

} // namespace durlavex
