#pragma once
// Why a file is not well-formed XML, in Spanish.
//
// libxml2 describes its parse errors in English. The causes a person meets
// with an exchange file (an empty file, text in another encoding than the one
// declared, a tag left open, a file cut short, a character XML does not
// allow, a second root element, a loose "&" or "<") are said here in words
// of their own, with the names libxml2 reports; any other keeps libxml2's
// description as a detail after its error number.

#include <string>

namespace durlavex {

// A parse error as libxml2 reported it.
struct ErrorAnalisisXml {
    int codigo = 0;                    // xmlParserErrors
    std::string mensaje;               // libxml2's description
    std::string dato1, dato2;          // its str1 and str2 (names, bytes)
    int numero1 = 0;                   // its int1 (a line, a character)
    std::string codificacionDeclarada; // from the XML declaration; empty when none
};

// The reason, without the line (the caller puts it in front).
std::string MotivoErrorXml(const ErrorAnalisisXml& error);

} // namespace durlavex
