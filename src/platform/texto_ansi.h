#pragma once
// Single-byte text in the ANSI code page: what the tables hold. A type of its
// own so that it is never taken for UTF-8 (the exchange file, messages) nor
// UTF-8 for it; AnsiAUtf8 and Utf8AAnsi (platform/texto.h) are the way
// between the two.

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace durlavex {

class TextoAnsi {
  public:
    TextoAnsi() = default;
    explicit TextoAnsi(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit TextoAnsi(std::string_view bytes) : bytes_(bytes) {}
    explicit TextoAnsi(const char* bytes) : bytes_(bytes) {}

    const std::string& Bytes() const& { return bytes_; }
    // From a temporary the bytes move out: no copy.
    std::string Bytes() && { return std::move(bytes_); }
    bool Vacio() const { return bytes_.empty(); }

    friend bool operator==(const TextoAnsi&, const TextoAnsi&) = default;
    friend std::strong_ordering operator<=>(const TextoAnsi&, const TextoAnsi&) = default;
    // A literal in the program's source is ASCII, the same bytes in both.
    template <std::size_t N> friend bool operator==(const TextoAnsi& texto, const char (&literal)[N])
    {
        return texto.bytes_ == std::string_view(literal, N - 1);
    }

  private:
    std::string bytes_;
};

// Single-byte text held elsewhere, for the time of a call: what a field is
// set from. It copies nothing.
class VistaAnsi {
  public:
    VistaAnsi(const TextoAnsi& texto) : bytes_(texto.Bytes()) {}
    explicit VistaAnsi(std::string_view bytes) : bytes_(bytes) {}
    // A literal in the program's source is ASCII, the same bytes in both.
    template <std::size_t N> VistaAnsi(const char (&literal)[N]) : bytes_(literal, N - 1) {}

    std::string_view Bytes() const { return bytes_; }

  private:
    std::string_view bytes_;
};

} // namespace durlavex
