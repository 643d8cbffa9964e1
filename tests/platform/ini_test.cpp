// Writing one key of an ini file: the bytes before and after, and the files
// and folders that cannot be written.

#include "comun/directorio_temporal.h"
#include "platform/error.h"
#include "platform/ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <unistd.h>

namespace durlavex::pruebas {
namespace {

namespace fs = std::filesystem;

std::string Leer(const fs::path& ruta)
{
    std::ifstream entrada(ruta, std::ios::binary);
    std::ostringstream texto;
    texto << entrada.rdbuf();
    return texto.str();
}

void Escribir(const fs::path& ruta, const std::string& bytes)
{
    std::ofstream(ruta, std::ios::binary) << bytes;
}

struct CasoIni {
    const char* nombre;
    std::optional<std::string> antes; // no file at all when absent
    const char* seccion;
    const char* clave;
    const char* valor;
    std::string despues;
};

class IniTest : public ::testing::TestWithParam<CasoIni> {};

TEST_P(IniTest, SoloCambiaLaLineaDeLaClave)
{
    const CasoIni& caso = GetParam();
    DirectorioTemporal dir;
    const fs::path ini = dir / "Talvorin.ini";
    if (caso.antes)
        Escribir(ini, *caso.antes);

    EscribirCadenaIni(ini, caso.seccion, caso.clave, caso.valor);

    EXPECT_EQ(Leer(ini), caso.despues);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Ruta()), fs::directory_iterator()), 1)
        << "no temporary file may stay behind";
}

const CasoIni kCasos[] = {
    {"ArchivoAusente", std::nullopt, "Transformadores", "Transformado", "1",
     "[Transformadores]\r\nTransformado=1\r\n"},
    {"ArchivoVacio", "", "Transformadores", "Transformado", "-1", "[Transformadores]\r\nTransformado=-1\r\n"},
    {"SeccionAusenteTrasOtras", "[Talvorin]\r\nRuta=C:\\KTEMP\r\n\r\n[Otra]\nx=1\n", "Transformadores",
     "Transformado", "1",
     "[Talvorin]\r\nRuta=C:\\KTEMP\r\n\r\n[Otra]\nx=1\n[Transformadores]\r\nTransformado=1\r\n"},
    {"SeccionAusenteSinFinDeLinea", "[Otra]\r\nx=1", "Transformadores", "Transformado", "0",
     "[Otra]\r\nx=1\r\n[Transformadores]\r\nTransformado=0\r\n"},
    {"ClaveAusenteTrasLaUltimaClave", "[Transformadores]\r\nA=1\r\nB=2\r\n\r\n; fin\r\n[Otra]\r\nC=3\r\n",
     "Transformadores", "Transformado", "1",
     "[Transformadores]\r\nA=1\r\nB=2\r\nTransformado=1\r\n\r\n; fin\r\n[Otra]\r\nC=3\r\n"},
    {"ClaveAusenteEnSeccionSinClaves", "[Transformadores]\n\n[Otra]\nC=3\n", "Transformadores",
     "Transformado", "1", "[Transformadores]\nTransformado=1\r\n\n[Otra]\nC=3\n"},
    {"ClaveAusenteEnLaUltimaLineaSinFin", "[Transformadores]\r\nA=1", "Transformadores", "Transformado", "1",
     "[Transformadores]\r\nA=1\r\nTransformado=1\r\n"},
    {"ClaveExistenteReemplazada",
     "; Talvorin\n[Otra]\nTransformado=9\n[Transformadores]\nA =  x \nTransformado = 0 ; viejo\nB=2\n",
     "Transformadores", "Transformado", "1",
     "; Talvorin\n[Otra]\nTransformado=9\n[Transformadores]\nA =  x \nTransformado=1\r\nB=2\n"},
    {"MayusculasYEspaciosConservanLaGrafia", "  [ TRANSFORMADORES ]  \r\n\t transformado\t= 0\r\n",
     "Transformadores", "Transformado", "-1", "  [ TRANSFORMADORES ]  \r\ntransformado=-1\r\n"},
    {"ClaveSoloEnComentarioNoCuenta", "[Transformadores]\r\n;Transformado=0\r\nA=1\r\n", "Transformadores",
     "Transformado", "1", "[Transformadores]\r\n;Transformado=0\r\nA=1\r\nTransformado=1\r\n"},
    {"ClaveFueraDeSuSeccionNoCuenta", "Transformado=5\r\n[Otra]\r\nTransformado=6\r\n", "Transformadores",
     "Transformado", "1",
     "Transformado=5\r\n[Otra]\r\nTransformado=6\r\n[Transformadores]\r\nTransformado=1\r\n"},
    {"SeccionRepetidaSeEscribeLaPrimera",
     "[Transformadores]\r\nA=1\r\n[Transformadores]\r\nTransformado=0\r\n", "Transformadores", "Transformado",
     "1", "[Transformadores]\r\nA=1\r\nTransformado=1\r\n[Transformadores]\r\nTransformado=0\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Casos, IniTest, ::testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(IniEnlace, SeEscribeElArchivoEnlazadoYElEnlaceQueda)
{
    DirectorioTemporal dir;
    fs::create_directory(dir / "real");
    Escribir(dir / "real/Talvorin.ini", "[Transformadores]\r\nTransformado=0\r\n");
    fs::create_symlink("real/Talvorin.ini", dir / "Talvorin.ini");

    EscribirCadenaIni(dir / "Talvorin.ini", "Transformadores", "Transformado", "1");

    EXPECT_TRUE(fs::is_symlink(dir / "Talvorin.ini"));
    EXPECT_EQ(Leer(dir / "real/Talvorin.ini"), "[Transformadores]\r\nTransformado=1\r\n");
}

void EsperarFalloConRuta(const fs::path& ruta)
{
    try {
        EscribirCadenaIni(ruta, "Transformadores", "Transformado", "1");
        ADD_FAILURE() << "writing " << ruta << " should have failed";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + fs::absolute(ruta).string());
    }
}

TEST(IniFallos, CarpetaAusente)
{
    DirectorioTemporal dir;
    EsperarFalloConRuta(dir / "no-existe/Talvorin.ini");
    EXPECT_FALSE(fs::exists(dir / "no-existe"));
}

TEST(IniFallos, LaRutaEsUnaCarpeta)
{
    DirectorioTemporal dir;
    fs::create_directory(dir / "Talvorin.ini");
    EsperarFalloConRuta(dir / "Talvorin.ini");
    EXPECT_TRUE(fs::is_directory(dir / "Talvorin.ini"));
}

TEST(IniFallos, ArchivoDeSoloLecturaQuedaIntacto)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: permission bits do not stop writes";
    DirectorioTemporal dir;
    const fs::path ini = dir / "Talvorin.ini";
    Escribir(ini, "[Transformadores]\r\nTransformado=0\r\n");
    fs::permissions(ini, fs::perms::owner_read);
    EsperarFalloConRuta(ini);
    EXPECT_EQ(Leer(ini), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST(IniFallos, CarpetaDeSoloLecturaQuedaIntacta)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: permission bits do not stop writes";
    DirectorioTemporal dir;
    const fs::path ini = dir / "Talvorin.ini";
    Escribir(ini, "[Transformadores]\r\nTransformado=0\r\n");
    fs::permissions(dir.Ruta(), fs::perms::owner_read | fs::perms::owner_exec);
    EsperarFalloConRuta(ini);
    EsperarFalloConRuta(dir / "Nuevo.ini");
    EXPECT_EQ(Leer(ini), "[Transformadores]\r\nTransformado=0\r\n");
}

} // namespace
} // namespace durlavex::pruebas
