#include "platform/dbf/archivo_dbf.h"

#include "platform/comillas.h"
#include "platform/dbf/indice_mdx.h"
#include "platform/dbf/tabla_dbf.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"

#include <map>
#include <mutex>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace durlavex::dbf {
namespace {

// The tables this process has open, by canonical path: a second opening of
// the same file gets the same object, so it sees every post and never waits
// for a lock of its own process. A child process made by fork inherits the
// list but not the right to the parent's locks: it starts with none.
class TablasAbiertas {
  public:
    std::shared_ptr<TablaDbf> Buscar(const std::string& clave)
    {
#ifndef _WIN32
        if (proceso_ != getpid()) {
            tablas_.clear();
            proceso_ = getpid();
        }
#endif
        const auto it = tablas_.find(clave);
        return it == tablas_.end() ? nullptr : it->second.lock();
    }
    void Anotar(const std::string& clave, const std::shared_ptr<TablaDbf>& tabla)
    {
        std::erase_if(tablas_, [](const auto& par) { return par.second.expired(); });
        tablas_[clave] = tabla;
    }
    std::mutex& Cerrojo()
    {
        return cerrojo_;
    }

  private:
    std::mutex cerrojo_;
#ifndef _WIN32
    pid_t proceso_ = getpid();
#endif
    std::map<std::string, std::weak_ptr<TablaDbf>> tablas_;
};

TablasAbiertas& Abiertas()
{
    static TablasAbiertas abiertas;
    return abiertas;
}

std::optional<std::string> ClaveDe(const fs::path& ruta)
{
    std::error_code ec;
    const fs::path canonica = fs::canonical(ruta, ec);
    if (ec)
        return std::nullopt;
    return canonica.string();
}

// A file to be written anew, opened under an exclusive lock so that a file
// another process holds open is reported instead of overwritten beneath it.
std::unique_ptr<ArchivoSistema> AbrirParaReescribir(const fs::path& ruta, const std::string& tabla)
{
    auto archivo = std::make_unique<ArchivoSistema>(ruta, ArchivoSistema::Modo::Crear);
    if (!archivo->Bloquear(true))
        throw Error("No se puede crear la tabla " + Entre(tabla) +
                    ": otro programa tiene abierto el archivo " + Entre(TextoRuta(ruta)));
    return archivo;
}

void Reescribir(ArchivoSistema& archivo, std::span<const std::uint8_t> bytes)
{
    archivo.Escribir(0, bytes);
    archivo.Truncar(bytes.size());
}

} // namespace

void ArchivoDbf::Crear(const fs::path& ruta, const std::vector<Campo>& campos,
                       const std::vector<Indice>& indices)
{
    const std::string nombre = TextoRuta(ruta);
    const std::vector<Campo> comprobados = ComprobarCamposNuevos(campos, indices, nombre);
    {
        std::lock_guard bloqueo(Abiertas().Cerrojo());
        const auto clave = ClaveDe(ruta);
        if (clave && Abiertas().Buscar(*clave))
            throw Error("No se puede crear la tabla " + Entre(nombre) + ": este programa la tiene abierta");
    }
    // Both files are locked before either is written.
    auto tabla = AbrirParaReescribir(ruta, nombre);
    auto indice = indices.empty() ? nullptr : AbrirParaReescribir(RutaMdxNueva(ruta), nombre);
    const Fecha hoy = FechaDeHoy();
    Reescribir(*tabla, TablaNivel7Vacia(comprobados, indices, hoy));
    if (!indice)
        return;
    std::vector<EtiquetaNueva> etiquetas;
    for (const Indice& i : indices)
        for (const Campo& campo : comprobados)
            if (campo.indiceProduccion && MayusculasAscii(campo.nombre) == MayusculasAscii(i.campo))
                etiquetas.push_back({i.etiqueta, campo.nombre, {}});
    Reescribir(*indice, ConstruirMdx(ruta.stem().string(), etiquetas, hoy));
}

void ArchivoDbf::ComprobarLibreParaBorrar(const fs::path& ruta)
{
    const auto clave = ClaveDe(ruta);
    if (!clave)
        return;
    std::lock_guard bloqueo(Abiertas().Cerrojo());
    if (Abiertas().Buscar(*clave))
        return;
    std::unique_ptr<ArchivoSistema> archivo;
    try {
        archivo = std::make_unique<ArchivoSistema>(ruta, ArchivoSistema::Modo::Abrir);
    } catch (const Error&) {
        return;
    }
    if (!archivo->Bloquear(true))
        throw Error("No se puede sustituir la tabla " + Entre(TextoRuta(ruta)) +
                    ": otro programa la tiene abierta. Ciérrela en ese programa y repita el proceso");
}

std::shared_ptr<ArchivoDbf> ArchivoDbf::Abrir(const fs::path& ruta, Acceso acceso)
{
    const std::string nombre = TextoRuta(ruta);
    const auto clave = ClaveDe(ruta);
    if (!clave)
        throw Error("No se encuentra la tabla " + Entre(nombre));
    const bool exclusivo = acceso == Acceso::Exclusivo;

    std::lock_guard bloqueo(Abiertas().Cerrojo());
    if (auto abierta = Abiertas().Buscar(*clave)) {
        if (exclusivo)
            abierta->ExigirExclusivo();
        return abierta;
    }
    auto archivo = std::make_unique<ArchivoSistema>(ruta, ArchivoSistema::Modo::Abrir);
    if (!archivo->Bloquear(exclusivo))
        throw Error(exclusivo ? "La tabla " + Entre(nombre) +
                                    " no se puede abrir en exclusiva porque otro programa la tiene abierta"
                              : "La tabla " + Entre(nombre) + " está abierta en exclusiva por otro programa");
    auto tabla = std::make_shared<TablaDbf>(archivo->LeerTodo(), nombre, ruta, std::move(archivo), exclusivo);
    tabla->CargarIndices();
    Abiertas().Anotar(*clave, tabla);
    return tabla;
}

std::shared_ptr<ArchivoDbf> ArchivoDbf::Decodificar(std::span<const std::uint8_t> bytes,
                                                    const std::string& nombre)
{
    return std::make_shared<TablaDbf>(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), nombre,
                                      fs::path(), nullptr, false);
}

} // namespace durlavex::dbf
