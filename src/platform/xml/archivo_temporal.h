#pragma once
// The temporary file a document is saved into before it takes the place of
// its destination: written whole or not at all, so that a failed save leaves
// an earlier file of that name as it was and no half-written one behind.
// Every failure names the file and says why in Spanish.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace durlavex {

class ArchivoTemporal {
  public:
    // Creates "<destino>.tmp". Throws Error naming both files and the reason
    // (a folder that cannot be written, a full disk).
    explicit ArchivoTemporal(std::filesystem::path destino);
    // Not put in place: the temporary file goes.
    ~ArchivoTemporal();
    ArchivoTemporal(const ArchivoTemporal&) = delete;
    ArchivoTemporal& operator=(const ArchivoTemporal&) = delete;

    // False once a write has failed; the reason is kept for the error.
    bool Escribir(const char* bytes, std::size_t largo);

    // Throws the error of a failed write.
    [[noreturn]] void FalloEscritura() const;

    // Closes the file and renames it over the destination. Throws Error when
    // a write failed or the rename is refused.
    void Colocar();

    const std::filesystem::path& Ruta() const { return temporal_; }

  private:
    std::filesystem::path destino_;
    std::filesystem::path temporal_;
    std::ofstream salida_;
    std::error_code error_;
    bool colocado_ = false;
};

// The C callback libxml2's xmlSaveToIO writes through, on an ArchivoTemporal.
int EscribirEnTemporal(void* archivo, const char* bytes, int largo);

} // namespace durlavex
