// Tables that real dBase and FoxPro programs wrote, from the reference folder
// beside the project (skipped when it is absent): read whole, with the field
// lists their summaries give.

#include "comun/omitir.h"
#include "dbf/ayudas_dbf.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace durlavex::pruebas {
namespace {

using dbf::ArchivoDbf;
using dbf::Version;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// A field as the summaries list it: name, type, length, decimals.
struct CampoEsperado {
    std::string nombre;
    char tipo;
    int ancho;
    int decimales;
    friend bool operator==(const CampoEsperado&, const CampoEsperado&) = default;
    friend std::ostream& operator<<(std::ostream& o, const CampoEsperado& c)
    {
        return o << c.nombre << " " << c.tipo << "(" << c.ancho << "," << c.decimales << ")";
    }
};

struct Resumen {
    std::vector<CampoEsperado> campos;
    std::optional<std::size_t> registros;
};

// The "Records:" line and the rows under the dashed line of a summary file.
Resumen LeerResumen(const std::filesystem::path& ruta)
{
    std::ifstream f(ruta);
    Resumen r;
    std::string linea;
    bool enCampos = false;
    while (std::getline(f, linea)) {
        if (linea.rfind("Records:", 0) == 0)
            r.registros = std::stoul(linea.substr(8));
        std::istringstream partes(linea);
        CampoEsperado c;
        std::string tipo;
        if (enCampos && partes >> c.nombre >> tipo >> c.ancho >> c.decimales) {
            c.tipo = tipo[0];
            r.campos.push_back(c);
        }
        enCampos = enCampos || linea.rfind("---", 0) == 0;
    }
    return r;
}

std::vector<CampoEsperado> CamposLeidos(const ArchivoDbf& t)
{
    std::vector<CampoEsperado> campos;
    for (const dbf::Campo& c : t.Campos())
        campos.push_back({c.nombre, c.tipo, c.ancho, c.decimales});
    return campos;
}

// Reads every field of every row, as the store would.
void LeerTodo(const ArchivoDbf& t)
{
    for (std::size_t fila = 0; fila < t.NumRegistros(); ++fila)
        for (std::size_t campo = 0; campo < t.Campos().size(); ++campo)
            t.Texto(fila, campo);
}

class MuestraConResumen : public ::testing::TestWithParam<const char*> {};

TEST_P(MuestraConResumen, SeLeeEnteraConLosCamposDelResumen)
{
    const auto ruta = Muestras() / "infused-dbf" / (std::string(GetParam()) + ".dbf");
    if (!std::filesystem::exists(ruta)) {
        DURLAVEX_OMITIR_SI_FALTA() << ruta << " not found";
    }
    const Resumen resumen =
        LeerResumen(Muestras() / "infused-dbf" / (std::string(GetParam()) + "_summary.txt"));
    const auto t = ArchivoDbf::Decodificar(LeerBytes(ruta), ruta.string());
    EXPECT_EQ(CamposLeidos(*t), resumen.campos);
    EXPECT_EQ(t->NumRegistros(), resumen.registros.value_or(t->NumRegistros()));
    EXPECT_NO_THROW(LeerTodo(*t));
}

INSTANTIATE_TEST_SUITE_P(Infused, MuestraConResumen,
                         ::testing::Values("dbase_03", "dbase_30", "dbase_31", "dbase_83", "dbase_8b",
                                           "cp1251"));

class MuestraSinResumen : public ::testing::TestWithParam<const char*> {};

TEST_P(MuestraSinResumen, SeLeeEntera)
{
    const auto ruta = Muestras() / GetParam();
    if (!std::filesystem::exists(ruta)) {
        DURLAVEX_OMITIR_SI_FALTA() << ruta << " not found";
    }
    const auto t = ArchivoDbf::Decodificar(LeerBytes(ruta), ruta.string());
    EXPECT_GT(t->NumRegistros(), 0u);
    EXPECT_NO_THROW(LeerTodo(*t));
}

INSTANTIATE_TEST_SUITE_P(Otras, MuestraSinResumen,
                         ::testing::Values("tdbf-demo/DBASE4.dbf", "tdbf-demo/DBASEWIN.dbf",
                                           "tdbf-demo/VisualDBase.dbf", "generated/fpc322-tdbf-i6/REF7.DBF",
                                           "generated/tdbf702-i200/REF7.DBF",
                                           "generated/tdbf702-n200/REF7.DBF"));

class MuestrasReales : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(Muestras())) {
            DURLAVEX_OMITIR_SI_FALTA() << "sample files not found in " << Muestras();
        }
    }
};

TEST_F(MuestrasReales, Nivel7EscritoPorDBase)
{
    const auto t =
        ArchivoDbf::Decodificar(LeerBytes(Muestras() / "infused-dbf" / "dbase_8c.dbf"), "dbase_8c.dbf");
    EXPECT_EQ(t->VersionArchivo(), Version::DBase7);
    EXPECT_EQ(CamposLeidos(*t), (std::vector<CampoEsperado>{{"ID", '+', 4, 0},
                                                            {"Name", 'C', 30, 0},
                                                            {"Species", 'C', 40, 0},
                                                            {"Length CM", 'N', 20, 4},
                                                            {"Description", 'M', 10, 0},
                                                            {"OLE Graphic", 'G', 10, 0}}));
    EXPECT_TRUE(t->Campos()[0].indiceProduccion);
    ASSERT_EQ(t->NumRegistros(), 10u);
    std::vector<std::string> ids;
    for (std::size_t fila = 0; fila < 10; ++fila)
        ids.push_back(t->Texto(fila, 0));
    EXPECT_EQ(ids, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
}

TEST_F(MuestrasReales, DBaseIVConIdioma)
{
    const auto t =
        ArchivoDbf::Decodificar(LeerBytes(Muestras() / "idataconnect-jdbfdriver" / "TEST.DBF"), "TEST.DBF");
    EXPECT_EQ(t->VersionArchivo(), Version::DBase4);
    EXPECT_EQ(CamposLeidos(*t), (std::vector<CampoEsperado>{{"TEST1", 'C', 50, 0}, {"TEST2", 'N', 10, 0}}));
    ASSERT_EQ(t->NumRegistros(), 3u);
    EXPECT_EQ(t->Numero(0, 1), 10.0);
    EXPECT_EQ(t->Numero(1, 1), 20.0);
    EXPECT_EQ(t->Numero(2, 1), 15.0);
}

TEST_F(MuestrasReales, FoxBaseSeRechazaNombrandoElArchivo)
{
    const auto ruta = Muestras() / "infused-dbf" / "dbase_02.dbf";
    EXPECT_THAT(
        [&] { ArchivoDbf::Decodificar(LeerBytes(ruta), ruta.string()); },
        ThrowsMessage<Error>(HasSubstr("«" + ruta.string() + "» no es válida: el byte de versión 0x02")));
}

} // namespace
} // namespace durlavex::pruebas
