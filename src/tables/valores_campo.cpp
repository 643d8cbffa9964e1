#include "tables/valores_campo.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <variant>

#include "platform/dbf/valores.h"
#include "platform/error.h"
#include "platform/texto.h"

namespace durlavex {

namespace {

std::string FragmentoTexto(std::string_view texto)
{
    const auto largo = static_cast<std::uint32_t>(texto.size());
    std::string fragmento(1, 'T');
    for (int i = 0; i < 4; ++i)
        fragmento.push_back(static_cast<char>((largo >> (8 * i)) & 0xFF));
    fragmento.append(texto);
    return fragmento;
}

std::string FragmentoNumero(std::optional<double> valor)
{
    if (!valor)
        return "B";
    double v = *valor == 0.0 ? 0.0 : *valor; // -0 and 0 are the same number
    char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    return "N" + std::string(bytes, sizeof v);
}

std::string DigitosDe(const ValorClave& valor)
{
    if (const auto* entero = std::get_if<std::int32_t>(&valor))
        return std::to_string(*entero);
    char texto[64];
    const auto r = std::to_chars(texto, texto + sizeof texto, std::get<double>(valor));
    return std::string(texto, r.ptr);
}

} // namespace

bool EsCampoNumerico(const dbf::Campo& campo)
{
    switch (campo.tipo) {
    case 'N':
    case 'F':
    case 'I':
    case '+':
    case 'O':
    case 'B':
    case 'Y':
        return true;
    default:
        return false;
    }
}

std::optional<double> NumeroDeTexto(std::string_view texto)
{
    texto = Recortar(texto);
    if (!texto.empty() && texto.front() == '+')
        texto.remove_prefix(1);
    if (texto.empty() || texto.front() == '+')
        return std::nullopt;
    double valor = 0;
    const auto r =
        std::from_chars(texto.data(), texto.data() + texto.size(), valor, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != texto.data() + texto.size())
        return std::nullopt;
    return valor;
}

std::string TextoDeNumero(double valor, int decimales)
{
    return dbf::TextoFijo(valor, decimales).value_or(std::string());
}

std::optional<std::string> ClaveDeFila(const dbf::ArchivoDbf& archivo, std::size_t fila, std::size_t campo)
{
    if (!EsCampoNumerico(archivo.Campos()[campo]))
        return FragmentoTexto(QuitarBlancosFinales(archivo.Texto(fila, campo)));
    try {
        return FragmentoNumero(archivo.Numero(fila, campo));
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::optional<std::string> ClaveDeValor(const dbf::Campo& campo, const ValorClave& valor, bool cortarAlAncho)
{
    const auto* texto = std::get_if<std::string>(&valor);
    if (EsCampoNumerico(campo)) {
        if (!texto)
            return FragmentoNumero(std::holds_alternative<std::int32_t>(valor)
                                       ? static_cast<double>(std::get<std::int32_t>(valor))
                                       : std::get<double>(valor));
        if (EsBlanco(*texto))
            return FragmentoNumero(std::nullopt);
        const auto numero = NumeroDeTexto(*texto);
        if (!numero)
            return std::nullopt;
        return FragmentoNumero(numero);
    }
    std::string_view buscado;
    std::string digitos;
    if (texto) {
        buscado = *texto;
    } else {
        digitos = DigitosDe(valor);
        buscado = digitos;
    }
    if (cortarAlAncho && buscado.size() > campo.ancho)
        buscado = buscado.substr(0, campo.ancho);
    return FragmentoTexto(QuitarBlancosFinales(buscado));
}

} // namespace durlavex
