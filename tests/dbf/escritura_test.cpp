// Writing level 7 tables: the exact bytes of new tables, what every field
// kind we write reads back as, and the file staying valid after each post.

#include "comun/directorio_temporal.h"
#include "dbf/ayudas_dbf.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <limits>

namespace durlavex::pruebas {
namespace {

using dbf::Acceso;
using dbf::ArchivoDbf;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

TEST(EscrituraDbf, TablaVaciaDeUnCampoTieneLaCabeceraDeNivel7Exacta)
{
    DirectorioTemporal dir;
    ArchivoDbf::Crear(dir / "UNO.DBF", {Texto("COD", 10)});
    const Bytes b = LeerBytes(dir / "UNO.DBF");

    // 68-byte header + one 48-byte descriptor + 0x0D, then the end-of-file mark.
    ASSERT_EQ(b.size(), 68u + 48u + 1u + 1u);
    EXPECT_EQ(b[0], 0x04);
    const std::time_t ahora = std::time(nullptr);
    const std::tm* hoy = std::localtime(&ahora);
    EXPECT_EQ(b[1], hoy->tm_year);
    EXPECT_EQ(b[2], hoy->tm_mon + 1);
    EXPECT_EQ(b[3], hoy->tm_mday);
    EXPECT_EQ(U32(b, 4), 0u);
    EXPECT_EQ(U16(b, 8), 117u);
    EXPECT_EQ(U16(b, 10), 11u);
    EXPECT_EQ(b[28], 0x00) << "no production index";
    EXPECT_EQ(b[29], 0x00) << "level 7 names its language driver at 32";
    EXPECT_EQ(TextoEn(b, 32, 32), std::string("DBWINES0") + std::string(24, '\0'));
    EXPECT_EQ(TextoEn(b, 68, 32), std::string("COD") + std::string(29, '\0'));
    EXPECT_EQ(b[68 + 32], 'C');
    EXPECT_EQ(b[68 + 33], 10);
    EXPECT_EQ(b[68 + 34], 0);
    EXPECT_EQ(TextoEn(b, 68 + 35, 13), std::string(13, '\0'));
    EXPECT_EQ(b[116], 0x0D);
    EXPECT_EQ(b[117], 0x1A);
}

TEST(EscrituraDbf, UnaFilaDeCadaTipoQuedaConSusBytesExactos)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "TRES.DBF";
    ArchivoDbf::Crear(
        ruta, {Texto("NOMBRE_DE_CAMPO_LARGO", 4), Logico("ACTIVO"), Entero("DNI"), Flotante("HORAS")});
    {
        auto t = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
        std::string r = t->RegistroVacio();
        t->PonerTexto(r, 0, "ab");
        t->PonerLogico(r, 1, true);
        t->PonerNumero(r, 2, -42);
        t->PonerNumero(r, 3, 2.5);
        EXPECT_EQ(t->Agregar(r), 0u);
    }
    const Bytes b = LeerBytes(ruta);
    const std::size_t cabecera = 68 + 4 * 48 + 1;
    const std::size_t registro = 1 + 4 + 1 + 11 + 20;
    ASSERT_EQ(b.size(), cabecera + registro + 1);
    EXPECT_EQ(U32(b, 4), 1u);
    EXPECT_EQ(U16(b, 8), cabecera);
    EXPECT_EQ(U16(b, 10), registro);
    EXPECT_EQ(TextoEn(b, 68, 32), std::string("NOMBRE_DE_CAMPO_LARGO") + std::string(11, '\0'));
    EXPECT_EQ(b[68 + 48 + 32], 'L');
    EXPECT_EQ(b[68 + 96 + 32], 'N');
    EXPECT_EQ(b[68 + 96 + 33], 11);
    EXPECT_EQ(b[68 + 144 + 33], 20);
    EXPECT_EQ(b[68 + 144 + 34], 4);
    EXPECT_EQ(TextoEn(b, cabecera, registro), " ab  T        -42              2.5000");
    EXPECT_EQ(b.back(), 0x1A);
}

// One value set into a field and what it reads back as, text and number
// (a number only for numeric fields: text fields have none to compare).
using Poner = std::function<void(const ArchivoDbf&, std::string&)>;

struct CasoIdaYVuelta {
    const char* nombre;
    dbf::Campo campo;
    Poner poner;
    std::string leidoTexto;
};

Poner PonerTexto(std::string v)
{
    return [v](const ArchivoDbf& t, std::string& r) { t.PonerTexto(r, 0, v); };
}
Poner PonerNumero(double v)
{
    return [v](const ArchivoDbf& t, std::string& r) { t.PonerNumero(r, 0, v); };
}
Poner PonerLogico(bool v)
{
    return [v](const ArchivoDbf& t, std::string& r) { t.PonerLogico(r, 0, v); };
}
const Poner kNada = [](const ArchivoDbf&, std::string&) {};

// Writes one row with the case's value and opens the table afresh.
std::shared_ptr<ArchivoDbf> UnaFila(const DirectorioTemporal& dir, const CasoIdaYVuelta& c)
{
    const auto ruta = dir / "T.DBF";
    ArchivoDbf::Crear(ruta, {c.campo});
    {
        auto t = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
        std::string r = t->RegistroVacio();
        c.poner(*t, r);
        t->Agregar(r);
    }
    return ArchivoDbf::Abrir(ruta, Acceso::Compartido);
}

class IdaYVuelta : public ::testing::TestWithParam<CasoIdaYVuelta> {};

TEST_P(IdaYVuelta, SeLeeComoSeEscribio)
{
    DirectorioTemporal dir;
    auto t = UnaFila(dir, GetParam());
    ASSERT_EQ(t->NumRegistros(), 1u);
    EXPECT_EQ(t->Texto(0, 0), GetParam().leidoTexto);
}

const CasoIdaYVuelta kIdaYVuelta[] = {
    {"TextoCortadoAlAncho", Texto("C", 10), PonerTexto("12345678901"), "1234567890"},
    {"TextoDelAnchoExacto", Texto("C", 5), PonerTexto("abcde"), "abcde"},
    {"TextoSinBlancosFinales", Texto("C", 8), PonerTexto("ab  "), "ab"},
    {"TextoConBlancosIniciales", Texto("C", 8), PonerTexto("  ab"), "  ab"},
    {"TextoAcentuado", Texto("C", 8),
     PonerTexto("Espa\xF1"
                "a"),
     "Espa\xF1"
     "a"},
    {"TextoVacio", Texto("C", 8), PonerTexto(""), ""},
    {"TextoNuncaFijado", Texto("C", 8), kNada, ""},
    {"LogicoNuncaFijado", Logico("L"), kNada, ""},
    {"LogicoVerdadero", Logico("L"), PonerLogico(true), "T"},
    {"LogicoFalso", Logico("L"), PonerLogico(false), "F"},
};

INSTANTIATE_TEST_SUITE_P(Campos, IdaYVuelta, ::testing::ValuesIn(kIdaYVuelta),
                         [](const auto& info) { return std::string(info.param.nombre); });

struct CasoNumero {
    CasoIdaYVuelta caso;
    std::optional<double> leido;
};

class IdaYVueltaNumerica : public ::testing::TestWithParam<CasoNumero> {};

TEST_P(IdaYVueltaNumerica, SeLeeComoSeEscribio)
{
    DirectorioTemporal dir;
    auto t = UnaFila(dir, GetParam().caso);
    ASSERT_EQ(t->NumRegistros(), 1u);
    EXPECT_EQ(t->Texto(0, 0), GetParam().caso.leidoTexto);
    EXPECT_EQ(t->Numero(0, 0), GetParam().leido);
}

const CasoNumero kNumeros[] = {
    {{"EnteroPositivo", Entero("N"), PonerNumero(540), "540"}, 540.0},
    {{"EnteroNegativo", Entero("N"), PonerNumero(-7), "-7"}, -7.0},
    {{"EnteroCero", Entero("N"), PonerNumero(0), "0"}, 0.0},
    {{"EnteroDeOnceCifras", Entero("N"), PonerNumero(99999999999.0), "99999999999"}, 99999999999.0},
    {{"EnteroNegativoDeDiezCifras", Entero("N"), PonerNumero(-9999999999.0), "-9999999999"}, -9999999999.0},
    {{"EnteroNuncaFijado", Entero("N"), kNada, ""}, std::nullopt},
    {{"EnteroBorradoConTextoVacio", Entero("N"), PonerTexto(""), ""}, std::nullopt},
    {{"EnteroDesdeTexto", Entero("N"), PonerTexto(" 12 "), "12"}, 12.0},
    {{"FlotanteConDecimales", Flotante("F"), PonerNumero(2.25), "2.2500"}, 2.25},
    {{"FlotanteNegativo", Flotante("F"), PonerNumero(-1234.5), "-1234.5000"}, -1234.5},
    {{"FlotanteRedondeadoACuatroDecimales", Flotante("F"), PonerNumero(0.123456), "0.1235"}, 0.1235},
    {{"FlotanteNegativoQueRedondeaACero", Flotante("F"), PonerNumero(-0.00001), "0.0000"}, 0.0},
    {{"FlotanteNuncaFijado", Flotante("F"), kNada, ""}, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Campos, IdaYVueltaNumerica, ::testing::ValuesIn(kNumeros),
                         [](const auto& info) { return std::string(info.param.caso.nombre); });

struct CasoNoCabe {
    const char* nombre;
    dbf::Campo campo;
    double valor;
};

class NumeroQueNoCabe : public ::testing::TestWithParam<CasoNoCabe> {};

TEST_P(NumeroQueNoCabe, EsUnErrorQueNombraElCampoYLaTabla)
{
    DirectorioTemporal dir;
    ArchivoDbf::Crear(dir / "PROFT.DBF", {GetParam().campo});
    auto t = ArchivoDbf::Abrir(dir / "PROFT.DBF", Acceso::Exclusivo);
    std::string r = t->RegistroVacio();
    const std::string antes = r;
    EXPECT_THAT([&] { t->PonerNumero(r, 0, GetParam().valor); },
                ThrowsMessage<Error>(AllOf(HasSubstr("el campo «" + GetParam().campo.nombre + "»"),
                                           HasSubstr("«" + (dir / "PROFT.DBF").string() + "»"))));
    EXPECT_EQ(r, antes) << "the record is left as it was";
}

const CasoNoCabe kNoCaben[] = {
    {"EnteroDeDoceCifras", Entero("DNI"), 123456789012.0},
    {"EnteroNegativoDeOnceCifras", Entero("DNI"), -12345678901.0},
    {"FlotanteDemasiadoGrande", Flotante("HORAS"), 1e16},
    {"NoEsUnNumero", Flotante("HORAS"), std::numeric_limits<double>::quiet_NaN()},
    {"Infinito", Entero("DNI"), std::numeric_limits<double>::infinity()},
};

INSTANTIATE_TEST_SUITE_P(Campos, NumeroQueNoCabe, ::testing::ValuesIn(kNoCaben),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(EscrituraDbf, ElArchivoEsValidoTrasCadaPostYReemplazarNoCambiaLaCuenta)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "FILAS.DBF";
    ArchivoDbf::Crear(ruta, {Texto("COD", 3), Entero("N")});
    auto t = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    for (int i = 0; i < 3; ++i) {
        std::string r = t->RegistroVacio();
        t->PonerTexto(r, 0, "f" + std::to_string(i));
        t->PonerNumero(r, 1, i);
        t->Agregar(r);
        // What is on disk now decodes whole, with the new row counted.
        const Bytes b = LeerBytes(ruta);
        const auto copia = ArchivoDbf::Decodificar(b, "copia");
        EXPECT_EQ(copia->NumRegistros(), static_cast<std::size_t>(i + 1));
        EXPECT_EQ(copia->Texto(static_cast<std::size_t>(i), 0), "f" + std::to_string(i));
        EXPECT_EQ(b.back(), 0x1A);
    }
    std::string r = t->Registro(1);
    t->PonerTexto(r, 0, "xyz");
    t->Reemplazar(1, r);
    const auto copia = ArchivoDbf::Decodificar(LeerBytes(ruta), "copia");
    EXPECT_EQ(copia->NumRegistros(), 3u);
    EXPECT_EQ(copia->Texto(1, 0), "xyz");
    EXPECT_EQ(copia->Numero(1, 1), 1.0);
    EXPECT_EQ(copia->Texto(2, 0), "f2");
}

TEST(EscrituraDbf, CrearReemplazaUnaTablaAnteriorConFilas)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "AULAT.DBF";
    ArchivoDbf::Crear(ruta, {Texto("VIEJO", 30)});
    {
        auto t = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
        t->Agregar(t->RegistroVacio());
    }
    ArchivoDbf::Crear(ruta, {Texto("ABREV", 10), Entero("MAXALUM")});
    auto t = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    EXPECT_EQ(t->NumRegistros(), 0u);
    ASSERT_EQ(t->Campos().size(), 2u);
    EXPECT_EQ(t->Campos()[1].nombre, "MAXALUM");
    EXPECT_EQ(LeerBytes(ruta).size(), 68u + 96u + 2u);
}

TEST(EscrituraDbf, BuscarCampoNoDistingueMayusculas)
{
    DirectorioTemporal dir;
    ArchivoDbf::Crear(dir / "T.DBF", {Texto("COD", 3), Texto("CodLargo", 3)});
    auto t = ArchivoDbf::Abrir(dir / "T.DBF", Acceso::Compartido);
    EXPECT_EQ(t->BuscarCampo("codlargo"), 1u);
    EXPECT_EQ(t->BuscarCampo("Cod"), 0u);
    EXPECT_EQ(t->BuscarCampo("CODIGO"), std::nullopt);
}

} // namespace
} // namespace durlavex::pruebas
