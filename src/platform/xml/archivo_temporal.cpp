#include "platform/xml/archivo_temporal.h"

#include <cerrno>
#include <utility>

#include "platform/causa_sistema.h"
#include "platform/error.h"
#include "platform/fallos_simulados.h"
#include "platform/rutas.h"
#include "platform/xml/escritura.h"

namespace durlavex {

namespace {

// The reason of a failed stream operation: errno when the library set one.
std::error_code ErrorDelSistema()
{
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

} // namespace

ArchivoTemporal::ArchivoTemporal(std::filesystem::path destino) : destino_(std::move(destino))
{
    temporal_ = RutaTemporalGuardado(destino_);
    std::error_code error;
    if (const auto simulado = fallos::Consultar(fallos::Operacion::Crear, temporal_)) {
        error = *simulado;
    } else {
        errno = 0;
        salida_.open(temporal_, std::ios::binary | std::ios::trunc);
        if (!salida_)
            error = ErrorDelSistema();
    }
    if (error)
        throw Error("No se pudo crear el archivo temporal «" + TextoRuta(temporal_) + "» para guardar «" +
                    TextoRuta(destino_) + "»: " + CausaSistema(error));
}

ArchivoTemporal::~ArchivoTemporal()
{
    if (colocado_)
        return;
    salida_.close();
    std::error_code ignorado;
    std::filesystem::remove(temporal_, ignorado);
}

bool ArchivoTemporal::Escribir(const char* bytes, std::size_t largo)
{
    if (error_)
        return false;
    if (const auto simulado = fallos::Consultar(fallos::Operacion::Escribir, temporal_)) {
        error_ = *simulado;
        return false;
    }
    errno = 0;
    salida_.write(bytes, static_cast<std::streamsize>(largo));
    if (!salida_)
        error_ = ErrorDelSistema();
    return !error_;
}

void ArchivoTemporal::FalloEscritura() const
{
    throw Error("No se pudo escribir el archivo temporal «" + TextoRuta(temporal_) + "» para guardar «" +
                TextoRuta(destino_) +
                "»: " + CausaSistema(error_ ? error_ : std::make_error_code(std::errc::io_error)));
}

void ArchivoTemporal::Colocar()
{
    if (!error_) {
        errno = 0;
        salida_.close();
        if (!salida_)
            error_ = ErrorDelSistema();
    }
    if (error_)
        FalloEscritura();
    try {
        RenombrarArchivo(temporal_, destino_);
    } catch (const Error& e) {
        throw Error("No se pudo guardar el archivo «" + TextoRuta(destino_) + "»: " + e.what());
    }
    colocado_ = true;
}

int EscribirEnTemporal(void* archivo, const char* bytes, int largo)
{
    if (largo < 0 ||
        !static_cast<ArchivoTemporal*>(archivo)->Escribir(bytes, static_cast<std::size_t>(largo)))
        return -1;
    return largo;
}

} // namespace durlavex
