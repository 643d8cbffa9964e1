#pragma once
// The one filter form the system uses: FIELD= 'literal'.

#include <string>
#include <string_view>

namespace durlavex {

struct ExpresionFiltro {
    std::string campo;
    std::string valor; // the literal with its doubled quotes made single
};

// Reads "CAMPO= 'valor'": blanks around the field name, the "=" and the
// literal are allowed, a quote inside the literal is written twice. Anything
// else is an Error naming the expression and the table.
ExpresionFiltro LeerExpresionFiltro(std::string_view expresion, std::string_view tabla);

} // namespace durlavex
