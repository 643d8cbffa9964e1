#include "platform/xml/codificaciones_windows.h"

#ifdef _WIN32

#include <libxml/encoding.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace durlavex {

namespace {

constexpr char16_t kSinCaracter = 0xFFFF;

// One single-byte code page, as MultiByteToWideChar reads it: the character
// of each byte (kSinCaracter where the code page has none) and the byte of
// each BMP character it holds exactly (no best fit, which would change text
// silently; 0 means none, the byte 0 being U+0000 itself).
struct Tabla {
    std::array<char16_t, 256> caracter{};
    std::array<std::uint8_t, 0x10000> byte{};
};

template <UINT Pagina> Tabla& TablaDe()
{
    static Tabla tabla = [] {
        Tabla t;
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            wchar_t w = 0;
            if (MultiByteToWideChar(Pagina, MB_ERR_INVALID_CHARS, &c, 1, &w, 1) != 1) {
                t.caracter[b] = kSinCaracter;
                continue;
            }
            t.caracter[b] = static_cast<char16_t>(w);
            if (b != 0 && t.byte[w] == 0)
                t.byte[w] = static_cast<std::uint8_t>(b);
        }
        return t;
    }();
    return tabla;
}

// Code page to UTF-8. libxml2's contract: *inlen bytes read, *outlen bytes
// written, -2 at a byte the code page does not define.
template <UINT Pagina>
int Entrada(unsigned char* salida, int* largoSalida, const unsigned char* entrada, int* largoEntrada)
{
    const Tabla& tabla = TablaDe<Pagina>();
    int leidos = 0;
    int escritos = 0;
    int resultado = 0;
    while (leidos < *largoEntrada) {
        const char16_t c = tabla.caracter[entrada[leidos]];
        if (c == kSinCaracter) {
            resultado = -2;
            break;
        }
        const int hace = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (escritos + hace > *largoSalida)
            break;
        if (hace == 1) {
            salida[escritos] = static_cast<unsigned char>(c);
        } else if (hace == 2) {
            salida[escritos] = static_cast<unsigned char>(0xC0 | (c >> 6));
            salida[escritos + 1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            salida[escritos] = static_cast<unsigned char>(0xE0 | (c >> 12));
            salida[escritos + 1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            salida[escritos + 2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        escritos += hace;
        ++leidos;
    }
    *largoEntrada = leidos;
    *largoSalida = escritos;
    return resultado == 0 ? escritos : resultado;
}

// UTF-8 to the code page: -2 at a character the code page does not hold (or
// at malformed UTF-8), *inlen then pointing at it; an incomplete sequence at
// the end is left for the next call.
template <UINT Pagina>
int Salida(unsigned char* salida, int* largoSalida, const unsigned char* entrada, int* largoEntrada)
{
    int leidos = 0;
    int escritos = 0;
    if (entrada == nullptr) { // libxml2's initialisation call
        *largoSalida = 0;
        *largoEntrada = 0;
        return 0;
    }
    const Tabla& tabla = TablaDe<Pagina>();
    int resultado = 0;
    while (leidos < *largoEntrada && escritos < *largoSalida) {
        const unsigned char b0 = entrada[leidos];
        int largo;
        char32_t punto;
        if (b0 < 0x80) {
            largo = 1, punto = b0;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            largo = 2, punto = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            largo = 3, punto = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            largo = 4, punto = b0 & 0x07;
        } else {
            resultado = -2;
            break;
        }
        if (leidos + largo > *largoEntrada)
            break; // the rest of the sequence comes with the next call
        bool bien = true;
        for (int i = 1; i < largo; ++i) {
            const unsigned char b = entrada[leidos + i];
            bien = bien && (b & 0xC0) == 0x80;
            punto = (punto << 6) | (b & 0x3F);
        }
        if (!bien || punto > 0xFFFF || (punto != 0 && tabla.byte[punto] == 0)) {
            resultado = -2;
            break;
        }
        salida[escritos++] = punto == 0 ? 0 : tabla.byte[punto];
        leidos += largo;
    }
    *largoEntrada = leidos;
    *largoSalida = escritos;
    return resultado == 0 ? escritos : resultado;
}

template <UINT Pagina> void Registrar()
{
    const std::string numero = std::to_string(Pagina);
    TablaDe<Pagina>();
    const std::string nombre = "windows-" + numero;
    if (xmlFindCharEncodingHandler(nombre.c_str()) == nullptr)
        xmlNewCharEncodingHandler(nombre.c_str(), &Entrada<Pagina>, &Salida<Pagina>);
    xmlAddEncodingAlias(nombre.c_str(), ("cp" + numero).c_str());
}

} // namespace

void RegistrarCodificacionesWindows()
{
    static std::once_flag hecho;
    std::call_once(hecho, [] {
        Registrar<1250>();
        Registrar<1251>();
        Registrar<1252>();
        Registrar<1253>();
        Registrar<1254>();
        Registrar<1255>();
        Registrar<1256>();
        Registrar<1257>();
        Registrar<1258>();
    });
}

} // namespace durlavex

#else

namespace durlavex {

void RegistrarCodificacionesWindows() {}

} // namespace durlavex

#endif
