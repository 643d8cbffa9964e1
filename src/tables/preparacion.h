#pragma once
// All ten tables or none.
//
// Talvorin reads its tables as a set: ASIGT names codes of ASIGNOMT and
// GRUPOST, DIASHORAST hours of the template in PERIODOS. An export therefore
// writes its tables into a staging folder inside the working directory (the
// same file system, so that moving a file is a rename) and puts them in place
// only when every step has succeeded, in one short final stage: each old table
// is moved aside into the staging folder and the new one moved into its
// place. If a move fails, the tables already moved are put back. A run that
// fails or is stopped before the final stage leaves the old tables as they
// were, byte for byte; a run killed on the way leaves at most the staging
// folder, which the next run clears (rolling back a final stage it finds half
// done).

#include <filesystem>

namespace durlavex {

inline constexpr const char* kCarpetaPreparacion = "DURLAVEX.TMP";

// Clears what an export that did not end left in the working directory: its
// staging folder, after putting the old tables back if it died during its
// final stage. True when tables had to be put back. The caller holds the
// working directory's lock. Throws Error when the folder cannot be cleared.
bool RecuperarExportacionInterrumpida(const std::filesystem::path& directorioTrabajo);

class TablasEnPreparacion {
  public:
    // Makes the empty staging folder in the working directory.
    explicit TablasEnPreparacion(std::filesystem::path directorioTrabajo);
    // Removes the staging folder unless the tables were put in place.
    ~TablasEnPreparacion();
    TablasEnPreparacion(const TablasEnPreparacion&) = delete;
    TablasEnPreparacion& operator=(const TablasEnPreparacion&) = delete;

    // Where the steps write their tables.
    const std::filesystem::path& Carpeta() const { return carpeta_; }

    // The final stage: checks that no table to replace is held by another
    // program, then replaces the old files (the .DBF and .MDX of every table
    // rebuilt, except PERIODOS.MDX, and JORNADAS.DBF) by the new ones. Throws
    // Error, with the old tables back in place, when it cannot finish.
    void Colocar();

  private:
    std::filesystem::path trabajo_;
    std::filesystem::path carpeta_;
    bool colocadas_ = false;
};

} // namespace durlavex
