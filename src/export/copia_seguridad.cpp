#include "export/copia_seguridad.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/causa_sistema.h"
#include "platform/error.h"
#include "platform/rutas.h"

namespace durlavex {

namespace fs = std::filesystem;

namespace {

// "2024-05-03_14-22-07" in local time.
std::string NombreFecha(std::chrono::system_clock::time_point momento)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(momento);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char texto[64];
    std::snprintf(texto, sizeof texto, "%04d-%02d-%02d_%02d-%02d-%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return texto;
}

bool SonDigitos(std::string_view texto)
{
    return !texto.empty() &&
           std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The date and the number of a copy folder's name ("..._07" is 1, "..._07_03"
// is 3); nothing for a folder this program did not make, which then stays.
std::optional<std::pair<std::string, int>> OrdenDeCopia(const std::string& nombre)
{
    constexpr std::string_view kForma = "0000-00-00_00-00-00"; // 0: a digit
    if (nombre.size() < kForma.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kForma.size(); ++i) {
        const bool encaja = kForma[i] == '0' ? SonDigitos(nombre.substr(i, 1)) : nombre[i] == kForma[i];
        if (!encaja)
            return std::nullopt;
    }
    const std::string fecha = nombre.substr(0, kForma.size());
    if (nombre.size() == kForma.size())
        return std::pair{fecha, 1};
    const std::string_view numero = std::string_view(nombre).substr(kForma.size() + 1);
    if (nombre[kForma.size()] != '_' || numero.size() > 2 || !SonDigitos(numero))
        return std::nullopt;
    return std::pair{fecha, std::stoi(std::string(numero))};
}

// A new folder for this run's copy; an earlier run of the same second keeps
// its own.
fs::path CrearCarpetaCopia(const fs::path& carpetaCopias, const std::string& fecha)
{
    std::error_code ec;
    fs::create_directories(carpetaCopias, ec);
    if (ec)
        throw Error("No se puede crear la carpeta de copias de seguridad «" + TextoRuta(carpetaCopias) +
                    "» (" + CausaSistema(ec) + "). No se ha tocado ninguna tabla");
    for (int n = 1; n < 100; ++n) {
        char sufijo[8] = "";
        if (n > 1)
            std::snprintf(sufijo, sizeof sufijo, "_%02d", n);
        const fs::path carpeta = carpetaCopias / (fecha + sufijo);
        if (fs::create_directory(carpeta, ec))
            return carpeta;
        if (ec)
            throw Error("No se puede crear la carpeta de copia de seguridad «" + TextoRuta(carpeta) + "» (" +
                        CausaSistema(ec) + "). No se ha tocado ninguna tabla");
    }
    throw Error("Ya hay demasiadas copias de seguridad de este mismo segundo en «" +
                TextoRuta(carpetaCopias) + "». No se ha tocado ninguna tabla");
}

// Removes the oldest copy folders beyond `conservar`; other folders stay.
void PodarCopias(const fs::path& carpetaCopias, int conservar)
{
    std::vector<std::pair<std::pair<std::string, int>, fs::path>> copias;
    std::error_code ec;
    for (fs::directory_iterator it(carpetaCopias, ec), fin; !ec && it != fin; it.increment(ec)) {
        std::error_code ecTipo;
        if (!it->is_directory(ecTipo))
            continue;
        if (auto orden = OrdenDeCopia(it->path().filename().string()))
            copias.emplace_back(std::move(*orden), it->path());
    }
    if (copias.size() <= static_cast<std::size_t>(std::max(conservar, 0)))
        return;
    std::sort(copias.begin(), copias.end());
    const std::size_t sobran = copias.size() - static_cast<std::size_t>(std::max(conservar, 0));
    for (std::size_t i = 0; i < sobran; ++i) {
        std::error_code ecBorrar;
        fs::remove_all(copias[i].second, ecBorrar);
    }
}

} // namespace

fs::path CarpetaCopias()
{
#ifdef _WIN32
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local != nullptr && *local != L'\0')
        return fs::path(local) / "Durlavex" / "copias";
    throw Error("No se sabe dónde guardar la copia de seguridad de las tablas: la variable LOCALAPPDATA no "
                "está definida. No se ha tocado ninguna tabla");
#else
    // XDG asks that a relative XDG_DATA_HOME be ignored.
    if (const char* datos = std::getenv("XDG_DATA_HOME"); datos != nullptr && fs::path(datos).is_absolute())
        return fs::path(datos) / "durlavex" / "copias";
    const fs::path personal = CarpetaPersonal();
    if (personal.empty())
        throw Error("No se sabe dónde guardar la copia de seguridad de las tablas: no están definidas ni "
                    "XDG_DATA_HOME ni HOME. No se ha tocado ninguna tabla");
    return personal / ".local" / "share" / "durlavex" / "copias";
#endif
}

const std::vector<std::string>& ArchivosReemplazados()
{
    static const std::vector<std::string> archivos = [] {
        std::vector<std::string> nombres;
        for (const char* tabla : {"ASIGNOMT", "ASIGNOMT2", "PROFT", "AULAT", "CURSOST", "GRUPOST", "ASIGT",
                                  "DIASHORAST", "DIASHORAST2", "PERIODOS"}) {
            nombres.push_back(std::string(tabla) + ".DBF");
            nombres.push_back(std::string(tabla) + ".MDX");
        }
        nombres.push_back("JORNADAS.DBF");
        return nombres;
    }();
    return archivos;
}

CopiaSeguridad CopiarTablasReemplazadas(const fs::path& directorioTrabajo, const fs::path& carpetaCopias,
                                        std::chrono::system_clock::time_point momento, int conservar)
{
    std::vector<fs::path> existentes;
    for (const std::string& nombre : ArchivosReemplazados()) {
        if (auto ruta = BuscarArchivo(directorioTrabajo, nombre))
            existentes.push_back(std::move(*ruta));
    }
    CopiaSeguridad copia;
    if (existentes.empty())
        return copia;

    copia.carpeta = CrearCarpetaCopia(carpetaCopias, NombreFecha(momento));
    for (const fs::path& origen : existentes) {
        std::error_code ec;
        fs::copy_file(origen, copia.carpeta / origen.filename(), fs::copy_options::none, ec);
        if (ec) {
            // A partial copy is no copy: it goes, and the run stops.
            std::error_code ecBorrar;
            fs::remove_all(copia.carpeta, ecBorrar);
            throw Error("No se ha podido copiar «" + TextoRuta(origen) + "» en la copia de seguridad «" +
                        TextoRuta(copia.carpeta) + "» (" + CausaSistema(ec) +
                        "). No se ha tocado ninguna tabla");
        }
        ++copia.archivos;
    }
    PodarCopias(carpetaCopias, conservar);
    return copia;
}

} // namespace durlavex
