#pragma once
// What the command line does with the outcome of a run, whichever direction.

#include <functional>

#include "platform/corrida.h"

namespace durlavex::cli {

// The exit status of a run: a finished run gives what `terminado` prints and
// returns; a stop (whose message the run has printed) gives 3, with the
// folder where a missing table was looked for; an error's text goes to
// standard error as the error box shows it, and gives 1.
int SalidaDeCorrida(const ResultadoCorrida& resultado, const OpcionesCorrida& opciones,
                    const std::function<int()>& terminado);

} // namespace durlavex::cli
