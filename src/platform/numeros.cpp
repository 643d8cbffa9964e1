#include "platform/numeros.h"

#include "platform/error.h"
#include "platform/texto.h"

#include <string>

namespace durlavex {

namespace {

[[noreturn]] void RechazarEntero(std::string_view texto)
{
    throw ErrorConversion("'" + AnsiAUtf8(VistaAnsi(texto)) + "' no es un valor entero válido");
}

int ValorHex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::int32_t TextoAEntero(std::string_view texto)
{
    std::string_view resto = texto;
    while (!resto.empty() && resto.front() == ' ')
        resto.remove_prefix(1);
    bool negativo = false;
    if (!resto.empty() && (resto.front() == '+' || resto.front() == '-')) {
        negativo = resto.front() == '-';
        resto.remove_prefix(1);
    }
    if (resto.empty())
        RechazarEntero(texto);
    // The magnitude may reach 2^31 for the most negative value; stopping there
    // keeps the sum from overflowing whatever the number of digits.
    const std::int64_t limite = negativo ? 2147483648LL : 2147483647LL;
    std::int64_t valor = 0;
    for (char c : resto) {
        if (c < '0' || c > '9')
            RechazarEntero(texto);
        valor = valor * 10 + (c - '0');
        if (valor > limite)
            RechazarEntero(texto);
    }
    return static_cast<std::int32_t>(negativo ? -valor : valor);
}

std::int32_t HexAEntero(std::string_view textoConDolar)
{
    if (textoConDolar.size() < 2 || textoConDolar.size() > 9 || textoConDolar.front() != '$')
        RechazarEntero(textoConDolar);
    std::uint32_t valor = 0;
    for (char c : textoConDolar.substr(1)) {
        const int digito = ValorHex(c);
        if (digito < 0)
            RechazarEntero(textoConDolar);
        valor = (valor << 4) | static_cast<std::uint32_t>(digito);
    }
    return static_cast<std::int32_t>(valor);
}

} // namespace durlavex
