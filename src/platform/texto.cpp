#include "platform/texto.h"

#include <array>
#include <cstdint>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace durlavex {

namespace {

bool EsBlancoOControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Length of the well-formed UTF-8 sequence at the start of `resto` and its code
// point; 0 when the bytes there are malformed (bad lead, missing or bad
// continuation, overlong form, surrogate, beyond U+10FFFF).
std::size_t SecuenciaUtf8(std::string_view resto, char32_t& punto)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(resto[i]); };
    const unsigned char b0 = byte(0);
    std::size_t largo;
    char32_t minimo;
    if (b0 < 0x80) {
        punto = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        largo = 2, minimo = 0x80, punto = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        largo = 3, minimo = 0x800, punto = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        largo = 4, minimo = 0x10000, punto = b0 & 0x07;
    } else {
        return 0;
    }
    if (resto.size() < largo)
        return 0;
    for (std::size_t i = 1; i < largo; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        punto = (punto << 6) | (byte(i) & 0x3F);
    }
    if (punto < minimo || punto > 0x10FFFF || (punto >= 0xD800 && punto <= 0xDFFF))
        return 0;
    return largo;
}

#ifndef _WIN32

#include "platform/cp1252_tabla.inc"

// One byte per UTF-16 code unit, built once: "?" wherever the published
// table gives neither a byte nor a best-fit byte.
const std::array<unsigned char, 0x10000>& TablaUnicodeACp1252()
{
    static const auto tabla = [] {
        std::array<unsigned char, 0x10000> t;
        t.fill('?');
        for (const auto& par : kUnicodeACp1252)
            t[par.unidad] = par.byte;
        return t;
    }();
    return tabla;
}

void AgregarUtf8(std::string& salida, char32_t punto)
{
    if (punto < 0x80) {
        salida += static_cast<char>(punto);
    } else if (punto < 0x800) {
        salida += static_cast<char>(0xC0 | (punto >> 6));
        salida += static_cast<char>(0x80 | (punto & 0x3F));
    } else {
        salida += static_cast<char>(0xE0 | (punto >> 12));
        salida += static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
        salida += static_cast<char>(0x80 | (punto & 0x3F));
    }
}

#else

std::wstring AAnchos(UINT paginaCodigos, std::string_view texto)
{
    if (texto.empty())
        return {};
    const int largo =
        MultiByteToWideChar(paginaCodigos, 0, texto.data(), static_cast<int>(texto.size()), nullptr, 0);
    std::wstring anchos(static_cast<std::size_t>(largo), L'\0');
    MultiByteToWideChar(paginaCodigos, 0, texto.data(), static_cast<int>(texto.size()), anchos.data(), largo);
    return anchos;
}

std::string DeAnchos(UINT paginaCodigos, const std::wstring& anchos)
{
    if (anchos.empty())
        return {};
    const int largo = WideCharToMultiByte(paginaCodigos, 0, anchos.data(), static_cast<int>(anchos.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string texto(static_cast<std::size_t>(largo), '\0');
    WideCharToMultiByte(paginaCodigos, 0, anchos.data(), static_cast<int>(anchos.size()), texto.data(), largo,
                        nullptr, nullptr);
    return texto;
}

#endif

} // namespace

std::string_view Recortar(std::string_view texto)
{
    while (!texto.empty() && EsBlancoOControl(texto.front()))
        texto.remove_prefix(1);
    while (!texto.empty() && EsBlancoOControl(texto.back()))
        texto.remove_suffix(1);
    return texto;
}

std::string_view QuitarBlancosFinales(std::string_view texto)
{
    while (!texto.empty() && texto.back() == ' ')
        texto.remove_suffix(1);
    return texto;
}

bool EsBlanco(std::string_view texto)
{
    return Recortar(texto).empty();
}

std::string MayusculasAscii(std::string_view texto)
{
    std::string salida(texto);
    for (char& c : salida)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return salida;
}

std::string MinusculasAscii(std::string_view texto)
{
    std::string salida(texto);
    for (char& c : salida)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return salida;
}

#ifndef _WIN32

TextoAnsi Utf8AAnsi(std::string_view utf8)
{
    const auto& tabla = TablaUnicodeACp1252();
    std::string salida;
    salida.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t punto = 0;
        const std::size_t largo = SecuenciaUtf8(utf8, punto);
        if (largo == 0) {
            salida += '?';
            utf8.remove_prefix(1);
            continue;
        }
        // Beyond the BMP a character is two UTF-16 code units (a surrogate
        // pair); neither has a byte.
        if (punto > 0xFFFF)
            salida += "??";
        else
            salida += static_cast<char>(tabla[punto]);
        utf8.remove_prefix(largo);
    }
    return TextoAnsi(std::move(salida));
}

std::string AnsiAUtf8(VistaAnsi texto)
{
    const std::string_view ansi = texto.Bytes();
    std::string salida;
    salida.reserve(ansi.size() * 2);
    for (char c : ansi)
        AgregarUtf8(salida, kCp1252AUnicode[static_cast<unsigned char>(c)]);
    return salida;
}

#else

TextoAnsi Utf8AAnsi(std::string_view utf8)
{
    // UTF-8 read here, so that a malformed byte gives one "?" as elsewhere
    // (MultiByteToWideChar would join some); the code page is Windows' own.
    std::wstring anchos;
    anchos.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t punto = 0;
        const std::size_t largo = SecuenciaUtf8(utf8, punto);
        if (largo == 0) {
            anchos += L'\xFFFD'; // no byte in any code page: the default "?"
            utf8.remove_prefix(1);
            continue;
        }
        if (punto > 0xFFFF) {
            punto -= 0x10000;
            anchos += static_cast<wchar_t>(0xD800 + (punto >> 10));
            anchos += static_cast<wchar_t>(0xDC00 + (punto & 0x3FF));
        } else {
            anchos += static_cast<wchar_t>(punto);
        }
        utf8.remove_prefix(largo);
    }
    return TextoAnsi(DeAnchos(CP_THREAD_ACP, anchos));
}

std::string AnsiAUtf8(VistaAnsi ansi)
{
    return DeAnchos(CP_UTF8, AnsiAAnchos(ansi.Bytes()));
}

std::wstring AnsiAAnchos(std::string_view ansi)
{
    return AAnchos(CP_THREAD_ACP, ansi);
}

#endif

} // namespace durlavex
