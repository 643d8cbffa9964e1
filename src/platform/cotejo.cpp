#include "platform/cotejo.h"

#include "platform/error.h"
#include "platform/texto.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#endif

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace durlavex {

namespace {

#ifdef _WIN32

// Windows' own collation, as the system this program replaces compared:
// CompareString in the user's locale, flags 0 for "case-sensitive",
// NORM_IGNORECASE for "without regard to letter case". Its sort keys
// (LCMapString with LCMAP_SORTKEY and the same flags) are equal exactly when
// the comparison says equal.
DWORD Banderas(Caso caso)
{
    return caso == Caso::Distingue ? 0 : NORM_IGNORECASE;
}

[[noreturn]] void FalloCotejo()
{
    throw Error("No se pudieron comparar dos textos (error " + std::to_string(GetLastError()) +
                " del sistema)");
}

int Comparar(Caso caso, std::string_view a, std::string_view b)
{
    const std::wstring anchoA = AnsiAAnchos(a);
    const std::wstring anchoB = AnsiAAnchos(b);
    const int resultado = CompareStringEx(LOCALE_NAME_USER_DEFAULT, Banderas(caso), anchoA.data(),
                                          static_cast<int>(anchoA.size()), anchoB.data(),
                                          static_cast<int>(anchoB.size()), nullptr, nullptr, 0);
    if (resultado == 0)
        FalloCotejo();
    return resultado == CSTR_LESS_THAN ? -1 : resultado == CSTR_GREATER_THAN ? 1 : 0;
}

std::string ClaveCotejo(Caso caso, std::string_view ansi)
{
    const std::wstring texto = AnsiAAnchos(ansi);
    // A length of 0 is refused; the empty text is given as a terminated one.
    const int largoTexto = texto.empty() ? -1 : static_cast<int>(texto.size());
    const DWORD banderas = LCMAP_SORTKEY | Banderas(caso);
    const int largo = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, banderas, texto.c_str(), largoTexto, nullptr, 0,
                                    nullptr, nullptr, 0);
    if (largo <= 0)
        FalloCotejo();
    std::string clave(static_cast<std::size_t>(largo), '\0');
    // With LCMAP_SORTKEY the destination is a byte array, its size in bytes.
    if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, banderas, texto.c_str(), largoTexto,
                      reinterpret_cast<LPWSTR>(clave.data()), largo, nullptr, nullptr, 0) <= 0)
        FalloCotejo();
    return clave;
}

#else

std::unique_ptr<icu::Collator> CrearCotejo(icu::Collator::ECollationStrength fuerza)
{
    UErrorCode estado = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> cotejo(icu::Collator::createInstance(icu::Locale("es"), estado));
    if (U_SUCCESS(estado)) {
        cotejo->setStrength(fuerza);
        cotejo->setAttribute(UCOL_NORMALIZATION_MODE, UCOL_ON, estado);
        cotejo->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, estado);
    }
    if (U_FAILURE(estado))
        throw Error("No se pudo preparar la comparación de textos en español (ICU: " +
                    std::string(u_errorName(estado)) + ")");
    return cotejo;
}

// One collator per strength, made once and only read afterwards (ICU allows
// concurrent comparisons and key computations on a collator that is not
// modified).
const icu::Collator& Cotejo(Caso caso)
{
    if (caso == Caso::Distingue) {
        static const auto terciario = CrearCotejo(icu::Collator::TERTIARY);
        return *terciario;
    }
    static const auto secundario = CrearCotejo(icu::Collator::SECONDARY);
    return *secundario;
}

icu::UnicodeString AUnicode(std::string_view ansi)
{
    return icu::UnicodeString::fromUTF8(AnsiAUtf8(VistaAnsi(ansi)));
}

int Comparar(Caso caso, std::string_view a, std::string_view b)
{
    UErrorCode estado = U_ZERO_ERROR;
    const UCollationResult resultado = Cotejo(caso).compare(AUnicode(a), AUnicode(b), estado);
    return resultado == UCOL_LESS ? -1 : resultado == UCOL_GREATER ? 1 : 0;
}

// The collation sort key: two texts are equal for the collator exactly when
// their keys are equal byte for byte.
std::string ClaveCotejo(Caso caso, std::string_view ansi)
{
    const icu::Collator& cotejo = Cotejo(caso);
    const icu::UnicodeString texto = AUnicode(ansi);
    std::string clave(texto.length() * 4 + 16, '\0');
    auto pedir = [&] {
        return cotejo.getSortKey(texto, reinterpret_cast<std::uint8_t*>(clave.data()),
                                 static_cast<std::int32_t>(clave.size()));
    };
    std::int32_t largo = pedir();
    if (largo > static_cast<std::int32_t>(clave.size())) {
        clave.resize(static_cast<std::size_t>(largo));
        largo = pedir();
    }
    clave.resize(static_cast<std::size_t>(largo));
    return clave;
}

#endif

} // namespace

int CompararTextos(std::string_view a, std::string_view b, Caso caso)
{
    return Comparar(caso, a, b);
}

bool TextosIguales(std::string_view a, std::string_view b, Caso caso)
{
    return CompararTextos(a, b, caso) == 0;
}

// Texts looked up as they are, without a copy.
struct HashTexto {
    using is_transparent = void;
    std::size_t operator()(std::string_view texto) const { return std::hash<std::string_view>{}(texto); }
};

struct ConjuntoTextos::Datos {
    Caso caso;
    std::unordered_set<std::string> claves;
    // The key of every text met: names and codes recur from record to record,
    // and a lookup costs far less than the collator.
    std::unordered_map<std::string, std::string, HashTexto, std::equal_to<>> recordadas;

    const std::string& Clave(std::string_view texto)
    {
        if (const auto it = recordadas.find(texto); it != recordadas.end())
            return it->second;
        return recordadas.emplace(std::string(texto), ClaveCotejo(caso, texto)).first->second;
    }
};

ConjuntoTextos::ConjuntoTextos(Caso caso) : datos_(std::make_unique<Datos>(Datos{caso, {}, {}})) {}

ConjuntoTextos::~ConjuntoTextos() = default;
ConjuntoTextos::ConjuntoTextos(ConjuntoTextos&&) noexcept = default;
ConjuntoTextos& ConjuntoTextos::operator=(ConjuntoTextos&&) noexcept = default;

bool ConjuntoTextos::Contiene(std::string_view texto) const
{
    return datos_->claves.count(datos_->Clave(texto)) != 0;
}

bool ConjuntoTextos::Agregar(std::string_view texto)
{
    return datos_->claves.insert(datos_->Clave(texto)).second;
}

void ConjuntoTextos::Vaciar()
{
    datos_->claves.clear();
}

std::size_t ConjuntoTextos::Tamano() const
{
    return datos_->claves.size();
}

} // namespace durlavex
