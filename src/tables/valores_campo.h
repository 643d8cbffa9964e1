#pragma once
// How a field's values are converted and compared: numbers held as text,
// and the keys by which locating, filtering and ordering match rows.
//
// A key is a byte string made of one fragment per field, so that rows and
// sought values compare with a plain string equality (and hash): text
// fragments carry their length, numbers their exact double value, a blank
// number its own mark.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dbf/archivo_dbf.h"
#include "tables/tabla.h"

namespace durlavex {

// Kinds the engine reads as numbers (N, F, the binary numbers, currency).
bool EsCampoNumerico(const dbf::Campo& campo);

// A decimal number written as text ("12", "-3.5", " +7 "), blanks and
// control characters around it allowed; nothing for anything else.
std::optional<double> NumeroDeTexto(std::string_view texto);

// How a number reads back from a numeric field: fixed decimals, no padding.
std::string TextoDeNumero(double valor, int decimales);

// The key fragment of a stored value. Text without its trailing blanks; a
// number as a number. Nothing when a numeric field holds something that is no
// number: such a value equals no sought value.
std::optional<std::string> ClaveDeFila(const dbf::ArchivoDbf& archivo, std::size_t fila, std::size_t campo);

// The key fragment of a sought value. Text without its trailing blanks, and,
// when `cortarAlAncho`, first cut to the field's width; a number sought in a
// text field as its decimal digits; a text sought in a numeric field as the
// number it writes (blank: the blank value). Nothing when no stored value can
// equal it.
std::optional<std::string> ClaveDeValor(const dbf::Campo& campo, const ValorClave& valor, bool cortarAlAncho);

} // namespace durlavex
