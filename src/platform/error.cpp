#include "platform/error.h"

namespace durlavex {

std::string TextoCajaError(std::string_view texto)
{
    std::string caja(texto);
    // Compared as unsigned bytes, so the last byte of a multi-byte UTF-8
    // character (0x80 or more) counts as greater than the full stop.
    if (!caja.empty() && static_cast<unsigned char>(caja.back()) > '.')
        caja += '.';
    return caja;
}

} // namespace durlavex
