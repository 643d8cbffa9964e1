#pragma once
// The header of a .DBF file: what it says about the table, read from the
// bytes with every structural rule checked, and the level 7 header we write.

#include "platform/dbf/archivo_dbf.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace durlavex::dbf {

// Offsets in the main header.
inline constexpr std::size_t kPosNumRegistros = 4;
inline constexpr std::size_t kPosFecha = 1;
inline constexpr std::size_t kPosIndiceProduccion = 28;
inline constexpr std::uint8_t kFinDeArchivo = 0x1A;

struct Estructura {
    std::uint8_t byteVersion = 0;
    Version version = Version::DBase7;
    std::vector<Campo> campos;
    std::uint16_t longitudCabecera = 0;
    std::uint16_t longitudRegistro = 0;
    std::uint32_t numRegistros = 0;
    bool indiceProduccion = false; // header byte 28 (dBase IV and level 7)
};

// Reads and checks the header of a table. `nombre` names the file in errors.
// Checks: the header fits the file, field descriptors inside the header and
// ended by 0x0D, at least one field, record length = 1 + sum of widths, and
// the record count covered by the bytes after the header.
Estructura LeerEstructura(std::span<const std::uint8_t> bytes, const std::string& nombre);

struct Fecha {
    int anio = 1900;
    int mes = 1;
    int dia = 1;
};
Fecha FechaDeHoy();

// The three date bytes of the header: years since 1900 for dBase, the year
// within its century for FoxPro (as FoxPro itself writes it).
void PonerFechaCabecera(std::span<std::uint8_t> cabecera, Version version, const Fecha& fecha);

// A complete empty level 7 table: header, descriptors, terminator, 0x1A.
// Fields must already be checked (see ComprobarCamposNuevos).
std::vector<std::uint8_t> TablaNivel7Vacia(const std::vector<Campo>& campos,
                                           const std::vector<Indice>& indices, const Fecha& fecha);

// The fields of a new table completed (offsets, index flags) and checked:
// names 1 to 31 characters, unique, kinds C N L with sensible widths.
std::vector<Campo> ComprobarCamposNuevos(const std::vector<Campo>& campos, const std::vector<Indice>& indices,
                                         const std::string& tabla);

} // namespace durlavex::dbf
