#include "platform/plegado.h"

namespace durlavex {

namespace {

// U+00C0 to U+017F folded: one code point each, in order.
constexpr std::u32string_view kLatinoPlegado =
    U"aaaaaa\u00e6ceeeeiiii\u00f0nooooo\u00d7\u00f8uuuuy\u00fe\u00df"
    U"aaaaaa\u00e6ceeeeiiii\u00f0nooooo\u00f7\u00f8uuuuy\u00fey"
    U"aaaaaaccccccccdd\u0111\u0111eeeeeeeeeegggg"
    U"gggghh\u0127\u0127iiiiiiiii\u0131\u0133\u0133jjkk\u0138llllll\u0140"
    U"\u0140\u0142\u0142nnnnnn\u0149\u014b\u014boooooo\u0153\u0153rrrrrrssssss"
    U"sstttt\u0167\u0167uuuuuuuuuuuuwwyyyzzzzzz\u017f";
constexpr char32_t kPrimeroLatino = 0xC0;

constexpr char32_t kReemplazo = 0xFFFD;

// The code point at the start of `resto` and the bytes it takes; malformed
// bytes give U+FFFD one byte at a time.
char32_t SiguientePunto(std::string_view resto, std::size_t& largo)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(resto[i]); };
    const unsigned char b0 = byte(0);
    largo = 1;
    if (b0 < 0x80)
        return b0;
    std::size_t n = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 0;
    if (n == 0 || b0 > 0xF4 || resto.size() < n)
        return kReemplazo;
    char32_t punto = b0 & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return kReemplazo;
        punto = (punto << 6) | (byte(i) & 0x3F);
    }
    const char32_t minimo = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    if (punto < minimo || punto > 0x10FFFF || (punto >= 0xD800 && punto <= 0xDFFF))
        return kReemplazo;
    largo = n;
    return punto;
}

} // namespace

std::u32string PlegarLetras(std::string_view utf8)
{
    std::u32string plegado;
    plegado.reserve(utf8.size());
    while (!utf8.empty()) {
        std::size_t largo = 1;
        char32_t c = SiguientePunto(utf8, largo);
        utf8.remove_prefix(largo);
        if (c >= U'A' && c <= U'Z')
            c += U'a' - U'A';
        else if (c >= kPrimeroLatino && c < kPrimeroLatino + kLatinoPlegado.size())
            c = kLatinoPlegado[c - kPrimeroLatino];
        plegado += c;
    }
    return plegado;
}

bool EsLetraODigito(char32_t c)
{
    if ((c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9'))
        return true;
    return c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7;
}

bool ContienePalabra(std::u32string_view texto, std::u32string_view patron)
{
    if (patron.empty())
        return false;
    for (std::size_t desde = texto.find(patron); desde != std::u32string_view::npos;
         desde = texto.find(patron, desde + 1)) {
        const std::size_t hasta = desde + patron.size();
        const bool libreAntes = desde == 0 || !EsLetraODigito(texto[desde - 1]);
        const bool libreDespues = hasta == texto.size() || !EsLetraODigito(texto[hasta]);
        if (libreAntes && libreDespues)
            return true;
    }
    return false;
}

} // namespace durlavex
