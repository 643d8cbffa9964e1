#include "platform/dbf/indice_mdx.h"

#include "platform/dbf/cursor_bytes.h"
#include "platform/texto.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <stdexcept>

namespace durlavex::dbf {
namespace {

constexpr std::size_t kPagina = 512;
constexpr std::size_t kBloque = 1024;
constexpr std::uint32_t kPaginasPorBloque = kBloque / kPagina;
constexpr std::size_t kEntradaEtiqueta = 43; // level 7 tag entry
constexpr std::size_t kHuecosEtiqueta = 48;
constexpr std::size_t kLongClave = 12;
constexpr std::size_t kEntradaClave = 4 + kLongClave;                 // record or page, then key
constexpr std::size_t kClavesPorNodo = (kBloque - 8) / kEntradaClave; // 63
constexpr std::uint8_t kFormatoCampo = 0x10;                          // the key is a field
constexpr std::uint8_t kVersionNivel7 = 3;
constexpr std::uint8_t kIdIdiomaEspanolAnsi = 0x59; // DBWINES0
constexpr std::size_t kNombreTablaMax = 8;          // the BDE keeps 8 characters

// The header area: 512 bytes, then the tag table, rounded up to whole blocks.
constexpr std::uint32_t kPaginasCabecera =
    static_cast<std::uint32_t>((kPagina + kHuecosEtiqueta * kEntradaEtiqueta + kBloque - 1) / kBloque) *
    kPaginasPorBloque;

using Clave = std::array<std::uint8_t, kLongClave>;

// The file grows block by block; every write lands in bytes that exist.
class ArchivoMdx {
  public:
    ArchivoMdx() : bytes_(kPaginasCabecera * kPagina, 0) {}

    std::uint32_t NuevoBloque()
    {
        const auto pagina = static_cast<std::uint32_t>(bytes_.size() / kPagina);
        bytes_.resize(bytes_.size() + kBloque, 0);
        return pagina;
    }
    std::uint32_t Paginas() const { return static_cast<std::uint32_t>(bytes_.size() / kPagina); }

    void U8(std::size_t pos, std::uint8_t v) { bytes_.at(pos) = v; }
    void U16(std::size_t pos, std::uint16_t v) { EscribirLE(Zona(pos, 2), v); }
    void U32(std::size_t pos, std::uint32_t v) { EscribirLE(Zona(pos, 4), v); }
    void Texto(std::size_t pos, std::string_view t, std::size_t max)
    {
        for (std::size_t i = 0; i < t.size() && i < max; ++i)
            U8(pos + i, static_cast<std::uint8_t>(t[i]));
    }
    void Bytes(std::size_t pos, const Clave& c)
    {
        for (std::size_t i = 0; i < c.size(); ++i)
            U8(pos + i, c[i]);
    }
    void Fecha(std::size_t pos, const durlavex::dbf::Fecha& f)
    {
        U8(pos, static_cast<std::uint8_t>(std::clamp(f.anio - 1900, 0, 255)));
        U8(pos + 1, static_cast<std::uint8_t>(f.mes));
        U8(pos + 2, static_cast<std::uint8_t>(f.dia));
    }
    std::vector<std::uint8_t> Tomar() { return std::move(bytes_); }

  private:
    // The n bytes at pos, which must already exist (as at() checks one byte).
    std::span<std::uint8_t> Zona(std::size_t pos, std::size_t n)
    {
        if (pos > bytes_.size() || n > bytes_.size() - pos)
            throw std::out_of_range("Escritura fuera del índice .MDX en construcción");
        return std::span<std::uint8_t>(bytes_).subspan(pos, n);
    }

