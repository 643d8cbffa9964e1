#pragma once
// The test host's report: one line per thing seen, on standard output,
// written at once so that a script reading it while the host runs sees it.

#include <windows.h>

#include <string>

// printf-style; a new line is added.
void Informar(const char* formato, ...);

// Window texts for the report, in UTF-8.
std::string Utf8(const std::wstring& texto);
std::string TituloDe(HWND ventana);
std::string ClaseDe(HWND ventana);
