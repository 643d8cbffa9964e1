#include "tables/preparacion.h"

#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/causa_sistema.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "tables/esquemas.h"

namespace durlavex {

namespace fs = std::filesystem;

namespace {

// Written before the first file moves and removed once the last has moved:
// while it is there, the final stage is under way, and a run that finds it
// puts the old tables back. One line per file: its name, a tab, and "nuevo"
// when a new file takes its place ("quitar" when it only goes).
constexpr const char* kDiario = "COLOCANDO.TXT";
// The old files moved aside, under their own names.
constexpr const char* kAnteriores = "ANTERIORES";

struct Archivo {
    std::string nombre; // upper case, as the new file is named
    bool nuevo = false;
};

// What the final stage replaces: the .DBF and .MDX of every table an export
// rebuilds (PERIODOS is written over its old file, whose .MDX stays), and
// JORNADAS.DBF, which an export removes.
std::vector<std::string> ArchivosColocados()
{
    std::vector<std::string> nombres;
    for (const Esquema* esquema : esquemas::Todos()) {
        nombres.push_back(esquema->nombre + ".DBF");
        if (esquema != &esquemas::PERIODOS)
            nombres.push_back(esquema->nombre + ".MDX");
    }
    nombres.push_back("JORNADAS.DBF");
    return nombres;
}

std::vector<Archivo> LeerDiario(const fs::path& diario)
{
    std::vector<Archivo> archivos;
    std::ifstream entrada(diario, std::ios::binary);
    for (std::string linea; std::getline(entrada, linea);) {
        const std::size_t tab = linea.find('\t');
        if (tab != std::string::npos)
            archivos.push_back({linea.substr(0, tab), linea.substr(tab + 1) == "nuevo"});
    }
    return archivos;
}

void EscribirDiario(const fs::path& diario, const std::vector<Archivo>& archivos)
{
    {
        std::ofstream salida(diario, std::ios::binary | std::ios::trunc);
        for (const Archivo& archivo : archivos)
            salida << archivo.nombre << '\t' << (archivo.nuevo ? "nuevo" : "quitar") << '\n';
        salida.flush();
        if (!salida)
            throw Error("No se pudo escribir «" + TextoRuta(diario) +
                        "» antes de poner las tablas nuevas en su sitio. No ha cambiado ninguna tabla");
    }
}

// Puts the old files back: the new ones that had been moved in go, the ones
// moved aside return under their own names, and the journal goes last.
void Deshacer(const fs::path& trabajo, const fs::path& carpeta)
{
    const fs::path diario = carpeta / kDiario;
    for (const Archivo& archivo : LeerDiario(diario)) {
        if (archivo.nuevo && !ExisteArchivo(carpeta / archivo.nombre) &&
            ExisteArchivo(trabajo / archivo.nombre)) {
            std::error_code ec;
            fs::remove(trabajo / archivo.nombre, ec);
            if (ec)
                throw Error("No se pudo quitar la tabla nueva «" + TextoRuta(trabajo / archivo.nombre) +
                            "»: " + CausaSistema(ec));
        }
    }
    std::error_code ec;
    for (fs::directory_iterator it(carpeta / kAnteriores, ec), fin; !ec && it != fin; it.increment(ec))
        RenombrarArchivo(it->path(), trabajo / it->path().filename());
    AsegurarEnDisco(trabajo);
    fs::remove(diario, ec);
    if (ec)
        throw Error("No se pudo borrar «" + TextoRuta(diario) + "»: " + CausaSistema(ec));
}

void VaciarPreparacion(const fs::path& carpeta)
{
    std::error_code ec;
    fs::remove_all(carpeta, ec);
    if (ec)
        throw Error("No se puede vaciar la carpeta «" + TextoRuta(carpeta) +
                    "» que dejó una exportación anterior: " + CausaSistema(ec) +
                    ". Bórrela a mano y vuelva a empezar");
}

} // namespace

bool RecuperarExportacionInterrumpida(const fs::path& directorioTrabajo)
{
    const fs::path carpeta = directorioTrabajo / kCarpetaPreparacion;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(carpeta, ec)))
        return false;
    const bool aMedias = ExisteArchivo(carpeta / kDiario);
    if (aMedias)
        Deshacer(directorioTrabajo, carpeta);
    VaciarPreparacion(carpeta);
    return aMedias;
}

