#pragma once
// A person's request to stop a run (Ctrl+C, the console window closing, a
// polite kill): the signal handler only asks, and the run stops at its next
// safe point (between records, between steps) by throwing, so that it undoes
// what it started the way any error does.

#include "platform/error.h"

namespace durlavex {

class ErrorInterrupcion : public Error {
  public:
    using Error::Error;
};

// Safe from a signal handler.
void PedirInterrupcion() noexcept;
bool InterrupcionPedida() noexcept;
// Forgets an earlier request (tests; a new run of the desktop program).
void OlvidarInterrupcion() noexcept;

// Throws ErrorInterrupcion when a stop was asked for.
void ComprobarInterrupcion();

} // namespace durlavex
