#pragma once
// An open file of the operating system with an advisory whole-file lock:
// flock on POSIX systems, LockFileEx on Windows. Locks are non-blocking: a
// lock another process holds is reported at once, never waited for.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace durlavex::dbf {

class ArchivoSistema {
  public:
    enum class Modo { Abrir, Crear };

    // Opens (or creates, without truncating) the file for reading and writing;
    // an existing file that cannot be written is opened read-only.
    // Throws Error naming the file when it cannot be opened.
    ArchivoSistema(const std::filesystem::path& ruta, Modo modo);
    ~ArchivoSistema();
    ArchivoSistema(const ArchivoSistema&) = delete;
    ArchivoSistema& operator=(const ArchivoSistema&) = delete;

    // Takes or changes the lock; false when another process holds one that
    // conflicts. A failed change from shared to exclusive keeps the shared lock
    // when no other process took it meanwhile.
    bool Bloquear(bool exclusivo);
    bool SoloLectura() const { return soloLectura_; }

    std::vector<std::uint8_t> LeerTodo() const;
    void Escribir(std::uint64_t posicion, std::span<const std::uint8_t> bytes);
    void Truncar(std::uint64_t tamano);

  private:
    std::filesystem::path ruta_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool soloLectura_ = false;
    bool bloqueado_ = false;
};

} // namespace durlavex::dbf
