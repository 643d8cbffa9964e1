#pragma once
// One run at a time on Talvorin's working directory.
//
// Two exports at once would leave the tables of one beside the tables of the
// other, and an import during an export would read half-replaced tables. A
// run takes this lock before it touches anything and holds it to its end: a
// file DURLAVEX.LCK in the working directory, held with an operating-system
// lock that the system drops when the process ends however it ends, so a
// crash never leaves the folder locked. The file goes when the run ends.

#include <filesystem>

namespace durlavex {

inline constexpr const char* kArchivoBloqueo = "DURLAVEX.LCK";

class BloqueoDirectorioTrabajo {
  public:
    enum class Uso { Exportar, Importar };

    // Takes the lock. Throws Error, having touched nothing, when another run
    // holds it. A folder where the lock file cannot be made (read-only) is no
    // place for an export, which is refused with the reason; an import, which
    // only reads there, goes on without the lock, as nothing can write there.
    BloqueoDirectorioTrabajo(const std::filesystem::path& directorio, Uso uso);
    ~BloqueoDirectorioTrabajo();
    BloqueoDirectorioTrabajo(const BloqueoDirectorioTrabajo&) = delete;
    BloqueoDirectorioTrabajo& operator=(const BloqueoDirectorioTrabajo&) = delete;

  private:
    std::filesystem::path ruta_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace durlavex
