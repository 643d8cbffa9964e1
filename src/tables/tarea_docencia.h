#pragma once
// The school's ordinary teaching activity: the activity code an ordinary
// lesson carries in Vorna. Both directions settle it the same way: "513" when
// an activity has exactly that code; otherwise the code of the first
// activity named "Docencia" (blanks around it and letter case aside);
// otherwise there is none.

#include <string>
#include <string_view>

namespace durlavex {

inline constexpr const char* kTarea513 = "513";

// True for an activity name that stands for ordinary teaching.
bool EsNombreDocencia(std::string_view nombre);

// Settles the code while the activities are met in order: `Ver` each one,
// then `Codigo` gives "513", the first "Docencia" activity's code, or empty.
class TareaDocencia {
  public:
    void Ver(std::string_view codigo, std::string_view nombre);
    bool Hay513() const { return hay513_; }
    std::string Codigo() const;

  private:
    bool hay513_ = false;
    bool hayDocencia_ = false;
    std::string docencia_;
};

} // namespace durlavex
