#include "platform/bloqueo_trabajo.h"

#include <cerrno>
#include <system_error>

#include "platform/causa_sistema.h"
#include "platform/error.h"
#include "platform/rutas.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace durlavex {

namespace {

[[noreturn]] void Ocupado(const std::filesystem::path& directorio)
{
    throw Error(
        "Otra exportación o importación de Durlavex está trabajando ahora en el directorio de trabajo «" +
        TextoRuta(directorio) + "». Espere a que termine y vuelva a empezar: no se ha tocado nada");
}

[[noreturn]] void SinEscritura(const std::filesystem::path& directorio, std::error_code error)
{
    throw Error("No se puede escribir en el directorio de trabajo «" + TextoRuta(directorio) +
                "»: " + CausaSistema(error) + ". No se ha tocado nada");
}

} // namespace

#ifdef _WIN32

BloqueoDirectorioTrabajo::BloqueoDirectorioTrabajo(const std::filesystem::path& directorio, Uso uso)
    : ruta_(directorio / kArchivoBloqueo)
{
    // Opened without sharing, the file is itself the lock; Windows removes it
    // when the last handle closes, also when the process dies.
    HANDLE h = CreateFileW(ruta_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        handle_ = h;
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        Ocupado(directorio);
    if (uso == Uso::Importar)
        return;
    SinEscritura(directorio, std::error_code(static_cast<int>(error), std::system_category()));
}

BloqueoDirectorioTrabajo::~BloqueoDirectorioTrabajo()
{
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
}

#else

BloqueoDirectorioTrabajo::BloqueoDirectorioTrabajo(const std::filesystem::path& directorio, Uso uso)
    : ruta_(directorio / kArchivoBloqueo)
{
    // The run before may remove the file between our opening and our lock:
    // the lock then holds a file no longer in the folder, so it is taken
    // again on the file that is there.
    for (;;) {
        const int fd = ::open(ruta_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            const int error = errno;
            if (uso == Uso::Importar)
                return;
            SinEscritura(directorio, std::error_code(error, std::generic_category()));
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            Ocupado(directorio);
        }
        struct stat abierto {};
        struct stat enCarpeta {};
        if (::fstat(fd, &abierto) == 0 && ::stat(ruta_.c_str(), &enCarpeta) == 0 &&
            abierto.st_dev == enCarpeta.st_dev && abierto.st_ino == enCarpeta.st_ino) {
            fd_ = fd;
            return;
        }
        ::close(fd);
    }
}

BloqueoDirectorioTrabajo::~BloqueoDirectorioTrabajo()
{
    if (fd_ < 0)
        return;
    // Removed while still held, so that no other run can lock it meanwhile.
    ::unlink(ruta_.c_str());
    ::close(fd_);
}

#endif

} // namespace durlavex
