#include "platform/rutas.h"

#include "platform/causa_sistema.h"
#include "platform/error.h"
#include "platform/fallos_simulados.h"
#include "platform/texto.h"

#include <cstdlib>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#endif

namespace durlavex {

#ifndef _WIN32
fs::path CarpetaPersonal()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* usuario = getpwuid(getuid()); usuario != nullptr && usuario->pw_dir)
        return usuario->pw_dir;
    return {};
}
#endif

std::string TextoRuta(const fs::path& ruta)
{
    const std::u8string u8 = ruta.u8string();
    return std::string(u8.begin(), u8.end());
}

#ifdef _WIN32
std::optional<std::string> RutaAnsi(const fs::path& ruta)
{
    const std::wstring ancha = ruta.wstring();
    if (ancha.empty())
        return std::string();
    BOOL perdido = FALSE;
    const int largo = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, ancha.data(),
                                          static_cast<int>(ancha.size()), nullptr, 0, nullptr, &perdido);
    if (largo <= 0 || perdido)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(largo), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, ancha.data(), static_cast<int>(ancha.size()),
                        ansi.data(), largo, nullptr, nullptr);
    return ansi;
}
#endif

fs::path RutaDeTexto(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

namespace {

bool EsArchivoRegular(const fs::path& ruta)
{
    std::error_code ec;
    return !ruta.empty() && fs::is_regular_file(ruta, ec);
}

} // namespace

fs::path CarpetaPrograma()
{
#ifdef _WIN32
    std::wstring ruta(MAX_PATH, L'\0');
    for (;;) {
        const DWORD largo = GetModuleFileNameW(nullptr, ruta.data(), static_cast<DWORD>(ruta.size()));
        if (largo < ruta.size()) {
            ruta.resize(largo);
            break;
        }
        ruta.resize(ruta.size() * 2);
    }
    return fs::path(ruta).parent_path();
#else
    std::error_code ec;
    const fs::path ejecutable = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path(ec);
    return ejecutable.parent_path();
#endif
}

fs::path DirectorioTrabajo()
{
#ifdef _WIN32
    return fs::path("C:\\KTEMP");
#else
    const char* prefijo = std::getenv("WINEPREFIX");
    const fs::path wine =
        (prefijo != nullptr && *prefijo != '\0') ? fs::path(prefijo) : CarpetaPersonal() / ".wine";
    return wine / "drive_c" / "KTEMP";
#endif
}

std::optional<fs::path> BuscarArchivo(const fs::path& carpeta, std::string_view nombre)
{
    if (nombre.empty())
        return std::nullopt;
    const fs::path exacta = carpeta / std::string(nombre);
#ifdef _WIN32
    // Names are found without regard to letter case by Windows itself: the
    // file's own spelling is asked for, as the listing below would give it.
    if (nombre.find_first_of("*?") == std::string_view::npos && EsArchivoRegular(exacta)) {
        WIN32_FIND_DATAW datos;
        const HANDLE busqueda = FindFirstFileW(exacta.c_str(), &datos);
        if (busqueda != INVALID_HANDLE_VALUE) {
            FindClose(busqueda);
            return carpeta / fs::path(datos.cFileName);
        }
        return exacta;
    }
#else
    if (EsArchivoRegular(exacta))
        return exacta;
#endif

    // Several names may differ only in letter case; the smallest in byte order
    // is taken so that the answer does not depend on the folder's listing order.
    const std::string buscado = MayusculasAscii(nombre);
    std::optional<fs::path> hallada;
    std::error_code ec;
    for (fs::directory_iterator it(carpeta, ec), fin; !ec && it != fin; it.increment(ec)) {
        const fs::path candidata = it->path();
        const std::string nombreCandidata = candidata.filename().string();
        if (MayusculasAscii(nombreCandidata) != buscado || !EsArchivoRegular(candidata))
            continue;
        if (!hallada || nombreCandidata < hallada->filename().string())
            hallada = candidata;
    }
    return hallada;
}

fs::path RutaArchivo(const fs::path& carpeta, std::string_view nombre)
{
    if (auto existente = BuscarArchivo(carpeta, nombre))
        return *existente;
    return carpeta / MayusculasAscii(nombre);
}

bool ExisteArchivo(const fs::path& ruta)
{
    return EsArchivoRegular(ruta);
}

void BorrarArchivo(const fs::path& ruta)
{
    // A folder of that name is no file and stays.
    std::error_code ec;
    if (ruta.empty() || fs::is_directory(fs::symlink_status(ruta, ec)))
        return;
    fs::remove(ruta, ec);
}

void RenombrarArchivo(const fs::path& origen, const fs::path& destino)
{
    std::error_code ec;
    if (const auto simulado = fallos::Consultar(fallos::Operacion::Renombrar, origen))
        ec = *simulado;
    else
        fs::rename(origen, destino, ec);
    if (ec)
        throw Error("No se pudo mover «" + TextoRuta(origen) + "» a «" + TextoRuta(destino) +
                    "»: " + CausaSistema(ec));
}

void AsegurarEnDisco(const fs::path& ruta)
{
#ifdef _WIN32
    // Only files: Windows writes a folder's entries through on its own.
    HANDLE h =
        CreateFileW(ruta.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    FlushFileBuffers(h);
    CloseHandle(h);
#else
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#endif
}

void AsegurarCarpetaEnDisco(const fs::path& carpeta)
{
#ifdef __linux__
    const int fd = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        const int hecho = ::syncfs(fd);
        ::close(fd);
        if (hecho == 0)
            return;
    }
#endif
    std::error_code ec;
    for (fs::directory_iterator it(carpeta, ec), fin; !ec && it != fin; it.increment(ec))
        if (it->is_regular_file(ec))
            AsegurarEnDisco(it->path());
    AsegurarEnDisco(carpeta);
}

} // namespace durlavex
