#include "platform/dbf/valores.h"

#include "platform/comillas.h"
#include "platform/dbf/cursor_bytes.h"
#include "platform/error.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace durlavex::dbf {
namespace {

// How a field's bytes hold its value.
enum class Codificacion {
    Texto,     // C: left-aligned, blank-padded
    Numerico,  // N, F: digits right-aligned
    Logico,    // L
    Recortado, // D, dBase memo block numbers and other text-like kinds: trimmed
    EnteroBE,  // level 7 I and +: big-endian, sign bit flipped
    EnteroLE,  // FoxPro I: little-endian two's complement
    DobleBE,   // level 7 O: big-endian, sign bit flipped (negatives all bits)
    DobleLE,   // Visual FoxPro B: little-endian IEEE double
    Marca,     // level 7 @: milliseconds as a big-endian double
    Moneda,    // Visual FoxPro Y: int64 little-endian, ten-thousandths
    Memo4,     // FoxPro M/G of width 4: block number, little-endian
    Crudo,     // anything else: the bytes, padding removed
};

bool EsFoxPro(Version v)
{
    return v == Version::FoxPro || v == Version::VisualFoxPro;
}

Codificacion CodificacionDe(const Campo& campo, Version version)
{
    const bool nivel7 = version == Version::DBase7;
    switch (campo.tipo) {
    case 'C':
        return Codificacion::Texto;
    case 'N':
    case 'F':
        return Codificacion::Numerico;
    case 'L':
        return Codificacion::Logico;
    case 'D':
        return Codificacion::Recortado;
    case 'I':
    case '+':
        if (campo.ancho != 4)
            return Codificacion::Crudo;
        return nivel7 ? Codificacion::EnteroBE : Codificacion::EnteroLE;
    case 'O':
        return campo.ancho == 8 ? Codificacion::DobleBE : Codificacion::Crudo;
    case '@':
        return campo.ancho == 8 ? Codificacion::Marca : Codificacion::Crudo;
    case 'B':
        if (EsFoxPro(version))
            return campo.ancho == 8 ? Codificacion::DobleLE : Codificacion::Crudo;
        return Codificacion::Recortado;
    case 'Y':
        return EsFoxPro(version) && campo.ancho == 8 ? Codificacion::Moneda : Codificacion::Crudo;
    case 'M':
    case 'G':
        if (EsFoxPro(version) && campo.ancho == 4)
            return Codificacion::Memo4;
        return Codificacion::Recortado;
    default:
        return Codificacion::Crudo;
    }
}

bool EsBinario(Codificacion c)
{
    switch (c) {
    case Codificacion::EnteroBE:
    case Codificacion::EnteroLE:
    case Codificacion::DobleBE:
    case Codificacion::DobleLE:
    case Codificacion::Marca:
    case Codificacion::Moneda:
    case Codificacion::Memo4:
        return true;
    default:
        return false;
    }
}

bool EsRelleno(char c)
{
    return c == ' ' || c == '\0';
}

std::string_view SinRellenoFinal(std::string_view t)
{
    while (!t.empty() && EsRelleno(t.back()))
        t.remove_suffix(1);
    return t;
}

std::string_view SinRelleno(std::string_view t)
{
    t = SinRellenoFinal(t);
    while (!t.empty() && EsRelleno(t.front()))
        t.remove_prefix(1);
    return t;
}

std::string_view Vista(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool TodoCeros(std::span<const std::uint8_t> b)
{
    return std::all_of(b.begin(), b.end(), [](std::uint8_t x) { return x == 0; });
}

constexpr std::uint64_t kBitSigno = 0x8000000000000000ULL;

// The value of a binary field; nothing when it holds the null pattern.
std::optional<double> ValorBinario(Codificacion c, std::span<const std::uint8_t> b)
{
    switch (c) {
    case Codificacion::EnteroBE:
        if (TodoCeros(b))
            return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(LeerBE(b)) ^ 0x80000000U);
    case Codificacion::EnteroLE:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(LeerLE(b)));
    case Codificacion::Memo4: {
        const auto bloque = LeerLE(b);
        if (bloque == 0)
            return std::nullopt;
        return static_cast<double>(bloque);
    }
    case Codificacion::DobleBE: {
        if (TodoCeros(b))
            return std::nullopt;
        const std::uint64_t bits = LeerBE(b);
        return std::bit_cast<double>((bits & kBitSigno) ? bits & ~kBitSigno : ~bits);
    }
    case Codificacion::Marca:
        if (TodoCeros(b))
            return std::nullopt;
        return std::bit_cast<double>(LeerBE(b) & ~kBitSigno);
    case Codificacion::DobleLE:
        return std::bit_cast<double>(LeerLE(b));
    case Codificacion::Moneda:
        return static_cast<double>(static_cast<std::int64_t>(LeerLE(b))) / 10000.0;
    default:
        return std::nullopt;
    }
}

