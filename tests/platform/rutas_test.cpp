// The working directory under Wine, the program folder, and file names found
// without regard to letter case.

#include "platform/rutas.h"

#include "comun/directorio_temporal.h"
#include "comun/entorno.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace durlavex {
namespace {

using pruebas::DirectorioTemporal;

// Sets (or removes, with nullopt) an environment variable for the life of the
// object and puts the old value back afterwards.
class VariableEntorno {
  public:
    VariableEntorno(const char* nombre, std::optional<std::string> valor) : nombre_(nombre)
    {
        if (const char* antes = std::getenv(nombre))
            anterior_ = antes;
        Poner(valor);
    }
    ~VariableEntorno() { Poner(anterior_); }
    VariableEntorno(const VariableEntorno&) = delete;
    VariableEntorno& operator=(const VariableEntorno&) = delete;

  private:
    void Poner(const std::optional<std::string>& valor)
    {
        if (valor)
            setenv(nombre_.c_str(), valor->c_str(), 1);
        else
            unsetenv(nombre_.c_str());
    }
    std::string nombre_;
    std::optional<std::string> anterior_;
};

void CrearArchivo(const fs::path& ruta)
{
    std::ofstream(ruta) << "x";
}

#ifdef _WIN32
TEST(DirectorioTrabajo, EsKtempEnLaUnidadC)
{
    // Whatever the environment says: Talvorin's own folder.
    VariableEntorno prefijo("WINEPREFIX", "C:\\otro");
    EXPECT_EQ(DirectorioTrabajo(), fs::path("C:\\KTEMP"));
}
#else
TEST(DirectorioTrabajo, BajoElPrefijoDeWine)
{
    VariableEntorno prefijo("WINEPREFIX", "/srv/wine-escuela");
    EXPECT_EQ(DirectorioTrabajo(), fs::path("/srv/wine-escuela/drive_c/KTEMP"));
}

TEST(DirectorioTrabajo, SinPrefijoUsaPuntoWineDelUsuario)
{
    VariableEntorno prefijo("WINEPREFIX", std::nullopt);
    VariableEntorno personal("HOME", "/home/jefatura");
    EXPECT_EQ(DirectorioTrabajo(), fs::path("/home/jefatura/.wine/drive_c/KTEMP"));
}

TEST(DirectorioTrabajo, PrefijoVacioCuentaComoAusente)
{
    VariableEntorno prefijo("WINEPREFIX", "");
    VariableEntorno personal("HOME", "/home/jefatura");
    EXPECT_EQ(DirectorioTrabajo(), fs::path("/home/jefatura/.wine/drive_c/KTEMP"));
}
#endif

TEST(CarpetaPrograma, EsLaCarpetaDelEjecutable)
{
#ifdef _WIN32
    EXPECT_TRUE(ExisteArchivo(CarpetaPrograma() / "test_platform.exe"));
#else
    EXPECT_TRUE(ExisteArchivo(CarpetaPrograma() / "test_platform"));
#endif
}

TEST(BuscarArchivo, SinDistinguirMayusculas)
{
    DirectorioTemporal dir;
    CrearArchivo(dir / "proft.dbf");
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "PROFT.DBF"), dir / "proft.dbf");
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "Proft.Dbf"), dir / "proft.dbf");
    EXPECT_EQ(RutaArchivo(dir.Ruta(), "PROFT.DBF"), dir / "proft.dbf");
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "AULAT.DBF"), std::nullopt);
}

// Names that differ only in letter case are one file on Windows.
#ifndef _WIN32
TEST(BuscarArchivo, LaCoincidenciaExactaGana)
{
    DirectorioTemporal dir;
    CrearArchivo(dir / "NIVELCAN.dbf");
    CrearArchivo(dir / "NIVELCAN.DBF");
    CrearArchivo(dir / "nivelcan.dbf");
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "NIVELCAN.DBF"), dir / "NIVELCAN.DBF");
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "nivelcan.dbf"), dir / "nivelcan.dbf");
    // No exact match: the smallest name in byte order, whatever the listing order.
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "NivelCan.Dbf"), dir / "NIVELCAN.DBF");
}
#endif

TEST(BuscarArchivo, UnaCarpetaNoEsUnArchivo)
{
    DirectorioTemporal dir;
    fs::create_directory(dir / "aulat.dbf");
    fs::create_directory(dir / "GRUPOST.DBF");
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "AULAT.DBF"), std::nullopt);
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), "GRUPOST.DBF"), std::nullopt);
    EXPECT_FALSE(ExisteArchivo(dir / "GRUPOST.DBF"));
}

TEST(BuscarArchivo, CarpetaInexistenteNoFalla)
{
    DirectorioTemporal dir;
    EXPECT_EQ(BuscarArchivo(dir / "KTEMP", "PROFT.DBF"), std::nullopt);
    EXPECT_EQ(BuscarArchivo(dir.Ruta(), ""), std::nullopt);
}

TEST(RutaArchivo, NombreNuevoEnMayusculas)
{
    DirectorioTemporal dir;
    EXPECT_EQ(RutaArchivo(dir.Ruta(), "cursost.dbf"), dir / "CURSOST.DBF");
}

TEST(ExisteArchivo, SoloArchivosRegulares)
{
    DirectorioTemporal dir;
    CrearArchivo(dir / "PROFT.DBF");
    EXPECT_TRUE(ExisteArchivo(dir / "PROFT.DBF"));
    EXPECT_FALSE(ExisteArchivo(dir / "AULAT.DBF"));
    EXPECT_FALSE(ExisteArchivo(dir.Ruta()));
    EXPECT_FALSE(ExisteArchivo(fs::path()));
}

TEST(BorrarArchivo, BorraSoloArchivos)
{
    DirectorioTemporal dir;
    CrearArchivo(dir / "PROFT.DBF");
    fs::create_directory(dir / "VACIA");
    BorrarArchivo(dir / "PROFT.DBF");
    BorrarArchivo(dir / "VACIA");
    BorrarArchivo(dir / "NOEXISTE.DBF");
    EXPECT_FALSE(fs::exists(dir / "PROFT.DBF"));
    EXPECT_TRUE(fs::is_directory(dir / "VACIA"));
}

} // namespace
} // namespace durlavex
