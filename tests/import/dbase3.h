#pragma once
// A tiny dBase III writer: SOLUC.DBF as Talvorin writes it, with 32-byte
// field descriptors, N fields right-aligned and C fields padded with blanks.
// The store only reads such tables, so tests write them themselves.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace durlavex::pruebas {

struct CampoDbase3 {
    std::string nombre; // at most 10 characters
    char tipo;          // 'C' or 'N'
    std::uint8_t ancho;
};

// Rows hold one single-byte text per field, in field order.
inline void EscribirDbase3(const std::filesystem::path& ruta, const std::vector<CampoDbase3>& campos,
                           const std::vector<std::vector<std::string>>& filas)
{
    auto le16 = [](std::string& s, std::uint16_t v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>(v >> 8);
    };
    auto le32 = [&](std::string& s, std::uint32_t v) {
        le16(s, static_cast<std::uint16_t>(v & 0xFFFF));
        le16(s, static_cast<std::uint16_t>(v >> 16));
    };
    std::uint16_t largoRegistro = 1;
    for (const auto& c : campos)
        largoRegistro = static_cast<std::uint16_t>(largoRegistro + c.ancho);

    std::string bytes;
    bytes += '\x03';         // dBase III without memo
    bytes += "\x7C\x03\x05"; // last update 2024-03-05
    le32(bytes, static_cast<std::uint32_t>(filas.size()));
    le16(bytes, static_cast<std::uint16_t>(32 + 32 * campos.size() + 1));
    le16(bytes, largoRegistro);
    bytes.append(20, '\0');
    for (const auto& c : campos) {
        std::string descriptor(32, '\0');
        descriptor.replace(0, c.nombre.size(), c.nombre);
        descriptor[11] = c.tipo;
        descriptor[16] = static_cast<char>(c.ancho);
        bytes += descriptor;
    }
    bytes += '\x0D';
    for (const auto& fila : filas) {
        if (fila.size() != campos.size())
            throw std::logic_error("fila de dBase III con un número de campos distinto");
        bytes += ' ';
        for (std::size_t i = 0; i < campos.size(); ++i) {
            const std::string valor = fila[i].substr(0, campos[i].ancho);
            const std::string relleno(campos[i].ancho - valor.size(), ' ');
            bytes += campos[i].tipo == 'N' ? relleno + valor : valor + relleno;
        }
    }
    bytes += '\x1A';
    std::ofstream(ruta, std::ios::binary) << bytes;
}

} // namespace durlavex::pruebas
