#include "platform/causa_sistema.h"

#include <cerrno>
#include <iterator>

namespace durlavex {
namespace {

struct Causa {
    int codigo;
    const char* texto;
};

// A list rather than a switch: several names share one number on some systems
// (EAGAIN and EWOULDBLOCK, ENOTSUP and EOPNOTSUPP), and some do not exist on
// every system.
const Causa kCausasErrno[] = {
    {ENOENT, "no existe el archivo o la carpeta"},
    {ENOTDIR, "una parte de la ruta no es una carpeta"},
    {EISDIR, "es una carpeta"},
    {EEXIST, "ya existe"},
    {ENOTEMPTY, "la carpeta no está vacía"},
    {ENAMETOOLONG, "el nombre o la ruta es demasiado largo"},
    {EACCES, "no hay permiso para hacerlo"},
    {EPERM, "no hay permiso para hacerlo"},
    {EROFS, "el disco o la carpeta es de solo lectura"},
    {ENOSPC, "no queda espacio en el disco"},
    {EIO, "error de entrada/salida del disco"},
    {EBUSY, "el archivo o la carpeta está en uso"},
    {EXDEV, "el origen y el destino están en discos distintos"},
    {EMFILE, "hay demasiados archivos abiertos"},
    {ENFILE, "hay demasiados archivos abiertos"},
    {ENOMEM, "no hay memoria suficiente"},
    {EFBIG, "el archivo es demasiado grande"},
    {EAGAIN, "no está disponible en este momento"},
    {EINTR, "la operación se interrumpió"},
    {EINVAL, "el sistema no admite la operación con ese nombre o ese archivo"},
    {ENODEV, "el dispositivo no existe o no está disponible"},
    {ENXIO, "el dispositivo no existe o no está disponible"},
    {ENOLCK, "no se pueden bloquear más archivos"},
    {EMLINK, "hay demasiados enlaces"},
#ifdef EDQUOT
    {EDQUOT, "no queda espacio en el disco (se ha llegado a la cuota)"},
#endif
#ifdef ELOOP
    {ELOOP, "hay demasiados enlaces simbólicos en la ruta"},
#endif
#ifdef ETXTBSY
    {ETXTBSY, "el archivo está en uso"},
#endif
#ifdef ESTALE
    {ESTALE, "el archivo de red ya no está disponible"},
#endif
#ifdef EOVERFLOW
    {EOVERFLOW, "el archivo es demasiado grande"},
#endif
#ifdef ENOTSUP
    {ENOTSUP, "el sistema de archivos no admite la operación"},
#endif
#ifdef ETIMEDOUT
    {ETIMEDOUT, "se agotó el tiempo de espera"},
#endif
};

#ifdef _WIN32
// The system's error numbers (winerror.h) a person meets with files.
const Causa kCausasWindows[] = {
    {2, "no existe el archivo"},                                 // ERROR_FILE_NOT_FOUND
    {3, "no existe la carpeta"},                                 // ERROR_PATH_NOT_FOUND
    {5, "no hay permiso para hacerlo"},                          // ERROR_ACCESS_DENIED
    {19, "el disco es de solo lectura"},                         // ERROR_WRITE_PROTECT
    {21, "el disco no está preparado"},                          // ERROR_NOT_READY
    {32, "otro programa tiene abierto el archivo"},              // ERROR_SHARING_VIOLATION
    {33, "otro programa tiene bloqueada una parte del archivo"}, // ERROR_LOCK_VIOLATION
    {39, "no queda espacio en el disco"},                        // ERROR_HANDLE_DISK_FULL
    {80, "ya existe"},                                           // ERROR_FILE_EXISTS
    {112, "no queda espacio en el disco"},                       // ERROR_DISK_FULL
    {123, "el nombre no es válido"},                             // ERROR_INVALID_NAME
    {145, "la carpeta no está vacía"},                           // ERROR_DIR_NOT_EMPTY
    {183, "ya existe"},                                          // ERROR_ALREADY_EXISTS
    {206, "el nombre o la ruta es demasiado largo"},             // ERROR_FILENAME_EXCED_RANGE
};
#endif

template <std::size_t N> const char* Buscar(const Causa (&causas)[N], int codigo)
{
    for (const Causa& causa : causas) {
        if (causa.codigo == codigo)
            return causa.texto;
    }
    return nullptr;
}

std::string PorNumero(int codigo)
{
    return "error " + std::to_string(codigo) + " del sistema";
}

} // namespace

std::string CausaErrno(int error)
{
    const char* texto = Buscar(kCausasErrno, error);
    return texto ? texto : PorNumero(error);
}

std::string CausaSistema(const std::error_code& error)
{
#ifdef _WIN32
    if (error.category() == std::system_category()) {
        const char* texto = Buscar(kCausasWindows, error.value());
        return texto ? texto : PorNumero(error.value());
    }
#endif
    if (error.category() == std::generic_category() || error.category() == std::system_category())
        return CausaErrno(error.value());
    return PorNumero(error.value());
}

} // namespace durlavex
