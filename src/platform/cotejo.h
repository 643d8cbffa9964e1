#pragma once
// Locale-aware comparison of single-byte texts (Spanish collation).
//
// "Case-sensitive": á differs from Á, García from GARCÍA; "without regard to
// letter case": accented letters fold too (á equals Á) while accents still
// count (á differs from a). On Windows this is the system's own collation
// (CompareStringEx in the user's locale, flags 0 or NORM_IGNORECASE, and its
// sort keys); elsewhere the ICU collator "es" at tertiary and at secondary
// strength, which gives the same equalities (notes/platform.md,
// "Comparisons"). Texts are converted from the ANSI code page to Unicode
// before they are compared.

#include <memory>
#include <string>
#include <string_view>

namespace durlavex {

enum class Caso { Distingue, Ignora };

// Equality through the collator at the strength given.
bool TextosIguales(std::string_view a, std::string_view b, Caso caso);

// Order through the collator: negative, zero or positive.
int CompararTextos(std::string_view a, std::string_view b, Caso caso);

// A set of texts with collator equality: the sorted code lists of the system.
// Membership is what matters, so it is kept as a hash set of collation keys:
// each test and insertion costs one key computation, whatever the size.
class ConjuntoTextos {
  public:
    explicit ConjuntoTextos(Caso caso);
    ~ConjuntoTextos();
    ConjuntoTextos(ConjuntoTextos&&) noexcept;
    ConjuntoTextos& operator=(ConjuntoTextos&&) noexcept;

    bool Contiene(std::string_view texto) const;
    // Adds the text; false when an equal text was already present.
    bool Agregar(std::string_view texto);
    void Vaciar();
    std::size_t Tamano() const;

  private:
    struct Datos;
    std::unique_ptr<Datos> datos_;
};

} // namespace durlavex
