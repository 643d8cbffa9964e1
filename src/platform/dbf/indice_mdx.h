#pragma once
// The production index file (.MDX) of a table, in the dBase level 7 layout:
// 512-byte pages, 1024-byte blocks, 43-byte tag entries, numeric tags with
// 12-byte BCD keys. The file is always written whole from the sorted keys, as
// a B+-tree whose leaves are full from the left; equal keys stand in record
// order.

#include "platform/dbf/estructura.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace durlavex::dbf {

// One key of a numeric tag, with its bytes in the file; `registro` counts
// from 1, as in the file.
struct EntradaIndice {
    double clave = 0;
    std::uint32_t registro = 0;
    std::array<std::uint8_t, 12> bcd{};

    friend bool operator<(const EntradaIndice& a, const EntradaIndice& b)
    {
        return a.clave < b.clave || (a.clave == b.clave && a.registro < b.registro);
    }
};

// A tag as listed in an existing index file.
struct EtiquetaMdx {
    std::string nombre;
    std::string expresion; // the key expression: a field name for simple tags
    char tipoClave = 'N';
    bool descendente = false;
    bool unico = false;
};

// Reads the tag list. Error naming the file when it is broken.
std::vector<EtiquetaMdx> LeerEtiquetasMdx(std::span<const std::uint8_t> bytes, const std::string& nombre);

// Record numbers in the order of a tag, found by walking its tree from the
// root (for checking files). Error naming the file when the tree is broken.
std::vector<std::uint32_t> RecorrerEtiquetaMdx(std::span<const std::uint8_t> bytes, std::string_view etiqueta,
                                               const std::string& nombre);

struct EtiquetaNueva {
    std::string nombre;
    std::string campo;
    std::span<const EntradaIndice> entradas; // sorted
};

// The whole index file for a table whose file name without extension is
// `nombreTabla`.
std::vector<std::uint8_t> ConstruirMdx(const std::string& nombreTabla,
                                       const std::vector<EtiquetaNueva>& etiquetas, const Fecha& fecha);

// The 12-byte numeric key of a value in a field of the given width and decimals.
std::array<std::uint8_t, 12> ClaveBcd(double valor, int anchoCampo, int decimales);

} // namespace durlavex::dbf
