#pragma once
// Ctrl+C, a polite kill (SIGTERM) and, on Windows, the console window being
// closed ask the run to stop: it stops at its next safe point, undoes what it
// started, says so in Spanish and exits with 1. A second Ctrl+C ends the
// program at once (the next run clears what it left).

namespace durlavex::cli {

void AtenderInterrupciones();

// Tells a console-close handler that the run has finished and the program
// may be ended.
void MarcarFinDeCorrida();

} // namespace durlavex::cli
