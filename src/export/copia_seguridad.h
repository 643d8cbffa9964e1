#pragma once
// A copy of Talvorin's tables before an export replaces them.
//
// An export deletes the tables it rebuilds; a wrong exchange file would cost
// the school its timetable data. So the tables about to be replaced are first
// copied into a dated folder outside the working directory, one folder a run,
// and the folders of the last runs are kept.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace durlavex {

// How many runs' copies are kept.
constexpr int kCopiasConservadas = 10;

// The user's folder of copies: %LOCALAPPDATA%\Durlavex\copias on Windows,
// $XDG_DATA_HOME/durlavex/copias elsewhere (XDG_DATA_HOME defaulting to
// $HOME/.local/share). Throws Error when neither can be found.
std::filesystem::path CarpetaCopias();

// The files of the working directory an export replaces: the .DBF and .MDX
// of every table it rebuilds, and JORNADAS.DBF, which it removes.
const std::vector<std::string>& ArchivosReemplazados();

struct CopiaSeguridad {
    std::filesystem::path carpeta; // empty when there was nothing to copy
    int archivos = 0;
};

// Copies the replaced files that exist (found without regard to letter case,
// copied under their own names) into a new folder of `carpetaCopias` named
// after `momento` in local time ("2024-05-03_14-22-07", then "_02", "_03" ...
// when that name is taken), then removes the oldest such folders beyond
// `conservar`. Nothing is created when no such file exists. Throws Error,
// leaving no half-made folder behind, when a copy fails.
CopiaSeguridad
CopiarTablasReemplazadas(const std::filesystem::path& directorioTrabajo,
                         const std::filesystem::path& carpetaCopias,
                         std::chrono::system_clock::time_point momento = std::chrono::system_clock::now(),
                         int conservar = kCopiasConservadas);

} // namespace durlavex
