#include "informe.h"

#include <cstdarg>
#include <cstdio>

void Informar(const char* formato, ...)
{
    std::va_list argumentos;
    va_start(argumentos, formato);
    std::vprintf(formato, argumentos);
    va_end(argumentos);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string Utf8(const std::wstring& texto)
{
    if (texto.empty())
        return {};
    const int largo = WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), nullptr,
                                          0, nullptr, nullptr);
    std::string resultado(static_cast<std::size_t>(largo), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), resultado.data(), largo,
                        nullptr, nullptr);
    return resultado;
}

std::string TituloDe(HWND ventana)
{
    wchar_t texto[256] = L"";
    GetWindowTextW(ventana, texto, 256);
    return Utf8(texto);
}

std::string ClaseDe(HWND ventana)
{
    wchar_t clase[128] = L"";
    GetClassNameW(ventana, clase, 128);
    return Utf8(clase);
}
