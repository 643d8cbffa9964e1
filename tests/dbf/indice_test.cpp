// The production index: ascending keys with ties in record order, kept in
// step with every post, in a file whose tree a reader walks in that order.

#include "comun/directorio_temporal.h"
#include "comun/omitir.h"
#include "dbf/ayudas_dbf.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/dbf/indice_mdx.h"
#include "platform/error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <numeric>
#include <sstream>

namespace durlavex::pruebas {
namespace {

using dbf::Acceso;
using dbf::ArchivoDbf;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// The layout of DIASHORAST2: nine text fields and ORDEN, indexed.
std::vector<dbf::Campo> CamposDiasHoras()
{
    return {Texto("DIHO", 10),   Texto("CODDIHO", 10),  Texto("DIA", 20),      Texto("TEXTODIA", 20),
            Texto("HORA", 8),    Texto("TEXTOHOR", 15), Texto("HORADESDE", 8), Texto("HORAHASTA", 8),
            Texto("MINUTOS", 8), Entero("ORDEN")};
}

// Creates DIASHORAST2 in `dir` and appends one row per value of ORDEN.
std::shared_ptr<ArchivoDbf> DiasHoras(const DirectorioTemporal& dir, const std::vector<double>& ordenes)
{
    const auto ruta = dir / "DIASHORAST2.DBF";
    ArchivoDbf::Crear(ruta, CamposDiasHoras(), {{"ORDEN", "ORDEN"}});
    auto t = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    for (std::size_t i = 0; i < ordenes.size(); ++i) {
        std::string r = t->RegistroVacio();
        t->PonerTexto(r, 0, std::to_string(i + 1));
        t->PonerNumero(r, 9, ordenes[i]);
        t->Agregar(r);
    }
    return t;
}

std::vector<std::size_t> RegistrosDelMdx(const std::filesystem::path& mdx, const std::string& etiqueta)
{
    std::vector<std::size_t> filas;
    for (std::uint32_t r : dbf::RecorrerEtiquetaMdx(LeerBytes(mdx), etiqueta, mdx.string()))
        filas.push_back(r - 1u);
    return filas;
}

TEST(IndiceMdx, OrdenAscendenteConEmpatesEnOrdenDeRegistro)
{
    DirectorioTemporal dir;
    auto t = DiasHoras(dir, {540, 480, 600, 480, 540, 660});
    EXPECT_THAT(t->OrdenIndice("ORDEN"), ElementsAre(1, 3, 0, 4, 2, 5));
    EXPECT_THAT(t->OrdenIndice("orden"), ElementsAre(1, 3, 0, 4, 2, 5)) << "tag names ignore letter case";
    EXPECT_THAT(RegistrosDelMdx(dir / "DIASHORAST2.MDX", "ORDEN"), ElementsAre(1, 3, 0, 4, 2, 5));
    EXPECT_THAT([&] { t->OrdenIndice("OTRO"); }, ThrowsMessage<Error>(HasSubstr("«OTRO»")));
}

TEST(IndiceMdx, ReemplazarMueveLaClaveYUnaAperturaNuevaLeeElMismoOrden)
{
    DirectorioTemporal dir;
    {
        auto t = DiasHoras(dir, {10, 20, 30});
        std::string r = t->Registro(0);
        t->PonerNumero(r, 9, 25);
        t->Reemplazar(0, r);
        EXPECT_THAT(t->OrdenIndice("ORDEN"), ElementsAre(1, 0, 2));
        r = t->Registro(2);
        t->PonerTexto(r, 9, "");
        t->Reemplazar(2, r);
        EXPECT_THAT(t->OrdenIndice("ORDEN"), ElementsAre(2, 1, 0)) << "a blank number is 0 in a key";
    }
    auto t = ArchivoDbf::Abrir(dir / "DIASHORAST2.DBF", Acceso::Compartido);
    ASSERT_EQ(t->Indices().size(), 1u);
    EXPECT_EQ(t->Indices()[0].etiqueta, "ORDEN");
    EXPECT_EQ(t->Indices()[0].campo, "ORDEN");
    EXPECT_THAT(t->OrdenIndice("ORDEN"), ElementsAre(2, 1, 0));
    EXPECT_THAT(RegistrosDelMdx(dir / "DIASHORAST2.MDX", "ORDEN"), ElementsAre(2, 1, 0));
}

TEST(IndiceMdx, CabecerasDeLaTablaYDelIndice)
{
    DirectorioTemporal dir;
    DiasHoras(dir, {1, 2});
    const Bytes dbf = LeerBytes(dir / "DIASHORAST2.DBF");
    EXPECT_EQ(dbf[28], 0x01) << "production index present";
    for (std::size_t campo = 0; campo < 10; ++campo)
        EXPECT_EQ(dbf[68 + 48 * campo + 37], campo == 9 ? 0x01 : 0x00) << "index flag of field " << campo;

    const Bytes mdx = LeerBytes(dir / "DIASHORAST2.MDX");
    EXPECT_EQ(mdx[0], 3) << "level 7 index";
    EXPECT_EQ(TextoEn(mdx, 4, 16), std::string("DIASHORA") + std::string(8, '\0'));
    EXPECT_EQ(U16(mdx, 20), 2u);
    EXPECT_EQ(U16(mdx, 22), 1024u);
    EXPECT_EQ(mdx[24], 1);
    EXPECT_EQ(mdx[25], 48);
    EXPECT_EQ(mdx[26], 43);
    EXPECT_EQ(U16(mdx, 28), 1u);
    EXPECT_EQ(U32(mdx, 32) * 512u, mdx.size());
    const std::size_t entrada = 512 + 43;
    const std::size_t cabeceraEtiqueta = U32(mdx, entrada) * 512u;
    EXPECT_EQ(TextoEn(mdx, entrada + 4, 6), std::string("ORDEN\0", 6));
    EXPECT_EQ(mdx[entrada + 42], 'N');
    EXPECT_EQ(mdx[cabeceraEtiqueta + 9], 'N');
    EXPECT_EQ(U16(mdx, cabeceraEtiqueta + 12), 12u) << "key length";
    EXPECT_EQ(U16(mdx, cabeceraEtiqueta + 18), 16u) << "key entry length";
    EXPECT_EQ(TextoEn(mdx, cabeceraEtiqueta + 24, 6), std::string("ORDEN\0", 6));
}

// Trees of one leaf, of a full leaf, of two levels and of three levels, with
// equal keys running across leaf boundaries.
class TamanoDeIndice : public ::testing::TestWithParam<int> {};

TEST_P(TamanoDeIndice, ElArbolSeRecorreEnElOrdenDelIndice)
{
    DirectorioTemporal dir;
    std::vector<double> ordenes;
    for (int i = 0; i < GetParam(); ++i)
        ordenes.push_back((i * 37) % 11 * 60);
    auto t = DiasHoras(dir, ordenes);

    std::vector<std::size_t> esperado(ordenes.size());
    std::iota(esperado.begin(), esperado.end(), 0);
    std::stable_sort(esperado.begin(), esperado.end(),
                     [&](auto a, auto b) { return ordenes[a] < ordenes[b]; });
    EXPECT_EQ(t->OrdenIndice("ORDEN"), esperado);
    EXPECT_EQ(RegistrosDelMdx(dir / "DIASHORAST2.MDX", "ORDEN"), esperado);
}

INSTANTIATE_TEST_SUITE_P(Filas, TamanoDeIndice, ::testing::Values(0, 1, 63, 64, 127, 300, 4000),
                         [](const auto& info) { return std::to_string(info.param) + "Filas"; });

struct CasoBcd {
    const char* nombre;
    double valor;
    int ancho;
    int decimales;
    std::vector<std::uint8_t> inicio; // the key's first bytes; the rest are 0
};

class ClaveNumerica : public ::testing::TestWithParam<CasoBcd> {};

TEST_P(ClaveNumerica, ExponenteAnchoSignoYCifras)
{
    const auto clave = dbf::ClaveBcd(GetParam().valor, GetParam().ancho, GetParam().decimales);
    std::vector<std::uint8_t> esperado = GetParam().inicio;
    esperado.resize(12, 0);
    EXPECT_EQ(std::vector<std::uint8_t>(clave.begin(), clave.end()), esperado);
}

const CasoBcd kBcd[] = {
    {"Entero540", 540, 11, 0, {0x37, 0x2D, 0x54}},
    {"Entero1540", 1540, 11, 0, {0x38, 0x2D, 0x15, 0x40}},
    {"Cero", 0, 11, 0, {0x34, 0x2D}},
    {"Negativo540", -540, 11, 0, {0x37, 0xAD, 0x54}},
    {"AnchoDiezComoDBaseIV", 10, 10, 0, {0x36, 0x29, 0x10}},
    {"DecimalesEnCampoDeVeinte", 12.5, 20, 4, {0x36, 0x51, 0x12, 0x50}},
    {"MenorQueUno", 0.05, 20, 4, {0x33, 0x51, 0x50}},
    {"VeinteCifras",
     12345678901234567168.0,
     20,
     0,
     {0x48, 0x51, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x56, 0x71, 0x68}},
    {"VeintiunaCifrasPierdenLaUltima",
     123456789012345683968.0,
     20,
     0,
     {0x49, 0x51, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x56, 0x83, 0x96}},
};

INSTANTIATE_TEST_SUITE_P(Claves, ClaveNumerica, ::testing::ValuesIn(kBcd),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(IndiceMdx, CrearSinFilasDejaUnIndiceVacioRecorrible)
{
    DirectorioTemporal dir;
    ArchivoDbf::Crear(dir / "DIASHORAST2.DBF", CamposDiasHoras(), {{"ORDEN", "ORDEN"}});
    EXPECT_TRUE(RegistrosDelMdx(dir / "DIASHORAST2.MDX", "ORDEN").empty());
}

TEST(IndiceMdx, UnIndiceQueNoPodemosEscribirNoCreaNada)
{
    DirectorioTemporal dir;
    EXPECT_THAT(
        [&] {
            ArchivoDbf::Crear(dir / "T.DBF", {Texto("A", 1)}, {{"ORDEN", "ORDEN"}});
        },
        ThrowsMessage<Error>(HasSubstr("al campo «ORDEN», que la tabla no tiene")));
    EXPECT_THAT(
        [&] {
            ArchivoDbf::Crear(dir / "T.DBF", {Texto("A", 1)}, {{"PORA", "A"}});
        },
        ThrowsMessage<Error>(HasSubstr("solo puede ir sobre un campo numérico")));
    EXPECT_FALSE(std::filesystem::exists(dir / "T.DBF"));
}

TEST(IndiceMdx, UnIndiceIlegibleDejaLeerLaTablaPeroNoEscribirla)
{
    DirectorioTemporal dir;
    DiasHoras(dir, {3, 1, 2});
    GuardarBytes(dir / "DIASHORAST2.MDX", Bytes(700, 0xFF));
    auto t = ArchivoDbf::Abrir(dir / "DIASHORAST2.DBF", Acceso::Exclusivo);
    EXPECT_EQ(t->NumRegistros(), 3u);
    EXPECT_EQ(t->Numero(0, 9), 3.0);
    EXPECT_THAT([&] { t->Agregar(t->RegistroVacio()); },
                ThrowsMessage<Error>(AllOf(HasSubstr("«" + (dir / "DIASHORAST2.MDX").string() + "»"),
                                           HasSubstr("no es válido"))));
    EXPECT_EQ(t->NumRegistros(), 3u);
}

// Files other programs wrote.
class IndiceMdxAjeno : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(Muestras())) {
            DURLAVEX_OMITIR_SI_FALTA() << "sample files not found in " << Muestras();
        }
    }
};

