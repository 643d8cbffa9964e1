#pragma once
// Unique short codes of at most ten characters.
//
// Subjects, teachers, rooms and groups each get a code unique within their
// table, kept so by a list of the codes handed out. The presence test is
// always made on the form the table will hold (at most ten characters, the
// trailing blanks of a padded text field not significant), so two rows never
// end up with the same stored code.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/cotejo.h"

namespace durlavex {

// How a code longer than ten characters becomes the stored form.
enum class FormaCodigo {
    Acortar, // its first 8 characters followed by its last 2
    Cortar,  // its first 10 characters (teacher abbreviations as given)
};

// Returns the code to store for `candidato` and adds it to `lista`:
// 1. the stored form of the candidate, when it is not in the list;
// 2. otherwise base + n for n = 1, 2, 3 ..., base being the first 9
//    characters of the candidate as it stood before shortening or cutting,
//    each shortened (first 8 + last 2) when longer than ten characters, the
//    first whose stored form is not in the list.
// The code returned, and added, is that stored form without trailing blanks:
// what the table reads back.
// The list's comparison (with or without regard to case) is its own.
// Throws Error when every code that base and counter can form is taken (only
// possible once the counted codes wrap round their last two digits).
std::string GenerarCodigoCorto(std::string_view candidato, ConjuntoTextos& lista,
                               FormaCodigo forma = FormaCodigo::Acortar);

// Where the counting of each base stopped in one list. Every count below it
// gave a code the list held at the time, and a list only grows, so the next
// search for the same base starts there: many codes with one base cost no
// rescans. Use one per list, for as long as nothing is removed from it.
struct ContadoresCodigo {
    std::unordered_map<std::string, std::uint64_t> siguiente;
};

// The same, remembering in `contadores` where each base's counting stopped.
std::string GenerarCodigoCorto(std::string_view candidato, ConjuntoTextos& lista,
                               ContadoresCodigo& contadores, FormaCodigo forma = FormaCodigo::Acortar);

// What a text field of this width reads back after the text was set: cut to
// the width, without trailing blanks. Lookups on stored values compare this.
std::string TextoGuardado(std::string_view texto, std::size_t ancho);

} // namespace durlavex
