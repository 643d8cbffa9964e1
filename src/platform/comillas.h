#pragma once
// Names in the texts shown to the user (errors, steps, notices) go between
// «» quotes, so that a name with blanks or an empty name reads as one.

#include <string>
#include <string_view>

#include "platform/texto.h"

namespace durlavex {

// A name that is already UTF-8: a path through TextoRuta, an XML name, text
// the user typed.
inline std::string Entre(std::string_view utf8)
{
    std::string texto;
    texto.reserve(utf8.size() + 4);
    texto += "«";
    texto += utf8;
    texto += "»";
    return texto;
}

// Table text (a stored code, a value): converted to UTF-8 for the message.
inline std::string EntreAnsi(const TextoAnsi& ansi)
{
    return Entre(AnsiAUtf8(ansi));
}

// A name the engine holds as single-byte bytes (a field, a table, an index
// tag): converted to UTF-8 for the message.
inline std::string EntreAnsi(std::string_view ansi)
{
    return Entre(AnsiAUtf8(VistaAnsi(ansi)));
}

} // namespace durlavex