std::optional<double> LeerNumeroDeTexto(std::string_view texto)
{
    if (!texto.empty() && texto.front() == '+')
        texto.remove_prefix(1);
    double valor = 0;
    const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (texto.empty() || r.ec != std::errc() || r.ptr != texto.data() + texto.size())
        return std::nullopt;
    return valor;
}

std::string DondeCampo(const Campo& campo, const Contexto& c)
{
    std::string texto = "el campo " + EntreAnsi(campo.nombre) + " de la tabla " + Entre(c.tabla);
    if (c.fila)
        texto += " (registro " + std::to_string(*c.fila + 1) + ")";
    return texto;
}

// Fixed-point text of a number with the field's decimals; "-0" becomes "0".

void AlinearDerecha(std::span<std::uint8_t> destino, std::string_view texto)
{
    std::fill(destino.begin(), destino.end(), static_cast<std::uint8_t>(' '));
    std::memcpy(destino.data() + destino.size() - texto.size(), texto.data(), texto.size());
}

void AlinearIzquierda(std::span<std::uint8_t> destino, std::string_view texto)
{
    std::fill(destino.begin(), destino.end(), static_cast<std::uint8_t>(' '));
    std::memcpy(destino.data(), texto.data(), std::min(texto.size(), destino.size()));
}

[[noreturn]] void NoCabe(const Campo& campo, double valor, const Contexto& c, const std::string& detalle)
{
    throw Error("El número " + TextoDeDouble(valor) + " no cabe en " + DondeCampo(campo, c) + " (" + detalle +
                ")");
}

std::int64_t EnteroQueCabe(const Campo& campo, double valor, const Contexto& c, double minimo, double maximo,
                           const std::string& detalle)
{
    if (!(valor >= minimo && valor <= maximo) || valor != std::trunc(valor))
        NoCabe(campo, valor, c, detalle);
    return static_cast<std::int64_t>(valor);
}

} // namespace

std::string TextoDeDouble(double valor)
{
    // Plain digits for the magnitudes tables hold; exponents only beyond.
    const double magnitud = std::fabs(valor);
    const bool fijo = valor == 0 || (magnitud >= 1e-6 && magnitud < 1e21);
    char texto[64];
    const auto r = fijo ? std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::fixed)
                        : std::to_chars(texto, texto + sizeof texto, valor);
    return std::string(texto, r.ptr);
}

std::string TextoDeCampo(const Campo& campo, Version version, std::span<const std::uint8_t> bytes)
{
    const Codificacion c = CodificacionDe(campo, version);
    switch (c) {
    case Codificacion::Texto:
    case Codificacion::Crudo:
        return std::string(SinRellenoFinal(Vista(bytes)));
    case Codificacion::Numerico:
    case Codificacion::Recortado:
        return std::string(SinRelleno(Vista(bytes)));
    case Codificacion::Logico: {
        const char v = bytes.empty() ? ' ' : static_cast<char>(bytes[0]);
        if (std::strchr("TtYy", v) && v != '\0')
            return "T";
        if (std::strchr("FfNn", v) && v != '\0')
            return "F";
        return "";
    }
    case Codificacion::EnteroBE:
    case Codificacion::EnteroLE:
    case Codificacion::Memo4:
    case Codificacion::DobleBE:
    case Codificacion::DobleLE:
    case Codificacion::Marca:
    case Codificacion::Moneda: {
        const auto valor = ValorBinario(c, bytes);
        return valor ? TextoDeDouble(*valor) : std::string();
    }
    }
    return {};
}

std::optional<double> NumeroDeCampo(const Campo& campo, Version version, std::span<const std::uint8_t> bytes,
                                    const Contexto& contexto)
{
    const Codificacion c = CodificacionDe(campo, version);
    if (EsBinario(c))
        return ValorBinario(c, bytes);
    const std::string texto = TextoDeCampo(campo, version, bytes);
    const std::string_view recortado = SinRelleno(texto);
    if (recortado.empty())
        return std::nullopt;
    const auto valor = LeerNumeroDeTexto(recortado);
    if (!valor)
        throw Error("El valor " + EntreAnsi(recortado) + " en " + DondeCampo(campo, contexto) +
                    " no es un número");
    return valor;
}

void VaciarCampo(const Campo& campo, Version version, std::span<std::uint8_t> destino)
{
    const std::uint8_t relleno = EsBinario(CodificacionDe(campo, version)) ? 0 : ' ';
    std::fill(destino.begin(), destino.end(), relleno);
}

