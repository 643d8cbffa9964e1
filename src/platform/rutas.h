#pragma once
// Files and folders: the program folder, the working directory, and file
// names looked up as Windows does (without regard to letter case).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace durlavex {

namespace fs = std::filesystem;

// The folder of the running executable ("NIVELCAN.DBF", "Talvorin.ini",
// "VORNA.chm" lie there).
fs::path CarpetaPrograma();

// Talvorin's working directory: "C:\KTEMP" on Windows; elsewhere Talvorin runs
// under Wine, so $WINEPREFIX/drive_c/KTEMP, with WINEPREFIX defaulting to
// $HOME/.wine. Not created here; a run reports it when it is missing.
fs::path DirectorioTrabajo();

// The existing file of that name in the folder, found without regard to ASCII
// letter case (an exact match wins); nothing when there is none.
std::optional<fs::path> BuscarArchivo(const fs::path& carpeta, std::string_view nombre);

// The path of a file in a folder: the existing file found by BuscarArchivo,
// otherwise the name in upper case (how new files are named).
fs::path RutaArchivo(const fs::path& carpeta, std::string_view nombre);

// True for an existing regular file (a folder or an empty path is no file).
bool ExisteArchivo(const fs::path& ruta);

// The user's home folder ($HOME, else the password database); empty when
// neither tells. Not on Windows.
#ifndef _WIN32
fs::path CarpetaPersonal();
#endif

// A path as UTF-8 text, for messages.
std::string TextoRuta(const fs::path& ruta);

#ifdef _WIN32
// A path in the ANSI code page, for the "A" calls of Win32
// (WritePrivateProfileStringA, HtmlHelpA); nothing when the code page cannot
// spell it. (fs::path::string() gives UTF-8 with mingw-w64's library.)
std::optional<std::string> RutaAnsi(const fs::path& ruta);
#endif

// A path from UTF-8 text (a command-line argument): the inverse of TextoRuta.
// On Windows a narrow string given to fs::path is not taken as UTF-8.
fs::path RutaDeTexto(std::string_view utf8);

// Deletes the file when it exists; the outcome is not reported.
void BorrarArchivo(const fs::path& ruta);

// Moves a file or folder to another name in the same file system (a rename,
// which either happens whole or not at all). Throws Error naming both and
// the reason in Spanish when the system refuses it.
void RenombrarArchivo(const fs::path& origen, const fs::path& destino);

// Asks the system to have the file's data (or a folder's entries) on the disk
// itself, not only in its cache, so that a power cut after this cannot lose
// them. Best effort: a failure is not reported.
void AsegurarEnDisco(const fs::path& ruta);

// The same for every file of a folder and the folder itself, in as few
// waits for the disk as the system allows (on Linux, one for the whole file
// system).
void AsegurarCarpetaEnDisco(const fs::path& carpeta);

} // namespace durlavex