TEST_F(IndiceMdxAjeno, ElIndiceDeDBaseIVSeRecorreEnSuOrden)
{
    const auto mdx = Muestras() / "idataconnect-jdbfdriver" / "TEST.MDX";
    EXPECT_THAT(RegistrosDelMdx(mdx, "TEST1"), ElementsAre(2, 0, 1));
    EXPECT_THAT(RegistrosDelMdx(mdx, "TEST2"), ElementsAre(0, 2, 1));
}

TEST_F(IndiceMdxAjeno, UnaEtiquetaQueNoSabemosMantenerImpideEscribirPeroNoLeer)
{
    DirectorioTemporal dir;
    GuardarBytes(dir / "TEST.DBF", LeerBytes(Muestras() / "idataconnect-jdbfdriver" / "TEST.DBF"));
    GuardarBytes(dir / "TEST.MDX", LeerBytes(Muestras() / "idataconnect-jdbfdriver" / "TEST.MDX"));
    auto t = ArchivoDbf::Abrir(dir / "TEST.DBF", Acceso::Exclusivo);
    ASSERT_EQ(t->Indices().size(), 1u) << "TEST1 is a character key";
    EXPECT_EQ(t->Indices()[0].etiqueta, "TEST2");
    EXPECT_THAT(t->OrdenIndice("TEST2"), ElementsAre(0, 2, 1));
    EXPECT_THAT([&] { t->Agregar(t->RegistroVacio()); }, ThrowsMessage<Error>(HasSubstr("«TEST1»")));
    EXPECT_EQ(LeerBytes(dir / "TEST.DBF"), LeerBytes(Muestras() / "idataconnect-jdbfdriver" / "TEST.DBF"));
}

