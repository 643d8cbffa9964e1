#pragma once
// Errors that end a run.
//
// A run stops at the first failure and shows one message, so an error carries
// its final Spanish text, built where the failure arises and naming what and
// where (file, table, field, record). The text is UTF-8; single-byte table or
// exchange text placed into it is converted with AnsiAUtf8 first.

#include <stdexcept>
#include <string>
#include <string_view>

namespace durlavex {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The standard text-to-integer conversion refused a text:
// "'%s' no es un valor entero válido".
class ErrorConversion : public Error {
  public:
    using Error::Error;
};

// The text of the error box: a full stop is added when the code of the last
// character is greater than that of the full stop (so none after a blank, "!",
// ")", "," or "-"), and none to an empty text. Works on UTF-8: a multi-byte
// last character counts as greater.
std::string TextoCajaError(std::string_view texto);

} // namespace durlavex