TablasEnPreparacion::TablasEnPreparacion(fs::path directorioTrabajo)
    : trabajo_(std::move(directorioTrabajo)), carpeta_(trabajo_ / kCarpetaPreparacion)
{
    VaciarPreparacion(carpeta_);
    std::error_code ec;
    fs::create_directory(carpeta_, ec);
    if (ec)
        throw Error("No se puede crear la carpeta «" + TextoRuta(carpeta_) +
                    "» donde se preparan las tablas nuevas: " + CausaSistema(ec) +
                    ". No se ha tocado ninguna tabla");
}

TablasEnPreparacion::~TablasEnPreparacion()
{
    // A journal left means the old tables could not all be put back: they
    // wait there for the next run.
    if (colocadas_ || ExisteArchivo(carpeta_ / kDiario))
        return;
    std::error_code ec;
    fs::remove_all(carpeta_, ec);
}

void TablasEnPreparacion::Colocar()
{
    std::vector<Archivo> archivos;
    std::vector<std::optional<fs::path>> anteriores;
    for (std::string& nombre : ArchivosColocados()) {
        anteriores.push_back(BuscarArchivo(trabajo_, nombre));
        const bool nuevo = ExisteArchivo(carpeta_ / nombre);
        archivos.push_back({std::move(nombre), nuevo});
    }
    // Before anything moves: a table Talvorin (or anyone) holds open stops
    // the run with every table as it was.
    for (const auto& anterior : anteriores)
        if (anterior)
            dbf::ArchivoDbf::ComprobarLibreParaBorrar(*anterior);

    const fs::path apartados = carpeta_ / kAnteriores;
    std::error_code ec;
    fs::create_directory(apartados, ec);
    if (ec)
        throw Error("No se puede crear la carpeta «" + TextoRuta(apartados) + "»: " + CausaSistema(ec) +
                    ". No ha cambiado ninguna tabla");
    EscribirDiario(carpeta_ / kDiario, archivos);
    // The new tables and the journal on the disk before anything moves: after
    // a power cut the next run finds either the old tables or a journal that
    // puts them back.
    AsegurarCarpetaEnDisco(carpeta_);

    try {
        for (std::size_t i = 0; i < archivos.size(); ++i) {
            if (anteriores[i])
                RenombrarArchivo(*anteriores[i], apartados / anteriores[i]->filename());
            if (archivos[i].nuevo)
                RenombrarArchivo(carpeta_ / archivos[i].nombre, trabajo_ / archivos[i].nombre);
        }
        AsegurarEnDisco(trabajo_);
        fs::remove(carpeta_ / kDiario, ec);
        if (ec)
            throw Error("No se pudo borrar «" + TextoRuta(carpeta_ / kDiario) + "»: " + CausaSistema(ec));
    } catch (const Error& e) {
        try {
            Deshacer(trabajo_, carpeta_);
        } catch (const Error& otro) {
            throw Error(
                std::string(e.what()) + ". Tampoco se pudieron volver a poner todas las tablas anteriores (" +
                otro.what() + "): están en «" + TextoRuta(apartados) +
                "» y en la copia de seguridad; la próxima exportación o importación lo intentará de nuevo");
        }
        throw Error(std::string(e.what()) +
                    ". Se han vuelto a poner las tablas anteriores: no ha cambiado ninguna");
    }
    colocadas_ = true;
    fs::remove_all(carpeta_, ec);
}

} // namespace durlavex
