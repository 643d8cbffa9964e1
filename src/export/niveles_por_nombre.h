#pragma once
// Education levels told by a course's name, for courses NIVELCAN.DBF does not
// know: "1º de E.S.O. (LOMLOE)" is ESO, "2º de C.F.G.S. (...)" CFGS.
//
// The patterns come from NIVELES.TXT beside the program, so a school can add
// its own: one line per pattern, in the order they are tried,
//
//   pattern <tab> NIVEL <tab> full name of the level
//
// in UTF-8; lines starting with "#" and empty lines are skipped. A course
// takes the first pattern that occurs in its name as a word of its own (no
// letter or digit just before or after it), letter case and accents aside.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace durlavex {

inline constexpr const char* kArchivoNivelesPorNombre = "NIVELES.TXT";

struct NivelPorNombre {
    std::u32string patron; // folded
    std::string nivel;     // ANSI, NIVEL of CURSOST
    std::string nombre;    // ANSI, the level's full name for ESTUD
};

class NivelesPorNombre {
  public:
    // Reads the file; throws Error naming it (and the line) when it is missing
    // or a line is not pattern, level and name.
    static NivelesPorNombre Cargar(const std::filesystem::path& ruta);
    // The same from the file's text; `origen` names it in errors.
    static NivelesPorNombre Leer(std::string_view texto, const std::string& origen);

    // The level of a course name (ANSI), or nullptr when no pattern occurs.
    const NivelPorNombre* Buscar(std::string_view nombreCurso) const;

  private:
    std::vector<NivelPorNombre> niveles_;
};

} // namespace durlavex
