// Reading index files: the tag list and a walk of one tag's tree. Both dBase
// IV (32-byte tag entries) and level 7 (43-byte) layouts; every offset comes
// from the file and is checked before use.

#include "platform/dbf/indice_mdx.h"

#include "platform/comillas.h"
#include "platform/dbf/cursor_bytes.h"
#include "platform/error.h"
#include "platform/texto.h"

#include <algorithm>
#include <unordered_set>

namespace durlavex::dbf {
namespace {

constexpr std::size_t kPagina = 512;
constexpr std::size_t kHuecosEtiqueta = 48;

[[noreturn]] void Invalido(const std::string& nombre, const std::string& regla)
{
    throw Error("El índice " + Entre(nombre) + " no es válido: " + regla);
}

struct Cabecera {
    std::size_t longEntrada = 0;
    std::uint32_t tamanoBloque = 0;
    std::vector<std::pair<EtiquetaMdx, std::uint32_t>> etiquetas; // with the page of the tag header
};

Cabecera LeerCabecera(std::span<const std::uint8_t> bytes, const std::string& nombre)
{
    if (bytes.size() < 2 * kPagina)
        Invalido(nombre, "ocupa " + std::to_string(bytes.size()) + " bytes, menos que su cabecera");
    LectorBytes lector(bytes);
    Cabecera c;
    lector.Posicionar(22);
    c.tamanoBloque = lector.U16();
    lector.Posicionar(26);
    c.longEntrada = lector.U8();
    lector.Posicionar(28);
    const std::uint16_t numEtiquetas = lector.U16();
    if (c.longEntrada < 32)
        Invalido(nombre,
                 "sus entradas de etiqueta miden " + std::to_string(c.longEntrada) + " bytes (al menos 32)");
    if (c.tamanoBloque < kPagina || c.tamanoBloque % kPagina != 0)
        Invalido(nombre, "sus bloques miden " + std::to_string(c.tamanoBloque) + " bytes");
    if (numEtiquetas > kHuecosEtiqueta)
        Invalido(nombre, "dice tener " + std::to_string(numEtiquetas) + " etiquetas (como mucho 48)");
    const bool nivel7 = c.longEntrada > 32;
    for (std::size_t i = 0; i < numEtiquetas; ++i) {
        lector.Posicionar(kPagina + c.longEntrada * (i + 1));
        const std::uint32_t pagina = lector.U32();
        EtiquetaMdx etiqueta;
        etiqueta.nombre = lector.TextoFijo(nivel7 ? 33 : 11);
        lector.Saltar(5); // key format, the three links of the name tree, 0x02
        etiqueta.tipoClave = static_cast<char>(lector.U8());
        const std::uint64_t inicioCabecera = std::uint64_t{pagina} * kPagina;
        if (!lector.Ok() || inicioCabecera + kPagina > bytes.size())
            Invalido(nombre, "la etiqueta " + std::to_string(i + 1) + " queda fuera del archivo");
        LectorBytes cabecera(bytes.subspan(static_cast<std::size_t>(inicioCabecera), kPagina));
        cabecera.Posicionar(8);
        const std::uint8_t formato = cabecera.U8();
        etiqueta.descendente = (formato & 0x08) != 0;
        cabecera.Posicionar(23);
        etiqueta.unico = cabecera.U8() != 0;
        etiqueta.expresion = std::string(Recortar(cabecera.TextoFijo(220)));
        c.etiquetas.emplace_back(std::move(etiqueta), pagina);
    }
    return c;
}

} // namespace

std::vector<EtiquetaMdx> LeerEtiquetasMdx(std::span<const std::uint8_t> bytes, const std::string& nombre)
{
    std::vector<EtiquetaMdx> etiquetas;
    for (auto& [etiqueta, pagina] : LeerCabecera(bytes, nombre).etiquetas)
        etiquetas.push_back(std::move(etiqueta));
    return etiquetas;
}

std::vector<std::uint32_t> RecorrerEtiquetaMdx(std::span<const std::uint8_t> bytes, std::string_view etiqueta,
                                               const std::string& nombre)
{
    const Cabecera cabecera = LeerCabecera(bytes, nombre);
    const auto encontrada =
        std::find_if(cabecera.etiquetas.begin(), cabecera.etiquetas.end(), [&](const auto& e) {
            return MayusculasAscii(e.first.nombre) == MayusculasAscii(etiqueta);
        });
    if (encontrada == cabecera.etiquetas.end())
        Invalido(nombre, "no tiene la etiqueta " + EntreAnsi(etiqueta));

    LectorBytes cabeceraEtiqueta(bytes.subspan(std::size_t{encontrada->second} * kPagina, kPagina));
    const std::uint32_t raiz = cabeceraEtiqueta.U32();
    cabeceraEtiqueta.Posicionar(18);
    const std::uint16_t longEntrada = cabeceraEtiqueta.U16();
    if (longEntrada < 4)
        Invalido(nombre, "las entradas de la etiqueta " + EntreAnsi(etiqueta) + " miden menos de 4 bytes");

    std::vector<std::uint32_t> registros;
    std::unordered_set<std::uint32_t> visitados;
    // Depth-first, each node once: a cycle or a shared node is a broken file.
    auto visitar = [&](auto&& self, std::uint32_t pagina, int profundidad) -> void {
        const std::uint64_t inicio = std::uint64_t{pagina} * kPagina;
        if (profundidad > 64 || !visitados.insert(pagina).second ||
            inicio + cabecera.tamanoBloque > bytes.size())
            Invalido(nombre, "el árbol de la etiqueta " + EntreAnsi(etiqueta) + " lleva a la página " +
                                 std::to_string(pagina) + ", que no es un nodo válido");
        LectorBytes nodo(bytes.subspan(static_cast<std::size_t>(inicio), cabecera.tamanoBloque));
        const std::uint32_t n = nodo.U32();
        if (8 + std::uint64_t{n} * longEntrada + 4 > cabecera.tamanoBloque)
            Invalido(nombre, "el nodo de la página " + std::to_string(pagina) + " dice tener " +
                                 std::to_string(n) + " claves, que no caben en un bloque");
        nodo.Posicionar(8 + std::size_t{n} * longEntrada);
        const std::uint32_t ultimo = nodo.U32();
        for (std::uint32_t i = 0; i < n; ++i) {
            nodo.Posicionar(8 + std::size_t{i} * longEntrada);
            const std::uint32_t puntero = nodo.U32();
            if (ultimo == 0)
                registros.push_back(puntero);
            else
                self(self, puntero, profundidad + 1);
        }
        if (ultimo != 0)
            self(self, ultimo, profundidad + 1);
    };
    visitar(visitar, raiz, 0);
    return registros;
}

} // namespace durlavex::dbf
