// The system's reasons for a failure, in Spanish whatever the system's own
// language, and by number when there are no words for one.

#include "platform/causa_sistema.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <ios>

#include "comun/directorio_temporal.h"

namespace durlavex {
namespace {

struct CasoCausa {
    const char* nombre;
    int error;
    const char* causa;
    friend void PrintTo(const CasoCausa& c, std::ostream* os) { *os << c.nombre; }
};

class Causa : public testing::TestWithParam<CasoCausa> {};

TEST_P(Causa, EnCastellanoDesdeErrnoYDesdeUnCodigoDeError)
{
    const CasoCausa& c = GetParam();
    EXPECT_EQ(CausaErrno(c.error), c.causa);
    EXPECT_EQ(CausaSistema(std::error_code(c.error, std::generic_category())), c.causa);
    EXPECT_EQ(CausaSistema(std::make_error_code(static_cast<std::errc>(c.error))), c.causa);
}

INSTANTIATE_TEST_SUITE_P(
    Errno, Causa,
    testing::Values(CasoCausa{"SinPermiso", EACCES, "no hay permiso para hacerlo"},
                    CasoCausa{"OperacionNoPermitida", EPERM, "no hay permiso para hacerlo"},
                    CasoCausa{"SoloLectura", EROFS, "el disco o la carpeta es de solo lectura"},
                    CasoCausa{"DiscoLleno", ENOSPC, "no queda espacio en el disco"},
                    CasoCausa{"NoExiste", ENOENT, "no existe el archivo o la carpeta"},
                    CasoCausa{"NoEsCarpeta", ENOTDIR, "una parte de la ruta no es una carpeta"},
                    CasoCausa{"YaExiste", EEXIST, "ya existe"},
                    CasoCausa{"NombreLargo", ENAMETOOLONG, "el nombre o la ruta es demasiado largo"},
                    CasoCausa{"EnUso", EBUSY, "el archivo o la carpeta está en uso"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(CausaSinPalabras, SeDicePorSuNumero)
{
    EXPECT_EQ(CausaErrno(EDOM), "error " + std::to_string(EDOM) + " del sistema");
    EXPECT_EQ(CausaErrno(98765), "error 98765 del sistema");
    // A code of another family is not taken for an errno value.
    EXPECT_EQ(CausaSistema(std::make_error_code(std::io_errc::stream)), "error 1 del sistema");
}

// What std::filesystem reports for a real failure.
TEST(CausaDeLaBiblioteca, CarpetaDondeHayUnArchivo)
{
    pruebas::DirectorioTemporal carpeta;
    std::ofstream(carpeta.Ruta() / "copias") << "un archivo";
    std::error_code ec;
    std::filesystem::create_directories(carpeta.Ruta() / "copias" / "2024", ec);
    ASSERT_TRUE(ec);
    EXPECT_EQ(CausaSistema(ec), "una parte de la ruta no es una carpeta");
}

} // namespace
} // namespace durlavex