void EscribirTexto(const Campo& campo, Version version, std::span<std::uint8_t> destino,
                   std::string_view valor, const Contexto& contexto)
{
    const Codificacion c = CodificacionDe(campo, version);
    if (c == Codificacion::Numerico || EsBinario(c)) {
        const std::string_view recortado = SinRelleno(valor);
        if (recortado.empty())
            return VaciarCampo(campo, version, destino);
        const auto numero = LeerNumeroDeTexto(recortado);
        if (!numero)
            throw Error("El valor " + EntreAnsi(recortado) + " no es un número y no puede guardarse en " +
                        DondeCampo(campo, contexto));
        return EscribirNumero(campo, version, destino, *numero, contexto);
    }
    AlinearIzquierda(destino, valor);
}

void EscribirNumero(const Campo& campo, Version version, std::span<std::uint8_t> destino, double valor,
                    const Contexto& contexto)
{
    switch (CodificacionDe(campo, version)) {
    case Codificacion::Numerico: {
        const auto texto = std::isfinite(valor) ? TextoFijo(valor, campo.decimales) : std::nullopt;
        if (!texto || texto->size() > destino.size())
            NoCabe(campo, valor, contexto,
                   "numérico de " + std::to_string(campo.ancho) + " posiciones y " +
                       std::to_string(campo.decimales) + " decimales");
        return AlinearDerecha(destino, *texto);
    }
    case Codificacion::Texto: {
        const std::string texto = TextoDeDouble(valor);
        if (texto.size() > destino.size())
            NoCabe(campo, valor, contexto, "texto de " + std::to_string(campo.ancho) + " caracteres");
        return AlinearIzquierda(destino, texto);
    }
    case Codificacion::EnteroBE: {
        // -2147483648 would be the all-zero null pattern.
        const auto v =
            EnteroQueCabe(campo, valor, contexto, -2147483647.0, 2147483647.0, "entero de 4 bytes");
        return EscribirBE(destino, static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) ^ 0x80000000U);
    }
    case Codificacion::EnteroLE: {
        const auto v =
            EnteroQueCabe(campo, valor, contexto, -2147483648.0, 2147483647.0, "entero de 4 bytes");
        return EscribirLE(destino, static_cast<std::uint32_t>(static_cast<std::int32_t>(v)));
    }
    case Codificacion::DobleBE: {
        if (!std::isfinite(valor))
            NoCabe(campo, valor, contexto, "número de coma flotante");
        const auto bits = std::bit_cast<std::uint64_t>(valor == 0 ? 0.0 : valor);
        return EscribirBE(destino, (bits & kBitSigno) ? ~bits : bits | kBitSigno);
    }
    case Codificacion::Marca:
        if (!std::isfinite(valor) || valor <= 0)
            NoCabe(campo, valor, contexto, "marca de tiempo");
        return EscribirBE(destino, std::bit_cast<std::uint64_t>(valor) | kBitSigno);
    case Codificacion::DobleLE:
        if (!std::isfinite(valor))
            NoCabe(campo, valor, contexto, "número de coma flotante");
        return EscribirLE(destino, std::bit_cast<std::uint64_t>(valor));
    case Codificacion::Moneda: {
        const double escalado = std::round(valor * 10000.0);
        const auto v = EnteroQueCabe(campo, escalado, contexto, -9.2e18, 9.2e18, "moneda");
        return EscribirLE(destino, static_cast<std::uint64_t>(v));
    }
    default:
        throw Error("No se puede guardar un número en " + DondeCampo(campo, contexto) + ", que es de tipo '" +
                    std::string(1, campo.tipo) + "'");
    }
}

void EscribirLogico(const Campo& campo, std::span<std::uint8_t> destino, bool valor, const Contexto& contexto)
{
    if (campo.tipo != 'L' || destino.empty())
        throw Error("No se puede guardar un valor lógico en " + DondeCampo(campo, contexto) +
                    ", que es de tipo '" + std::string(1, campo.tipo) + "'");
    std::fill(destino.begin(), destino.end(), static_cast<std::uint8_t>(' '));
    destino[0] = valor ? 'T' : 'F';
}

std::optional<std::string> TextoFijo(double valor, int decimales)
{
    char texto[800];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::fixed, decimales);
    if (r.ec != std::errc())
        return std::nullopt;
    std::string resultado(texto, r.ptr);
    if (resultado.front() == '-' && resultado.find_first_not_of("-0.") == std::string::npos)
        resultado.erase(0, 1);
    return resultado;
}

} // namespace durlavex::dbf
