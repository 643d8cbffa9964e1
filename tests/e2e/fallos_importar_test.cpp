// durlavex-cli importar when the system fails it: a result folder that is
// read-only or full, SOLUC.DBF held by another program, damaged or holding a
// day or hour that is not a number. Each run must end with status 1 and a
// message naming what failed and where, leave the exchange file and an
// earlier result file as they were, and leave no temporary file behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "comun/programa.h"
#include "e2e/escuela_importacion.h"
#include "e2e/fallos_montaje.h"
#include "import/dbase3.h"
#include "import/fixture_importacion.h"
#include "tables/esquemas.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;

using pruebas::Salida;
constexpr auto Leer = pruebas::LeerArchivo;

using pruebas::kCamposSoluc;

const std::string kResultadoAnterior = "<resultado>de la importación anterior</resultado>\n";

// A school of two teachers and one lesson, a result file of an earlier run
// beside the exchange file.
class FallosImportar : public testing::Test {
  public:
    void SetUp() override
    {
        fs::create_directories(ktemp);
        pruebas::EscribirEscuelaExportada(ktemp);
        EscribirSoluc({{"P1", "3", "2", "MAT", "1A", "", "A1"}});
        PrepararOrigen();
    }

    void EscribirSoluc(const std::vector<std::vector<std::string>>& filas)
    {
        pruebas::EscribirDbase3(ktemp / "SOLUC.DBF", kCamposSoluc, filas);
    }

    void PrepararOrigen()
    {
        pruebas::ArchivoIntercambio().Anno("2023/2024").Guardar(archivo);
        std::ofstream(Resultado(), std::ios::binary) << kResultadoAnterior;
    }

    Salida Importar()
    {
        return pruebas::EjecutarPrograma(DURLAVEX_CLI, {{"WINEPREFIX", prefijo.Ruta().string()}},
                                         "importar '" + archivo.string() + "'", salidas.Ruta());
    }

    // What every failed import must keep.
    void ComprobarNadaPerdido(const Salida& s, const std::string& xml)
    {
        EXPECT_THAT(s.salida, Not(HasSubstr("Proceso finalizado")));
        EXPECT_EQ(Leer(archivo), xml);
        EXPECT_EQ(Leer(Resultado()), kResultadoAnterior);
        EXPECT_EQ(pruebas::ArchivosTemporales(origen.Ruta()), "");
    }

    fs::path Resultado() const { return origen / "ResultadoTalvosvorna.xml"; }

    pruebas::DirectorioTemporal prefijo;
    pruebas::DirectorioTemporal origen;
    pruebas::DirectorioTemporal salidas;
    fs::path ktemp = prefijo.Ruta() / "drive_c" / "KTEMP";
    fs::path archivo = origen / "vorna.xml";
};

TEST_F(FallosImportar, CarpetaDelResultadoDeSoloLecturaSaleConUnoYLaNombra)
{
    const auto xml = Leer(archivo);
    const pruebas::Montaje soloLectura = pruebas::Montaje::SoloLectura(origen.Ruta());
    if (!soloLectura.Activo())
        GTEST_SKIP() << soloLectura.Motivo();

    const Salida s = Importar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_THAT(s.errores, HasSubstr("No se pudo crear el archivo temporal «" + Resultado().string() +
                                     ".tmp» para guardar «" + Resultado().string() + "»"))
        << s.errores;
    ComprobarNadaPerdido(s, xml);
}

// The import only reads the working directory: a read-only one is no obstacle.
TEST_F(FallosImportar, DirectorioDeTrabajoDeSoloLecturaBasta)
{
    const pruebas::Montaje soloLectura = pruebas::Montaje::SoloLectura(ktemp);
    if (!soloLectura.Activo())
        GTEST_SKIP() << soloLectura.Motivo();

    const Salida s = Importar();

    EXPECT_EQ(s.estado, 0) << s.salida << s.errores;
    EXPECT_THAT(Leer(Resultado()), HasSubstr("<dato nombre_dato=\"X_TRAMO\">T32</dato>"));
}

TEST_F(FallosImportar, DiscoLlenoDejaElResultadoAnteriorYNingunTemporal)
{
    const pruebas::Montaje disco = pruebas::Montaje::Tmpfs(origen.Ruta(), "128k");
    if (!disco.Activo())
        GTEST_SKIP() << disco.Motivo();
    PrepararOrigen();
    EscribirSoluc(std::vector<std::vector<std::string>>(5000, {"P1", "3", "2", "MAT", "1A", "", "A1"}));
    const auto xml = Leer(archivo);

    const Salida s = Importar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_EQ(s.errores, "No se pudo escribir el archivo temporal «" + Resultado().string() +
                             ".tmp» para guardar «" + Resultado().string() +
                             "»: no queda espacio en el disco.\n")
        << s.errores;
    ComprobarNadaPerdido(s, xml);
}

