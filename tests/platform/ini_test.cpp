// Writing one key of an ini file: the bytes before and after, and the files
// and folders that cannot be written.

#include "comun/directorio_temporal.h"
#include "comun/entorno.h"
#include "platform/error.h"
#include "platform/ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace durlavex::pruebas {
namespace {

namespace fs = std::filesystem;

// Wine's WritePrivateProfileString, unlike Windows', writes the whole file
// anew in its own layout (CR LF everywhere, no blanks around "="): there only
// what a reader of the file gets back can be checked.

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

#ifdef _WIN32
    if (BajoWine()) {
        char leido[64] = {};
        GetPrivateProfileStringA(caso.seccion, caso.clave, "", leido, sizeof leido, ini.string().c_str());
        EXPECT_STREQ(leido, caso.valor);
        return;
    }
#endif
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

// Symbolic links need a privilege on Windows.
#ifndef _WIN32
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
#endif

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
    if (EscribeSinPermisos())
        GTEST_SKIP() << "running as root: permission bits do not stop writes";
    DirectorioTemporal dir;
    const fs::path ini = dir / "Talvorin.ini";
    Escribir(ini, "[Transformadores]\r\nTransformado=0\r\n");
    fs::permissions(ini, fs::perms::owner_read);
    EsperarFalloConRuta(ini);
    EXPECT_EQ(Leer(ini), "[Transformadores]\r\nTransformado=0\r\n");
}

// A read-only folder keeps no file out on Windows (the attribute means
// something else there).
#ifndef _WIN32
TEST(IniFallos, CarpetaDeSoloLecturaQuedaIntacta)
{
    if (EscribeSinPermisos())
        GTEST_SKIP() << "running as root: permission bits do not stop writes";
    DirectorioTemporal dir;
    const fs::path ini = dir / "Talvorin.ini";
    Escribir(ini, "[Transformadores]\r\nTransformado=0\r\n");
    fs::permissions(dir.Ruta(), fs::perms::owner_read | fs::perms::owner_exec);
    EsperarFalloConRuta(ini);
    EsperarFalloConRuta(dir / "Nuevo.ini");
    EXPECT_EQ(Leer(ini), "[Transformadores]\r\nTransformado=0\r\n");
}
#endif

} // namespace
} // namespace durlavex::pruebas
