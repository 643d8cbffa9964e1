#include "platform/dbf/archivo_sistema.h"

#include "platform/causa_sistema.h"
#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/fallos_simulados.h"
#include "platform/rutas.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace durlavex::dbf {
namespace {

[[noreturn]] void Fallo(const std::string& que, const std::filesystem::path& ruta, const std::string& causa)
{
    throw Error("No se pudo " + que + " el archivo " + Entre(TextoRuta(ruta)) + ": " + causa);
}

// A fault a test planned for this operation ends it as the system would.
void FalloSimulado(fallos::Operacion operacion, const std::string& que, const std::filesystem::path& ruta)
{
    if (const auto error = fallos::Consultar(operacion, ruta))
        Fallo(que, ruta, CausaSistema(*error));
}

} // namespace

#ifdef _WIN32

namespace {

std::string CausaWindows()
{
    return CausaSistema(std::error_code(static_cast<int>(GetLastError()), std::system_category()));
}

OVERLAPPED Desde(std::uint64_t posicion)
{
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(posicion);
    o.OffsetHigh = static_cast<DWORD>(posicion >> 32);
    return o;
}

} // namespace

ArchivoSistema::ArchivoSistema(const std::filesystem::path& ruta, Modo modo) : ruta_(ruta)
{
    if (modo == Modo::Crear)
        FalloSimulado(fallos::Operacion::Crear, "crear", ruta);
    const DWORD compartir = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const DWORD disposicion = modo == Modo::Crear ? OPEN_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileW(ruta.c_str(), GENERIC_READ | GENERIC_WRITE, compartir, nullptr, disposicion,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && modo == Modo::Abrir && GetLastError() == ERROR_ACCESS_DENIED) {
        h = CreateFileW(ruta.c_str(), GENERIC_READ, compartir, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        soloLectura_ = true;
    }
    if (h == INVALID_HANDLE_VALUE)
        Fallo(modo == Modo::Crear ? "crear" : "abrir", ruta, CausaWindows());
    handle_ = h;
}

ArchivoSistema::~ArchivoSistema()
{
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
}

bool ArchivoSistema::Bloquear(bool exclusivo)
{
    HANDLE h = static_cast<HANDLE>(handle_);
    OVERLAPPED o = Desde(0);
    if (bloqueado_)
        UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &o);
    o = Desde(0);
    const DWORD banderas = LOCKFILE_FAIL_IMMEDIATELY | (exclusivo ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(h, banderas, 0, MAXDWORD, MAXDWORD, &o)) {
        bloqueado_ = true;
        return true;
    }
    if (bloqueado_) {
        o = Desde(0);
        bloqueado_ = LockFileEx(h, LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &o) != 0;
    }
    return false;
}

std::vector<std::uint8_t> ArchivoSistema::LeerTodo() const
{
    HANDLE h = static_cast<HANDLE>(handle_);
    LARGE_INTEGER tamano{};
    if (!GetFileSizeEx(h, &tamano))
        Fallo("leer", ruta_, CausaWindows());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(tamano.QuadPart));
    std::size_t leidos = 0;
    while (leidos < bytes.size()) {
        OVERLAPPED o = Desde(leidos);
        DWORD n = 0;
        const DWORD pedir = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - leidos, 1u << 30));
        if (!ReadFile(h, bytes.data() + leidos, pedir, &n, &o))
            Fallo("leer", ruta_, CausaWindows());
        if (n == 0)
            break;
        leidos += n;
    }
    bytes.resize(leidos);
    return bytes;
}

void ArchivoSistema::Escribir(std::uint64_t posicion, std::span<const std::uint8_t> bytes)
{
    if (soloLectura_)
        Fallo("escribir en", ruta_, "es de solo lectura");
    FalloSimulado(fallos::Operacion::Escribir, "escribir en", ruta_);
    std::size_t escritos = 0;
    while (escritos < bytes.size()) {
        OVERLAPPED o = Desde(posicion + escritos);
        DWORD n = 0;
        if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data() + escritos,
                       static_cast<DWORD>(bytes.size() - escritos), &n, &o) ||
            n == 0)
            Fallo("escribir en", ruta_, CausaWindows());
        escritos += n;
    }
}

void ArchivoSistema::Truncar(std::uint64_t tamano)
{
    FalloSimulado(fallos::Operacion::Escribir, "escribir en", ruta_);
    HANDLE h = static_cast<HANDLE>(handle_);
    LARGE_INTEGER p{};
    p.QuadPart = static_cast<LONGLONG>(tamano);
    if (!SetFilePointerEx(h, p, nullptr, FILE_BEGIN) || !SetEndOfFile(h))
        Fallo("escribir en", ruta_, CausaWindows());
}

#else

ArchivoSistema::ArchivoSistema(const std::filesystem::path& ruta, Modo modo) : ruta_(ruta)
{
    if (modo == Modo::Crear)
        FalloSimulado(fallos::Operacion::Crear, "crear", ruta);
    const int banderas = O_RDWR | O_CLOEXEC | (modo == Modo::Crear ? O_CREAT : 0);
    fd_ = ::open(ruta.c_str(), banderas, 0666);
    if (fd_ < 0 && modo == Modo::Abrir && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd_ = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
        soloLectura_ = true;
    }
    if (fd_ < 0)
        Fallo(modo == Modo::Crear ? "crear" : "abrir", ruta, CausaErrno(errno));
}

ArchivoSistema::~ArchivoSistema()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool ArchivoSistema::Bloquear(bool exclusivo)
{
    if (::flock(fd_, (exclusivo ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
        bloqueado_ = true;
        return true;
    }
    // Converting a lock first drops the old one: take the shared lock back.
    if (bloqueado_)
        bloqueado_ = ::flock(fd_, LOCK_SH | LOCK_NB) == 0;
    return false;
}

std::vector<std::uint8_t> ArchivoSistema::LeerTodo() const
{
    struct stat datos {};
    if (::fstat(fd_, &datos) != 0)
        Fallo("leer", ruta_, CausaErrno(errno));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(datos.st_size));
    std::size_t leidos = 0;
    while (leidos < bytes.size()) {
        const ssize_t n =
            ::pread(fd_, bytes.data() + leidos, bytes.size() - leidos, static_cast<off_t>(leidos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fallo("leer", ruta_, CausaErrno(errno));
        if (n == 0)
            break;
        leidos += static_cast<std::size_t>(n);
    }
    bytes.resize(leidos);
    return bytes;
}

void ArchivoSistema::Escribir(std::uint64_t posicion, std::span<const std::uint8_t> bytes)
{
    if (soloLectura_)
        Fallo("escribir en", ruta_, "es de solo lectura");
    FalloSimulado(fallos::Operacion::Escribir, "escribir en", ruta_);
    std::size_t escritos = 0;
    while (escritos < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + escritos, bytes.size() - escritos,
                                   static_cast<off_t>(posicion + escritos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fallo("escribir en", ruta_, n < 0 ? CausaErrno(errno) : "no se escribió nada");
        escritos += static_cast<std::size_t>(n);
    }
}

void ArchivoSistema::Truncar(std::uint64_t tamano)
{
    FalloSimulado(fallos::Operacion::Escribir, "escribir en", ruta_);
    if (::ftruncate(fd_, static_cast<off_t>(tamano)) != 0)
        Fallo("escribir en", ruta_, CausaErrno(errno));
}

#endif

} // namespace durlavex::dbf
