#include "export/codigos.h"

#include <string>

#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/texto.h"

namespace durlavex {

namespace {

constexpr std::size_t kAnchoCodigo = 10;
constexpr std::size_t kAnchoBase = 9;

// The form a counted code takes in a ten-character field: a code that grew
// past ten keeps its first 8 characters and its last 2 (the counter's last
// two digits).
std::string Acortado(std::string codigo)
{
    if (codigo.size() > kAnchoCodigo)
        codigo = codigo.substr(0, 8) + codigo.substr(codigo.size() - 2);
    return codigo;
}

// What the table will hold for a code, and what the list is tested with.
std::string FormaGuardada(std::string_view codigo, FormaCodigo forma)
{
    std::string guardado = forma == FormaCodigo::Cortar ? std::string(codigo.substr(0, kAnchoCodigo))
                                                        : Acortado(std::string(codigo));
    return std::string(QuitarBlancosFinales(guardado));
}

// The first count past which base + n only repeats forms already tried: once
// base + n is longer than ten characters the stored form keeps only n's last
// two digits, so a hundred counts later every form has come round.
std::uint64_t LimiteContador(std::size_t largoBase)
{
    std::uint64_t primeroAcortado = 1;
    for (std::size_t i = largoBase; i < kAnchoCodigo; ++i)
        primeroAcortado *= 10;
    return primeroAcortado + 100;
}

} // namespace

std::string TextoGuardado(std::string_view texto, std::size_t ancho)
{
    return std::string(QuitarBlancosFinales(texto.substr(0, ancho)));
}

std::string GenerarCodigoCorto(std::string_view candidato, ConjuntoTextos& lista,
                               ContadoresCodigo& contadores, FormaCodigo forma)
{
    // Agregar tells whether the code was free: one collation key per try.
    std::string codigo = FormaGuardada(candidato, forma);
    if (lista.Agregar(codigo))
        return codigo;

    const std::string base(candidato.substr(0, kAnchoBase));
    const std::uint64_t limite = LimiteContador(base.size());
    std::uint64_t& n = contadores.siguiente.try_emplace(base, 1).first->second;
    for (; n < limite; ++n) {
        codigo = FormaGuardada(Acortado(base + std::to_string(n)), FormaCodigo::Acortar);
        if (lista.Agregar(codigo)) {
            ++n;
            return codigo;
        }
    }
    throw Error("No queda ningún código libre para " + EntreAnsi(candidato) +
                ": ya se han dado todos los de diez caracteres que se forman con " + EntreAnsi(base) +
                " y un número.");
}

std::string GenerarCodigoCorto(std::string_view candidato, ConjuntoTextos& lista, FormaCodigo forma)
{
    ContadoresCodigo contadores;
    return GenerarCodigoCorto(candidato, lista, contadores, forma);
}

} // namespace durlavex