    std::vector<std::uint8_t> bytes_;
};

struct Nodo {
    std::uint32_t pagina = 0;
    Clave mayor{}; // the greatest key of the subtree
};

// Splits n items into the fewest groups of at most `maximo`, as even as possible.
std::vector<std::size_t> Repartir(std::size_t n, std::size_t maximo)
{
    const std::size_t grupos = std::max<std::size_t>(1, (n + maximo - 1) / maximo);
    std::vector<std::size_t> tamanos(grupos, n / grupos);
    for (std::size_t i = 0; i < n % grupos; ++i)
        ++tamanos[i];
    return tamanos;
}

struct Arbol {
    std::uint32_t raiz = 0;
    std::uint32_t primeraHoja = 0;
    std::uint32_t ultimaHoja = 0;
    std::uint32_t nodos = 0;
};

Arbol EscribirArbol(ArchivoMdx& mdx, const EtiquetaNueva& etiqueta)
{
    Arbol arbol;
    std::vector<Nodo> nivel;
    std::size_t siguiente = 0;
    for (const std::size_t cuantas : Repartir(etiqueta.entradas.size(), kClavesPorNodo)) {
        Nodo hoja{mdx.NuevoBloque(), {}};
        const std::size_t base = std::size_t{hoja.pagina} * kPagina;
        mdx.U32(base, static_cast<std::uint32_t>(cuantas));
        for (std::size_t i = 0; i < cuantas; ++i, ++siguiente) {
            const EntradaIndice& e = etiqueta.entradas[siguiente];
            hoja.mayor = e.bcd;
            mdx.U32(base + 8 + i * kEntradaClave, e.registro);
            mdx.Bytes(base + 8 + i * kEntradaClave + 4, hoja.mayor);
        }
        // the pointer after the last entry stays 0: this node is a leaf
        nivel.push_back(hoja);
    }
    arbol.primeraHoja = nivel.front().pagina;
    arbol.ultimaHoja = nivel.back().pagina;
    arbol.nodos = static_cast<std::uint32_t>(nivel.size());

    // Inner nodes: every child but the last has an entry with its greatest
    // key; the last child is the pointer after the entries.
    while (nivel.size() > 1) {
        std::vector<Nodo> superior;
        std::size_t hijo = 0;
        for (const std::size_t cuantos : Repartir(nivel.size(), kClavesPorNodo)) {
            Nodo nodo{mdx.NuevoBloque(), {}};
            const std::size_t base = std::size_t{nodo.pagina} * kPagina;
            mdx.U32(base, static_cast<std::uint32_t>(cuantos - 1));
            for (std::size_t i = 0; i + 1 < cuantos; ++i, ++hijo) {
                mdx.U32(base + 8 + i * kEntradaClave, nivel[hijo].pagina);
                mdx.Bytes(base + 8 + i * kEntradaClave + 4, nivel[hijo].mayor);
            }
            mdx.U32(base + 8 + (cuantos - 1) * kEntradaClave, nivel[hijo].pagina);
            nodo.mayor = nivel[hijo].mayor;
            ++hijo;
            superior.push_back(nodo);
        }
        arbol.nodos += static_cast<std::uint32_t>(superior.size());
        nivel = std::move(superior);
    }
    arbol.raiz = nivel.front().pagina;
    return arbol;
}

void EscribirCabeceraEtiqueta(ArchivoMdx& mdx, std::uint32_t pagina, const EtiquetaNueva& etiqueta,
                              const Arbol& arbol, const Fecha& fecha)
{
    const std::size_t base = std::size_t{pagina} * kPagina;
    mdx.U32(base + 0, arbol.raiz);
    mdx.U32(base + 4, arbol.nodos * kPaginasPorBloque);
    mdx.U8(base + 8, kFormatoCampo); // ascending, not unique
    mdx.U8(base + 9, 'N');
    mdx.U16(base + 12, kLongClave);
    mdx.U16(base + 14, kClavesPorNodo);
    mdx.U16(base + 16, 0); // secondary key type of numeric keys
    mdx.U16(base + 18, kEntradaClave);
    mdx.U8(base + 20, 4); // first version of a level 7 tag
    mdx.U8(base + 23, 0); // not unique
    mdx.Texto(base + 24, etiqueta.campo, 219);
    mdx.U8(base + 246, 1); // the tag has keys
    mdx.U32(base + 248, arbol.primeraHoja);
    mdx.U32(base + 252, arbol.ultimaHoja);
    mdx.Fecha(base + 257, fecha);
}

// The tag table threads its entries into a binary search tree of names
// (left, right, parent: 1-based slots, 0 for none).
struct Enlaces {
    std::uint8_t izquierda = 0, derecha = 0, padre = 0;
};

std::vector<Enlaces> ArbolDeNombres(const std::vector<EtiquetaNueva>& etiquetas)
{
    std::vector<Enlaces> enlaces(etiquetas.size());
    for (std::size_t i = 1; i < etiquetas.size(); ++i) {
        std::size_t actual = 0;
        for (;;) {
            const bool menor =
                MayusculasAscii(etiquetas[i].nombre) < MayusculasAscii(etiquetas[actual].nombre);
            std::uint8_t& hijo = menor ? enlaces[actual].izquierda : enlaces[actual].derecha;
            if (hijo == 0) {
                hijo = static_cast<std::uint8_t>(i + 1);
                enlaces[i].padre = static_cast<std::uint8_t>(actual + 1);
                break;
            }
            actual = hijo - 1u;
        }
    }
    return enlaces;
}

} // namespace

std::array<std::uint8_t, 12> ClaveBcd(double valor, int anchoCampo, int decimales)
{
    Clave clave{};
    char texto[400];
    const bool negativo = valor < 0;
    const int n = std::isfinite(valor) ? std::snprintf(texto, sizeof texto, "%.*f",
                                                       std::clamp(decimales, 0, 18), std::fabs(valor))
                                       : -1;
    std::string_view t =
        n > 0 && static_cast<std::size_t>(n) < sizeof texto ? std::string_view(texto, n) : "0";
    const auto punto = t.find('.');
    std::string_view entera = t.substr(0, punto);
    std::string_view fraccion = punto == std::string_view::npos ? std::string_view() : t.substr(punto + 1);
    while (!entera.empty() && entera.front() == '0')
        entera.remove_prefix(1);
    std::string digitos(entera);
    int exponente = static_cast<int>(entera.size());
    if (entera.empty()) {
        const auto primero = fraccion.find_first_not_of('0');
        exponente = primero == std::string_view::npos ? 0 : -static_cast<int>(primero);
        fraccion.remove_prefix(primero == std::string_view::npos ? fraccion.size() : primero);
    }
    digitos += fraccion;
    digitos.resize(std::min<std::size_t>(digitos.size(), 20));
    const bool cero = digitos.find_first_not_of('0') == std::string::npos;

    clave[0] = static_cast<std::uint8_t>(std::clamp(0x34 + (cero ? 0 : exponente), 0, 255));
    clave[1] = static_cast<std::uint8_t>(((anchoCampo & 0x1F) << 2) | 1 | (negativo && !cero ? 0x80 : 0));
    for (std::size_t i = 0; i < digitos.size() && !cero; ++i) {
        const auto d = static_cast<std::uint8_t>(digitos[i] - '0');
        clave[2 + i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? d << 4 : d);
    }
    return clave;
}

std::vector<std::uint8_t> ConstruirMdx(const std::string& nombreTabla,
                                       const std::vector<EtiquetaNueva>& etiquetas, const Fecha& fecha)
{
    ArchivoMdx mdx;
    const auto enlaces = ArbolDeNombres(etiquetas);
    for (std::size_t i = 0; i < etiquetas.size(); ++i) {
        const std::uint32_t paginaCabecera = mdx.NuevoBloque();
        const Arbol arbol = EscribirArbol(mdx, etiquetas[i]);
        EscribirCabeceraEtiqueta(mdx, paginaCabecera, etiquetas[i], arbol, fecha);

        const std::size_t entrada = kPagina + kEntradaEtiqueta * (i + 1);
        mdx.U32(entrada, paginaCabecera);
        mdx.Texto(entrada + 4, MayusculasAscii(etiquetas[i].nombre), 32);
        mdx.U8(entrada + 37, kFormatoCampo);
        mdx.U8(entrada + 38, enlaces[i].izquierda);
        mdx.U8(entrada + 39, enlaces[i].derecha);
        mdx.U8(entrada + 40, enlaces[i].padre);
        mdx.U8(entrada + 41, 0x02);
        mdx.U8(entrada + 42, 'N');
    }
    mdx.U8(0, kVersionNivel7);
    mdx.Fecha(1, fecha);
    mdx.Texto(4, MayusculasAscii(nombreTabla), kNombreTablaMax);
    mdx.U16(20, kPaginasPorBloque);
    mdx.U16(22, kBloque);
    mdx.U8(24, 1); // production index
    mdx.U8(25, kHuecosEtiqueta);
    mdx.U8(26, kEntradaEtiqueta);
    mdx.U16(28, static_cast<std::uint16_t>(etiquetas.size()));
    mdx.U8(31, kIdIdiomaEspanolAnsi);
    mdx.U32(32, mdx.Paginas());
    mdx.Fecha(44, fecha);
    mdx.U8(529, 0x01);
    return mdx.Tomar();
}

} // namespace durlavex::dbf
