#pragma once
// Single-byte text: trimming, the ANSI code page, ASCII upper case.
//
// The program's own text is single-byte text in the ANSI code page (on
// Windows the thread's code page through Win32; elsewhere windows-1252 exactly
// as Windows converts it, best-fit letters included); table text is held as
// TextoAnsi. UTF-8 exists only at the XML boundary and in messages, QString
// only in the GUI.

#include <string>
#include <string_view>

#include "platform/texto_ansi.h"

namespace durlavex {

// Removes code units <= 32 (blanks and control characters) from both ends.
// Valid on single-byte text and on UTF-8 alike: no byte of a multi-byte UTF-8
// sequence is <= 32.
std::string_view Recortar(std::string_view texto);

// Removes only the blanks (0x20) at the end: how a stored text field reads.
std::string_view QuitarBlancosFinales(std::string_view texto);

// True when the text is empty after Recortar.
bool EsBlanco(std::string_view texto);

// Upper-cases the ASCII letters a to z only; accented letters stay.
std::string MayusculasAscii(std::string_view texto);

// Lower-cases the ASCII letters A to Z only.
std::string MinusculasAscii(std::string_view texto);

// UTF-8 to the ANSI code page, converted per UTF-16 code unit as Windows does
// with best fit: characters without a byte or a best-fit byte become "?", a
// character outside the BMP (two code units) "??". Malformed UTF-8 bytes each
// become "?".
TextoAnsi Utf8AAnsi(std::string_view utf8);

// The ANSI code page back to UTF-8.
std::string AnsiAUtf8(VistaAnsi ansi);

#ifdef _WIN32
// The ANSI code page as UTF-16, for Windows' own text services.
std::wstring AnsiAAnchos(std::string_view ansi);
#endif

} // namespace durlavex
