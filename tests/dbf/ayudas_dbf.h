#pragma once
// Small helpers shared by the engine's tests: reading a file's bytes, the
// field definitions of the kinds our tables use, and tiny tables built byte
// by byte.

#include "platform/dbf/archivo_dbf.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace durlavex::pruebas {

using Bytes = std::vector<std::uint8_t>;

// The dBase files real programs wrote, in the reference folder beside the project.
inline std::filesystem::path Muestras()
{
    return std::filesystem::path(DURLAVEX_SHARED_DIR) / "data" / "dbase-samples";
}

inline Bytes LeerBytes(const std::filesystem::path& ruta)
{
    std::ifstream f(ruta, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

inline void GuardarBytes(const std::filesystem::path& ruta, const Bytes& bytes)
{
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline dbf::Campo Texto(std::string nombre, std::uint16_t ancho)
{
    return {std::move(nombre), 'C', ancho, 0};
}
inline dbf::Campo Logico(std::string nombre)
{
    return {std::move(nombre), 'L', 1, 0};
}
inline dbf::Campo Entero(std::string nombre)
{
    return {std::move(nombre), 'N', 11, 0};
}
inline dbf::Campo Flotante(std::string nombre)
{
    return {std::move(nombre), 'N', 20, 4};
}

inline std::uint16_t U16(const Bytes& b, std::size_t pos)
{
    return static_cast<std::uint16_t>(b[pos] | (b[pos + 1] << 8));
}
inline std::uint32_t U32(const Bytes& b, std::size_t pos)
{
    return U16(b, pos) | (std::uint32_t{U16(b, pos + 2)} << 16);
}
inline void PonerU16(Bytes& b, std::size_t pos, std::uint16_t v)
{
    b[pos] = static_cast<std::uint8_t>(v);
    b[pos + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline std::string TextoEn(const Bytes& b, std::size_t pos, std::size_t n)
{
    return std::string(b.begin() + pos, b.begin() + pos + n);
}

// One field descriptor in a hand-made file.
struct DescriptorPrueba {
    std::string nombre;
    char tipo;
    std::uint8_t ancho;
    std::uint8_t decimales = 0;
};

// A whole table file built byte by byte: `version` picks the descriptor
// size (48 bytes for level 7, 32 otherwise); records are given as bytes in
// text; `relleno` zero bytes follow the 0x0D inside the header (as Visual
// FoxPro's 263-byte backlink does).
inline Bytes TablaAMano(std::uint8_t version, const std::vector<DescriptorPrueba>& campos,
                        const std::vector<std::string>& registros, std::uint8_t idIdioma = 0,
                        std::size_t relleno = 0)
{
    const bool nivel7 = (version & 7) == 4;
    const std::size_t inicio = nivel7 ? 68 : 32;
    const std::size_t tamDescriptor = nivel7 ? 48 : 32;
    std::size_t longRegistro = 1;
    for (const auto& c : campos)
        longRegistro += c.ancho;
    const std::size_t longCabecera = inicio + tamDescriptor * campos.size() + 1 + relleno;
    Bytes b(longCabecera, 0);
    b[0] = version;
    b[1] = 124;
    b[2] = 5;
    b[3] = 17;
    b[4] = static_cast<std::uint8_t>(registros.size());
    b[8] = static_cast<std::uint8_t>(longCabecera);
    b[9] = static_cast<std::uint8_t>(longCabecera >> 8);
    b[10] = static_cast<std::uint8_t>(longRegistro);
    b[11] = static_cast<std::uint8_t>(longRegistro >> 8);
    b[29] = idIdioma;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        const std::size_t d = inicio + tamDescriptor * i;
        std::copy(campos[i].nombre.begin(), campos[i].nombre.end(),
                  b.begin() + static_cast<std::ptrdiff_t>(d));
        const std::size_t tipo = nivel7 ? 32 : 11;
        b[d + tipo] = static_cast<std::uint8_t>(campos[i].tipo);
        b[d + (nivel7 ? 33 : 16)] = campos[i].ancho;
        b[d + (nivel7 ? 34 : 17)] = campos[i].decimales;
    }
    b[longCabecera - 1 - relleno] = 0x0D;
    for (const auto& r : registros)
        b.insert(b.end(), r.begin(), r.end());
    b.push_back(0x1A);
    return b;
}

} // namespace durlavex::pruebas
