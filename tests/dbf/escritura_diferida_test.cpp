// Deferred appends: rows of a table written in bulk wait in memory and reach
// the file together, the file never counting a row it does not hold.

#include "comun/directorio_temporal.h"
#include "dbf/ayudas_dbf.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/dbf/indice_mdx.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace durlavex::pruebas {
namespace {

using dbf::Acceso;
using dbf::ArchivoDbf;

// COD and ORDEN, indexed on ORDEN, with rows appended in deferral.
std::shared_ptr<ArchivoDbf> TablaDiferida(const std::filesystem::path& ruta, const std::vector<int>& ordenes)
{
    ArchivoDbf::Crear(ruta, {Texto("COD", 4), Entero("ORDEN")}, {{"ORDEN", "ORDEN"}});
    auto t = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    t->DiferirEscritura(true);
    for (int orden : ordenes) {
        std::string r = t->RegistroVacio();
        t->PonerTexto(r, 0, "c" + std::to_string(orden));
        t->PonerNumero(r, 1, orden);
        t->Agregar(r);
    }
    return t;
}

std::size_t FilasEnDisco(const std::filesystem::path& ruta)
{
    return ArchivoDbf::Decodificar(LeerBytes(ruta), "copia")->NumRegistros();
}

std::vector<std::uint32_t> RegistrosDelMdx(const std::filesystem::path& ruta)
{
    return dbf::RecorrerEtiquetaMdx(LeerBytes(ruta), "ORDEN", ruta.string());
}

TEST(EscrituraDiferida, LasFilasLleganJuntasAlTerminarYEntretantoElArchivoNoLasCuenta)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "LOTE.DBF";
    auto t = TablaDiferida(ruta, {3, 1, 2});
    EXPECT_EQ(t->NumRegistros(), 3u) << "the handle sees its rows at once";
    EXPECT_EQ(t->OrdenIndice("ORDEN"), (std::vector<std::size_t>{1, 2, 0}));
    EXPECT_EQ(FilasEnDisco(ruta), 0u);
    EXPECT_TRUE(RegistrosDelMdx(dir / "LOTE.MDX").empty());

    t->DiferirEscritura(false);
    const Bytes b = LeerBytes(ruta);
    const auto copia = ArchivoDbf::Decodificar(b, "copia");
    ASSERT_EQ(copia->NumRegistros(), 3u);
    EXPECT_EQ(copia->Texto(2, 0), "c2");
    EXPECT_EQ(b.back(), 0x1A);
    EXPECT_EQ(RegistrosDelMdx(dir / "LOTE.MDX"), (std::vector<std::uint32_t>{2, 3, 1}));

    // Deferral off: each post is written through again.
    std::string r = t->RegistroVacio();
    t->PonerNumero(r, 1, 0);
    t->Agregar(r);
    EXPECT_EQ(FilasEnDisco(ruta), 4u);
    EXPECT_EQ(RegistrosDelMdx(dir / "LOTE.MDX"), (std::vector<std::uint32_t>{4, 2, 3, 1}));
}

TEST(EscrituraDiferida, UnaTablaSoltadaSinTerminarGuardaLoQueSeGrabo)
{
    // What a step that stops at an error leaves: its handle dropped while
    // unwinding, the rows posted before the error still to be written.
    DirectorioTemporal dir;
    const auto ruta = dir / "LOTE.DBF";
    TablaDiferida(ruta, {5, 4}).reset();
    const auto copia = ArchivoDbf::Decodificar(LeerBytes(ruta), "copia");
    ASSERT_EQ(copia->NumRegistros(), 2u);
    EXPECT_EQ(copia->Texto(1, 0), "c4");
    EXPECT_EQ(RegistrosDelMdx(dir / "LOTE.MDX"), (std::vector<std::uint32_t>{2, 1}));
}

TEST(EscrituraDiferida, ReemplazarUnaFilaDelArchivoEscribeAntesLasPendientes)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "LOTE.DBF";
    auto t = TablaDiferida(ruta, {1});
    t->DiferirEscritura(false);
    t->DiferirEscritura(true);
    for (int orden : {7, 8}) {
        std::string r = t->RegistroVacio();
        t->PonerNumero(r, 1, orden);
        t->Agregar(r);
    }
    std::string r = t->Registro(0);
    t->PonerNumero(r, 1, 9);
    t->Reemplazar(0, r); // on disk: written through with the rows before it
    const auto copia = ArchivoDbf::Decodificar(LeerBytes(ruta), "copia");
    ASSERT_EQ(copia->NumRegistros(), 3u);
    EXPECT_EQ(copia->Numero(0, 1), 9.0);
    EXPECT_EQ(copia->Numero(2, 1), 8.0);
    EXPECT_EQ(RegistrosDelMdx(dir / "LOTE.MDX"), (std::vector<std::uint32_t>{2, 3, 1}));

    // A pending row rewritten stays pending and is written once, as it ends.
    r = t->RegistroVacio();
    t->PonerNumero(r, 1, 2);
    t->Agregar(r);
    t->PonerNumero(r, 1, 0);
    t->Reemplazar(3, r);
    EXPECT_EQ(FilasEnDisco(ruta), 3u);
    t->DiferirEscritura(false);
    const auto fin = ArchivoDbf::Decodificar(LeerBytes(ruta), "copia");
    ASSERT_EQ(fin->NumRegistros(), 4u);
    EXPECT_EQ(fin->Numero(3, 1), 0.0);
    EXPECT_EQ(RegistrosDelMdx(dir / "LOTE.MDX"), (std::vector<std::uint32_t>{4, 2, 3, 1}));
}

#ifndef _WIN32
TEST(EscrituraDiferida, SiLasFilasNoCabenEnElArchivoSeDescartanYSeAvisa)
{
    // A file size limit stands in for a full disk (it binds the
    // administrator too): the rows fail to reach the file.
    DirectorioTemporal dir;
    const auto ruta = dir / "LOTE.DBF";
    auto t = TablaDiferida(ruta, {});
    for (int i = 0; i < 100; ++i) {
        std::string r = t->RegistroVacio();
        t->PonerNumero(r, 1, i);
        t->Agregar(r);
    }
    const Bytes antes = LeerBytes(ruta);

    rlimit anterior{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &anterior), 0);
    const auto senal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = anterior;
    limite.rlim_cur = antes.size() + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    bool fallo = false;
    try {
        t->DiferirEscritura(false);
    } catch (const Error&) {
        fallo = true;
    }
    setrlimit(RLIMIT_FSIZE, &anterior);
    std::signal(SIGXFSZ, senal);

    EXPECT_TRUE(fallo) << "a write that failed is reported";
    EXPECT_EQ(t->NumRegistros(), 0u) << "rows that did not reach the file are not kept";
    EXPECT_TRUE(t->OrdenIndice("ORDEN").empty());
    EXPECT_EQ(FilasEnDisco(ruta), 0u) << "the header counts no row the file lacks";

    // The table goes on: the next row is written as usual.
    std::string r = t->RegistroVacio();
    t->PonerNumero(r, 1, 1);
    t->Agregar(r);
    EXPECT_EQ(FilasEnDisco(ruta), 1u);
}
#endif

} // namespace
} // namespace durlavex::pruebas
