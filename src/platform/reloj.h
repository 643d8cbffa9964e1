#pragma once
// The clock a run dates what it writes by: the name of an export's backup
// folder, the date and time in a result file's header. Tests hand a run a
// clock of their own.

#include <chrono>
#include <string>

namespace durlavex {

class Reloj {
  public:
    virtual ~Reloj() = default;
    virtual std::chrono::system_clock::time_point Ahora() const { return std::chrono::system_clock::now(); }
    // The moment as the result file's header gives it, in the user's
    // regional formats (FechaHora).
    virtual std::string FechaHora() const;
};

// The system's clock.
const Reloj& RelojDelSistema();

} // namespace durlavex
