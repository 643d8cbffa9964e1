#pragma once
// Field values: from the bytes of a field to text, number or logical, and back.
//
// The same letter means different things in dBase and FoxPro (I is big-endian
// with the sign bit flipped in level 7, little-endian in FoxPro; B is a memo
// block number in dBase, a double in Visual FoxPro), so every conversion takes
// the table's format.

#include "platform/dbf/archivo_dbf.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace durlavex::dbf {

// Names for the error texts of a conversion: the table and the row (0-based;
// none while a record is being prepared).
struct Contexto {
    const std::string& tabla;
    std::optional<std::size_t> fila;
};

// The field's bytes as text, as ArchivoDbf::Texto describes.
std::string TextoDeCampo(const Campo& campo, Version version, std::span<const std::uint8_t> bytes);

// The field's value as a number; nothing when blank; Error when the stored
// text is not a number.
std::optional<double> NumeroDeCampo(const Campo& campo, Version version, std::span<const std::uint8_t> bytes,
                                    const Contexto& contexto);

// The bytes of a field that was never set: blanks for text-like kinds, zeros
// (null) for the binary ones.
void VaciarCampo(const Campo& campo, Version version, std::span<std::uint8_t> destino);

// Writing into the field's bytes. Text kinds are cut to the width; numbers
// that do not fit are an Error naming the field and the table.
void EscribirTexto(const Campo& campo, Version version, std::span<std::uint8_t> destino,
                   std::string_view valor, const Contexto& contexto);
void EscribirNumero(const Campo& campo, Version version, std::span<std::uint8_t> destino, double valor,
                    const Contexto& contexto);
void EscribirLogico(const Campo& campo, std::span<std::uint8_t> destino, bool valor,
                    const Contexto& contexto);

// The shortest decimal text that reads back as the same double.
std::string TextoDeDouble(double valor);

// A number in fixed notation with that many decimals, as a numeric field
// holds it ("-0" written as "0"); nothing when it cannot be written.
std::optional<std::string> TextoFijo(double valor, int decimales);

} // namespace durlavex::dbf
