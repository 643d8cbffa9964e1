#include "tables/mascara.h"

#include <vector>

namespace durlavex {

namespace {

struct Elemento {
    char caracter; // '#' is any decimal digit
    bool repetido; // zero or more times
};

std::vector<Elemento> Elementos(std::string_view mascara)
{
    std::vector<Elemento> elementos;
    bool repetir = false;
    for (char c : mascara) {
        if (c == '*') {
            repetir = true;
            continue;
        }
        elementos.push_back({c, repetir});
        repetir = false;
    }
    return elementos; // a "*" with nothing after it repeats nothing
}

bool Admite(const Elemento& e, char c)
{
    return e.caracter == '#' ? (c >= '0' && c <= '9') : c == e.caracter;
}

} // namespace

bool CumpleMascara(std::string_view valor, std::string_view mascara)
{
    // alcanzable[i]: the first i characters of the value fit the elements seen
    // so far. One pass per element keeps the check linear in the value, however
    // the repetitions are placed.
    const std::vector<Elemento> elementos = Elementos(mascara);
    std::vector<bool> alcanzable(valor.size() + 1, false);
    alcanzable[0] = true;
    for (const Elemento& e : elementos) {
        std::vector<bool> siguiente(valor.size() + 1, false);
        for (std::size_t i = 0; i <= valor.size(); ++i) {
            if (e.repetido) {
                siguiente[i] = alcanzable[i] || (i > 0 && siguiente[i - 1] && Admite(e, valor[i - 1]));
            } else {
                siguiente[i] = i > 0 && alcanzable[i - 1] && Admite(e, valor[i - 1]);
            }
        }
        alcanzable.swap(siguiente);
    }
    return alcanzable[valor.size()];
}

bool EsFechaDelCalendario(std::string_view valor)
{
    if (!CumpleMascara(valor, "##/##/####"))
        return false;
    const auto numero = [valor](std::size_t desde, std::size_t cifras) {
        int n = 0;
        for (std::size_t i = desde; i < desde + cifras; ++i)
            n = n * 10 + (valor[i] - '0');
        return n;
    };
    const int dia = numero(0, 2), mes = numero(3, 2), anno = numero(6, 4);
    if (anno < 1 || mes < 1 || mes > 12 || dia < 1)
        return false;
    const bool bisiesto = (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
    constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return dia <= kDias[mes - 1] + (mes == 2 && bisiesto ? 1 : 0);
}

} // namespace durlavex
