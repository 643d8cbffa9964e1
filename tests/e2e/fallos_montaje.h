#pragma once
// Faults of the file system for end-to-end tests: a small tmpfs or a
// read-only bind mount over a folder, and an advisory lock another program
// would hold. Each is undone when the object goes.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace durlavex::pruebas {

// A mount over `carpeta`; Activo() tells whether it took (it needs root).
class Montaje {
  public:
    // A tmpfs of `tamano` (mount's syntax: "256k", "1m").
    static Montaje Tmpfs(const std::filesystem::path& carpeta, const std::string& tamano)
    {
        Montaje m(carpeta);
        const std::string opciones = "size=" + tamano + ",mode=0755";
        m.activo_ = ::mount("tmpfs", carpeta.c_str(), "tmpfs", 0, opciones.c_str()) == 0;
        m.causa_ = m.activo_ ? "" : std::strerror(errno);
        return m;
    }

    // The folder as it is, seen read-only through a bind mount over itself.
    static Montaje SoloLectura(const std::filesystem::path& carpeta)
    {
        Montaje m(carpeta);
        m.activo_ = ::mount(carpeta.c_str(), carpeta.c_str(), nullptr, MS_BIND, nullptr) == 0;
        if (m.activo_ &&
            ::mount(nullptr, carpeta.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            m.causa_ = std::strerror(errno);
            ::umount2(carpeta.c_str(), MNT_DETACH);
            m.activo_ = false;
        } else if (!m.activo_) {
            m.causa_ = std::strerror(errno);
        }
        return m;
    }

    Montaje(Montaje&& otro) noexcept : carpeta_(otro.carpeta_), activo_(otro.activo_), causa_(otro.causa_)
    {
        otro.activo_ = false;
    }
    Montaje& operator=(Montaje&&) = delete;
    ~Montaje()
    {
        if (activo_)
            ::umount2(carpeta_.c_str(), MNT_DETACH);
    }

    bool Activo() const { return activo_; }
    std::string Motivo() const
    {
        return "no se puede montar en «" + carpeta_.string() + "» (" + causa_ + ")";
    }

  private:
    explicit Montaje(std::filesystem::path carpeta) : carpeta_(std::move(carpeta)) {}
    std::filesystem::path carpeta_;
    bool activo_ = false;
    std::string causa_;
};

// The exclusive advisory lock the dBase engine takes, held on a file as
// another program would hold it while the table is open there.
class BloqueoAjeno {
  public:
    explicit BloqueoAjeno(const std::filesystem::path& ruta)
        : fd_(::open(ruta.c_str(), O_RDWR | O_CLOEXEC)),
          tomado_(fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0)
    {
    }
    ~BloqueoAjeno()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    BloqueoAjeno(const BloqueoAjeno&) = delete;
    BloqueoAjeno& operator=(const BloqueoAjeno&) = delete;

    bool Tomado() const { return tomado_; }

  private:
    int fd_;
    bool tomado_;
};

// The names of the files in a folder that look like an unfinished save.
inline std::string ArchivosTemporales(const std::filesystem::path& carpeta)
{
    std::string nombres;
    for (const auto& entrada : std::filesystem::directory_iterator(carpeta)) {
        const std::string nombre = entrada.path().filename().string();
        if (nombre.find("tmp") != std::string::npos || nombre.find("temp") != std::string::npos ||
            nombre.find('~') != std::string::npos)
            nombres += nombre + " ";
    }
    return nombres;
}

} // namespace durlavex::pruebas
