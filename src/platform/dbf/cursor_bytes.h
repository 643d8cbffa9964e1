#pragma once
// Little-endian access to the bytes of a file held in memory, and the dBase
// engine's one place where multi-byte integers become bytes and back.
//
// LectorBytes never reads past its span: a read that would leaves the cursor
// failed, returns zeros and keeps the position of the first failure, so a
// decoder reads a whole structure and checks once. EscritorBytes appends.
// LeerLE/EscribirLE (and the big-endian pair that level 7 numbers use) work
// on a span whose size is the value's width.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace durlavex::dbf {

// The unsigned value of up to eight bytes, least significant first.
inline std::uint64_t LeerLE(std::span<const std::uint8_t> bytes)
{
    std::uint64_t v = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        v = (v << 8) | bytes[i];
    return v;
}

// The unsigned value of up to eight bytes, most significant first.
inline std::uint64_t LeerBE(std::span<const std::uint8_t> bytes)
{
    std::uint64_t v = 0;
    for (const std::uint8_t b : bytes)
        v = (v << 8) | b;
    return v;
}

// `v` over every byte of `destino`, least significant first; higher bytes
// that do not fit are dropped.
inline void EscribirLE(std::span<std::uint8_t> destino, std::uint64_t v)
{
    for (std::size_t i = 0; i < destino.size(); ++i, v >>= 8)
        destino[i] = static_cast<std::uint8_t>(v);
}

// `v` over every byte of `destino`, most significant first.
inline void EscribirBE(std::span<std::uint8_t> destino, std::uint64_t v)
{
    for (std::size_t i = destino.size(); i-- > 0; v >>= 8)
        destino[i] = static_cast<std::uint8_t>(v);
}

class LectorBytes {
  public:
    explicit LectorBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Ok() const { return !fallo_; }
    // Where the first read that did not fit started.
    std::size_t PosicionFallo() const { return posicionFallo_; }
    std::size_t Posicion() const { return posicion_; }
    std::size_t Tamano() const { return bytes_.size(); }
    std::size_t Restantes() const { return bytes_.size() - posicion_; }

    void Posicionar(std::size_t posicion)
    {
        if (posicion > bytes_.size())
            Fallar();
        else
            posicion_ = posicion;
    }
    void Saltar(std::size_t n) { Tomar(n); }

    std::uint8_t U8()
    {
        const auto b = Tomar(1);
        return b.empty() ? 0 : b[0];
    }
    // A failed read takes an empty span, whose value is 0.
    std::uint16_t U16() { return static_cast<std::uint16_t>(LeerLE(Tomar(2))); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(LeerLE(Tomar(4))); }
    // The next n bytes, or an empty span (and the cursor failed) when they are not there.
    std::span<const std::uint8_t> Bytes(std::size_t n) { return Tomar(n); }
    // A fixed-size text area: the bytes before the first NUL.
    std::string TextoFijo(std::size_t n)
    {
        const auto b = Tomar(n);
        std::string texto(b.begin(), b.end());
        texto.resize(texto.find('\0') == std::string::npos ? texto.size() : texto.find('\0'));
        return texto;
    }

  private:
    std::span<const std::uint8_t> Tomar(std::size_t n)
    {
        if (fallo_ || n > bytes_.size() - posicion_) {
            Fallar();
            return {};
        }
        const auto parte = bytes_.subspan(posicion_, n);
        posicion_ += n;
        return parte;
    }
    void Fallar()
    {
        if (!fallo_)
            posicionFallo_ = posicion_;
        fallo_ = true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t posicion_ = 0;
    std::size_t posicionFallo_ = 0;
    bool fallo_ = false;
};

class EscritorBytes {
  public:
    explicit EscritorBytes(std::vector<std::uint8_t>& destino) : destino_(destino) {}

    void U8(std::uint8_t v) { destino_.push_back(v); }
    void U16(std::uint16_t v) { Entero(v, 2); }
    void U32(std::uint32_t v) { Entero(v, 4); }
    void Ceros(std::size_t n) { destino_.insert(destino_.end(), n, 0); }
    // Text in a fixed area of n bytes, cut to n and filled with NULs.
    void TextoFijo(std::string_view texto, std::size_t n)
    {
        const auto usados = texto.size() < n ? texto.size() : n;
        destino_.insert(destino_.end(), texto.begin(), texto.begin() + static_cast<std::ptrdiff_t>(usados));
        Ceros(n - usados);
    }
    void Bytes(std::span<const std::uint8_t> b) { destino_.insert(destino_.end(), b.begin(), b.end()); }
    // Zeros up to an absolute size of the destination.
    void RellenarHasta(std::size_t tamano)
    {
        if (destino_.size() < tamano)
            Ceros(tamano - destino_.size());
    }
    std::size_t Tamano() const { return destino_.size(); }

  private:
    void Entero(std::uint64_t v, std::size_t ancho)
    {
        destino_.resize(destino_.size() + ancho);
        EscribirLE(std::span<std::uint8_t>(destino_).last(ancho), v);
    }

    std::vector<std::uint8_t>& destino_;
};

} // namespace durlavex::dbf