TEST_F(IndiceMdxAjeno, NuestroOrdenCoincideConElDeTDbfEnUnArbolDeVariosNiveles)
{
    const auto carpeta = Muestras() / "generated" / "tdbf702-n200";
    const auto t = ArchivoDbf::Decodificar(LeerBytes(carpeta / "REF7.DBF"), "REF7.DBF");
    const auto orden = *t->BuscarCampo("ORDEN");
    std::vector<std::size_t> esperado(t->NumRegistros());
    std::iota(esperado.begin(), esperado.end(), 0);
    std::stable_sort(esperado.begin(), esperado.end(),
                     [&](auto a, auto b) { return *t->Numero(a, orden) < *t->Numero(b, orden); });
    EXPECT_EQ(RegistrosDelMdx(carpeta / "REF7.MDX", "ORDEN"), esperado);
}

#ifndef _WIN32
// The independent reader: Free Pascal's TDbf through tdbfcheck.pas, built
// once per test program when the compiler is there. A Linux tool: the
// Windows build writes the same bytes (compared by the tests under Wine),
// so the check is made once, here.
class ComprobadorTDbf : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        const auto fuente = std::filesystem::path(DURLAVEX_SHARED_DIR) / "tools" / "tdbfcheck.pas";
        if (!std::filesystem::exists(fuente)) {
            motivo_ = fuente.string() + " not found";
            return;
        }
        if (std::system("command -v fpc > /dev/null 2>&1") != 0) {
            motivo_ = "fpc not installed";
            return;
        }
        carpeta_ = new DirectorioTemporal;
        const auto programa = *carpeta_ / "tdbfcheck";
        const auto registro = *carpeta_ / "fpc.log";
        const std::string orden = "fpc -O1 '-FU" + carpeta_->Ruta().string() + "' '-o" + programa.string() +
                                  "' '" + fuente.string() + "' > '" + registro.string() + "' 2>&1";
        if (std::system(orden.c_str()) == 0) {
            programa_ = programa;
            return;
        }
        std::ifstream archivo(registro);
        motivo_ =
            "fpc could not build tdbfcheck:\n" + std::string(std::istreambuf_iterator<char>(archivo), {});
    }
    static void TearDownTestSuite()
    {
        delete carpeta_;
        carpeta_ = nullptr;
    }
    void SetUp() override
    {
        if (programa_.empty()) {
            DURLAVEX_OMITIR_SI_FALTA() << motivo_;
        }
    }

    // "rec N | ... | ORDEN=v" lines of a walk of the tag: (record, value).
    static std::vector<std::pair<int, std::string>> Recorrer(const std::filesystem::path& tabla)
    {
        const std::string orden = programa_.string() + " dump " + tabla.string() + " ORDEN";
        std::vector<std::pair<int, std::string>> filas;
        FILE* salida = popen(orden.c_str(), "r");
        char linea[4096];
        while (salida && std::fgets(linea, sizeof linea, salida)) {
            std::string texto(linea);
            const auto valor = texto.find("ORDEN=");
            if (texto.rfind("rec ", 0) == 0 && valor != std::string::npos)
                filas.emplace_back(std::stoi(texto.substr(4)),
                                   texto.substr(valor + 6, texto.find_first_of(" \n", valor) - valor - 6));
        }
        EXPECT_EQ(salida ? pclose(salida) : -1, 0) << orden;
        return filas;
    }

    static inline DirectorioTemporal* carpeta_ = nullptr;
    static inline std::filesystem::path programa_;
    static inline std::string motivo_;
};

TEST_F(ComprobadorTDbf, RecorreNuestroIndiceEnOrdenAscendenteConEmpatesPorRegistro)
{
    DirectorioTemporal dir;
    std::vector<double> ordenes;
    for (int i = 0; i < 200; ++i)
        ordenes.push_back(std::vector<double>{540, 480, 600, 480, 540, 660}[i % 6] + 1000 * ((i / 6) % 3));
    auto t = DiasHoras(dir, ordenes);
    std::vector<std::pair<int, std::string>> esperado;
    for (std::size_t fila : t->OrdenIndice("ORDEN"))
        esperado.emplace_back(static_cast<int>(fila + 1), std::to_string(static_cast<int>(ordenes[fila])));
    t.reset();
    EXPECT_EQ(Recorrer(dir / "DIASHORAST2.DBF"), esperado);
}

TEST_F(ComprobadorTDbf, LeeUnaTablaRecienCreadaSinFilas)
{
    DirectorioTemporal dir;
    DiasHoras(dir, {});
    EXPECT_TRUE(Recorrer(dir / "DIASHORAST2.DBF").empty());
}
#endif

} // namespace
} // namespace durlavex::pruebas
