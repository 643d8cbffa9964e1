#pragma once
// The standard text-to-integer conversion, in the two forms the system uses.

#include <cstdint>
#include <string_view>

namespace durlavex {

// Decimal form: leading spaces (0x20 only) skipped, an optional "+" or "-",
// decimal digits, and the value must fit a signed 32-bit integer. Anything
// else (an empty text, a trailing space, "12a") throws ErrorConversion
// "'%s' no es un valor entero válido" with the original text in place of %s.
// The text is single-byte (ANSI) text.
std::int32_t TextoAEntero(std::string_view texto);

// Window-handle form: "$" followed by 1 to 8 hexadecimal digits, the 32-bit
// pattern returned as a signed value ("$FFFFFFFF" gives -1). Anything else
// (no digit, a sign, a blank, "0x", nine digits) throws ErrorConversion with
// the whole "$"-prefixed text in place of %s.
std::int32_t HexAEntero(std::string_view textoConDolar);

} // namespace durlavex
