#pragma once
// A fresh folder under the system's temporary folder, removed with the object.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace durlavex::pruebas {

class DirectorioTemporal {
  public:
    DirectorioTemporal()
    {
        std::random_device azar;
        for (;;) {
            ruta_ = std::filesystem::temp_directory_path() /
                    ("durlavex-prueba-" + std::to_string(azar()) + std::to_string(azar()));
            if (std::filesystem::create_directory(ruta_))
                break;
        }
    }
    ~DirectorioTemporal()
    {
        std::error_code ec;
        std::filesystem::permissions(ruta_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(ruta_, ec);
    }
    DirectorioTemporal(const DirectorioTemporal&) = delete;
    DirectorioTemporal& operator=(const DirectorioTemporal&) = delete;

    const std::filesystem::path& Ruta() const { return ruta_; }
    std::filesystem::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

  private:
    std::filesystem::path ruta_;
};

} // namespace durlavex::pruebas
