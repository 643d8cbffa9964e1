#pragma once
// The Windows code pages for libxml2 on Windows. libxml2 is built there
// without iconv (mingw-w64 has none), so of its own it reads and writes only
// UTF-8, UTF-16, ASCII and ISO-8859-x; this registers windows-1250 to
// windows-1258 (also as cp1250 to cp1258) with the system's own tables, as
// iconv gives them elsewhere. A character the code page cannot hold is
// reported to libxml2, which writes it as a numeric character reference.
// Does nothing outside Windows; registering twice is harmless.

namespace durlavex {

void RegistrarCodificacionesWindows();

} // namespace durlavex