TEST_F(FallosImportar, SolucAbiertaPorOtroProgramaSaleConUnoYLaNombra)
{
    const pruebas::BloqueoAjeno otro(ktemp / "SOLUC.DBF");
    ASSERT_TRUE(otro.Tomado());
    const auto xml = Leer(archivo);

    const Salida s = Importar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_THAT(s.errores,
                HasSubstr("La tabla «" + (ktemp / "SOLUC.DBF").string() +
                          "» no se puede abrir en exclusiva porque otro programa la tiene abierta"))
        << s.errores;
    ComprobarNadaPerdido(s, xml);
}

// A SOLUC.DBF the import cannot use, and a piece of the message that says why.
struct CasoSoluc {
    const char* nombre;
    std::function<void(FallosImportar&, const fs::path&)> preparar;
    std::string errores;
    friend void PrintTo(const CasoSoluc& c, std::ostream* os) { *os << c.nombre; }
};

class FallosImportarSoluc : public FallosImportar, public testing::WithParamInterface<CasoSoluc> {};

void Recortar(const fs::path& ruta, std::uintmax_t tamano)
{
    fs::resize_file(ruta, tamano);
}

const CasoSoluc kSolucInservible[] = {
    {"TruncadaEnLaCabecera", [](FallosImportar&, const fs::path& r) { Recortar(r, 40); }, "SOLUC.DBF"},
    {"TruncadaEnUnRegistro", [](FallosImportar&, const fs::path& r) { Recortar(r, fs::file_size(r) - 20); },
     "SOLUC.DBF"},
    {"Corrupta",
     [](FallosImportar&, const fs::path& r) {
         std::fstream f(r, std::ios::binary | std::ios::in | std::ios::out);
         f.seekp(8);
         f.write("\xFF\xFF\xFF\xFF", 4); // header and record length past the end
     },
     "SOLUC.DBF"},
    {"DeTexto", [](FallosImportar&, const fs::path& r) { std::ofstream(r) << "horario"; }, "SOLUC.DBF"},
    {"DiaQueNoEsNumero",
     [](FallosImportar& t, const fs::path&) {
         t.EscribirSoluc({{"P1", "x", "2", "MAT", "1A", "", "A1"}});
     },
     "El valor «x» en el campo «DIA» de la tabla"},
    {"HoraQueNoEsNumero",
     [](FallosImportar& t, const fs::path&) {
         t.EscribirSoluc({{"P1", "3", "2b", "MAT", "1A", "", "A1"}});
     },
     "El valor «2b» en el campo «HORA» de la tabla"},
};

TEST_P(FallosImportarSoluc, SaleConUnoYLoDice)
{
    GetParam().preparar(*this, ktemp / "SOLUC.DBF");
    const auto xml = Leer(archivo);

    const Salida s = Importar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_THAT(s.errores, HasSubstr(GetParam().errores)) << s.errores;
    ComprobarNadaPerdido(s, xml);
}

INSTANTIATE_TEST_SUITE_P(Importar, FallosImportarSoluc, testing::ValuesIn(kSolucInservible),
                         [](const auto& info) { return std::string(info.param.nombre); });

// An external entity in the exchange file is neither fetched nor expanded:
// what the local file holds reaches neither the result file nor the output.
TEST_F(FallosImportar, EntidadExternaNoLlegaAlResultado)
{
    const std::string marca = "MARCA-DE-FUERA-5813";
    std::ofstream(origen / "fuera.txt") << marca;
    std::string texto = pruebas::ArchivoIntercambio()
                            .Anno("2023/2024")
                            .Grupo("MATERIAS", {{"&fuera;"}})
                            .Texto("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE SERVICIO "
                                   "[<!ENTITY fuera SYSTEM \"file://" +
                                   (origen / "fuera.txt").string() + "\">]>");
    texto.replace(texto.find("&amp;fuera;"), 11, "&fuera;");
    std::ofstream(archivo, std::ios::binary) << texto;

    const Salida s = Importar();

    EXPECT_EQ(s.estado, 0) << s.salida << s.errores;
    EXPECT_THAT(Leer(Resultado()), HasSubstr("<dato nombre_dato=\"X_TRAMO\">T32</dato>"));
    EXPECT_THAT(Leer(Resultado()), Not(HasSubstr(marca)));
    EXPECT_THAT(s.salida + s.errores, Not(HasSubstr(marca)));
}

} // namespace
} // namespace durlavex
