#pragma once
// Loose matching of names typed by people: letter case and accents folded
// away ("Diversificación" and "DIVERSIFICACION" fold alike), and whole-word
// search in folded text.

#include <string>
#include <string_view>

namespace durlavex {

// UTF-8 text as code points with ASCII letters lower-cased and the Latin
// letters of Latin-1 and Latin Extended-A folded to their base letter (á, Á
// and à give a; ñ gives n; ç gives c). Letters without a base letter (æ, ø,
// ß) are only lower-cased. Malformed bytes become U+FFFD.
std::u32string PlegarLetras(std::string_view utf8);

// A Latin letter or an ASCII digit. The ordinal indicators ª and º, which
// follow a number ("1º"), are neither.
bool EsLetraODigito(char32_t c);

// True when `patron` occurs in `texto` with neither a letter nor a digit just
// before or just after it (both folded).
bool ContienePalabra(std::u32string_view texto, std::u32string_view patron);

} // namespace durlavex
