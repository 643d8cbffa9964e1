#pragma once
// Unique short codes of at most ten characters.
//
// Subjects, teachers, rooms and groups each get a code unique within their
// table, kept so by a list of the codes handed out. The presence test is
// always made on the form the table will hold (at most ten characters, the
// trailing blanks of a padded text field not significant), so two rows never
// end up with the same stored code.

#include <string>
#include <string_view>

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
// The list's comparison (with or without regard to case) is its own.
std::string GenerarCodigoCorto(std::string_view candidato, ConjuntoTextos& lista,
                               FormaCodigo forma = FormaCodigo::Acortar);

} // namespace durlavex
