#pragma once
// Whether Vorna will recognise the keys a lesson record carries to it.
//
// A lesson names a unit, a course, a subject of that course, a time slot, a
// room and an activity by Vorna's keys, and Talvorin can hand back some that
// Vorna does not know: a group or subject created in Talvorin after the
// export, a room that had no code in Vorna (Talvorin's was made from its
// name), an activity typed in Talvorin, a lesson in an hour that is no slot
// of the template. Vorna then rejects the lesson, or leaves it out without a
// word. So every lesson is checked against the keys of the exchange file. An
// empty datum is no problem, except the time slot, which every lesson has,
// and the unit and subject of a class: a lesson of the ordinary teaching
// activity, or of no activity.
//
// The check only reads: the result file stays as it was written.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/claves_vorna.h"

namespace durlavex {

enum class Problema {
    Unidad,          // X_UNIDAD is no unit of Vorna's
    Curso,           // X_OFERTAMATRIG is no course of Vorna's
    Materia,         // X_MATERIAOMG is no subject of the lesson's course
    Tramo,           // X_TRAMO is no time slot of Vorna's
    SinTramo,        // X_TRAMO is empty: the hour is no slot of the template
    Dependencia,     // X_DEPENDENCIA is no room of Vorna's
    Actividad,       // X_ACTIVIDAD is no activity of Vorna's
    ClaseSinUnidad,  // a class without X_UNIDAD
    ClaseSinMateria, // a class without X_MATERIAOMG
};
inline constexpr std::size_t kTiposProblema = 9;

// Examples kept of each kind of problem, each of a different key.
inline constexpr std::size_t kEjemplosPorProblema = 10;

// The keys of one lesson record, UTF-8 as the result file holds them.
struct ClavesLeccion {
    std::string_view X_TRAMO;
    std::string_view X_DEPENDENCIA;
    std::string_view X_UNIDAD;
    std::string_view X_OFERTAMATRIG;
    std::string_view X_MATERIAOMG;
    std::string_view X_ACTIVIDAD;
};

struct EjemploProblema {
    std::string clave;   // what Vorna will not know ("«10014» del curso «310101»"); empty when missing
    std::string leccion; // which lesson, and where it came from
};

struct ProblemasDeUnTipo {
    int lecciones = 0;                     // lessons that have it
    int clavesDistintas = 0;               // different unknown keys among them
    std::vector<EjemploProblema> ejemplos; // the first lessons of the first keys
};

struct InformeClaves {
    int lecciones = 0;             // lessons checked
    int leccionesConProblemas = 0; // lessons with one problem or more
    bool sinClavesDeVorna = false; // the exchange file had no key to check against
    std::string tareaDocencia;     // the teaching activity's code the check used (UTF-8)
    std::array<ProblemasDeUnTipo, kTiposProblema> problemas;

    const ProblemasDeUnTipo& De(Problema p) const { return problemas[static_cast<std::size_t>(p)]; }
    // Something for the person to hear about: a problem, or lessons that
    // could not be checked.
    bool HayQueAvisar() const { return leccionesConProblemas > 0 || (sinClavesDeVorna && lecciones > 0); }
};

class ComprobacionClaves {
  public:
    // `claves` must outlive the check; `tareaDocencia` is the ordinary
    // teaching activity's code (UTF-8, may be empty).
    ComprobacionClaves(const ClavesVorna& claves, std::string tareaDocencia);

    // Checks one lesson. `describir()` says which lesson it is, in UTF-8; it
    // is called only when the lesson becomes an example, so the text costs
    // nothing for the hundreds of thousands of lessons that do not.
    template <typename Describir> void Ver(const ClavesLeccion& leccion, Describir&& describir)
    {
        const Hallazgos hallazgos = Buscar(leccion);
        if (hallazgos.cuantos == 0)
            return;
        std::optional<std::string> texto;
        for (std::size_t i = 0; i < hallazgos.cuantos; ++i) {
            const Hallazgo& h = hallazgos.lista[i];
            if (!QuiereEjemplo(h))
                continue;
            if (!texto)
                texto = describir();
            Anotar(h, *texto);
        }
    }

    // The report so far: counts complete once every lesson has been seen.
    InformeClaves Informe() const;

  private:
    struct Hallazgo {
        Problema problema;
        std::string_view clave; // the key Vorna does not know, trimmed; empty when missing
        std::string_view curso; // the subject's course, for Problema::Materia
    };
    struct Hallazgos {
        std::array<Hallazgo, kTiposProblema> lista;
        std::size_t cuantos = 0;
    };

    Hallazgos Buscar(const ClavesLeccion& leccion);
    bool QuiereEjemplo(const Hallazgo& hallazgo) const;
    void Anotar(const Hallazgo& hallazgo, const std::string& leccion);

    const ClavesVorna& claves_;
    std::string tareaDocencia_;
    InformeClaves informe_;
    std::array<ClavesTexto, kTiposProblema> distintas_;  // every unknown key of each kind
    std::array<ClavesTexto, kTiposProblema> conEjemplo_; // the keys the examples show
};

} // namespace durlavex
