// Sharing a table: handles of this process share one object and never block
// each other; an exclusive opening keeps other processes out.

#include "comun/directorio_temporal.h"
#include "comun/entorno.h"
#include "dbf/ayudas_dbf.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace durlavex::pruebas {
namespace {

using dbf::Acceso;
using dbf::ArchivoDbf;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

#ifndef _WIN32

enum Resultado { Logrado = 0, ErrorDelMotor = 1, OtroFallo = 2 };

// Runs `accion` in a child process and tells how it ended.
int EnOtroProceso(const std::function<void()>& accion)
{
    const pid_t hijo = fork();
    if (hijo == 0) {
        int codigo = Logrado;
        try {
            accion();
        } catch (const Error&) {
            codigo = ErrorDelMotor;
        } catch (...) {
            codigo = OtroFallo;
        }
        _exit(codigo);
    }
    int estado = 0;
    waitpid(hijo, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : OtroFallo;
}

class BloqueoEntreProcesos : public ::testing::Test {
  protected:
    BloqueoEntreProcesos() { ArchivoDbf::Crear(ruta, {Texto("COD", 4)}); }

    static std::function<void()> Abrir(const std::filesystem::path& ruta, Acceso acceso)
    {
        return [ruta, acceso] { ArchivoDbf::Abrir(ruta, acceso); };
    }

    DirectorioTemporal dir;
    const std::filesystem::path ruta = dir / "ASIGNOMT.DBF";
};

// What another process gets while this one holds the table one way.
struct CasoContienda {
    const char* nombre;
    std::optional<Acceso> aqui;
    Acceso alli;
    Resultado esperado;
};

std::shared_ptr<ArchivoDbf> AbrirAqui(const std::filesystem::path& ruta, std::optional<Acceso> acceso)
{
    return acceso ? ArchivoDbf::Abrir(ruta, *acceso) : nullptr;
}

class Contienda : public BloqueoEntreProcesos, public ::testing::WithParamInterface<CasoContienda> {};

TEST_P(Contienda, OtroProcesoEntraSoloSiLosBloqueosSonCompatibles)
{
    const auto abierta = AbrirAqui(ruta, GetParam().aqui);
    EXPECT_EQ(EnOtroProceso(Abrir(ruta, GetParam().alli)), GetParam().esperado);
}

const CasoContienda kContiendas[] = {
    {"ExclusivaContraExclusiva", Acceso::Exclusivo, Acceso::Exclusivo, ErrorDelMotor},
    {"ExclusivaContraCompartida", Acceso::Exclusivo, Acceso::Compartido, ErrorDelMotor},
    {"CompartidaContraExclusiva", Acceso::Compartido, Acceso::Exclusivo, ErrorDelMotor},
    {"CompartidaContraCompartida", Acceso::Compartido, Acceso::Compartido, Logrado},
    {"LibreContraExclusiva", std::nullopt, Acceso::Exclusivo, Logrado},
};

INSTANTIATE_TEST_SUITE_P(Accesos, Contienda, ::testing::ValuesIn(kContiendas),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(BloqueoEntreProcesos, LaTablaSeLiberaAlSoltarLaUltimaReferencia)
{
    auto a = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    auto b = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    a.reset();
    EXPECT_EQ(EnOtroProceso(Abrir(ruta, Acceso::Compartido)), ErrorDelMotor) << "b still holds it";
    b.reset();
    EXPECT_EQ(EnOtroProceso(Abrir(ruta, Acceso::Exclusivo)), Logrado);
}

TEST_F(BloqueoEntreProcesos, UnaAperturaExclusivaPosteriorEnEsteProcesoEndureceElBloqueo)
{
    auto compartida = ArchivoDbf::Abrir(ruta, Acceso::Compartido);
    auto exclusiva = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    EXPECT_EQ(compartida, exclusiva);
    EXPECT_EQ(EnOtroProceso(Abrir(ruta, Acceso::Compartido)), ErrorDelMotor);
}

TEST_F(BloqueoEntreProcesos, ExclusivaPedidaMientrasOtroProcesoLaTieneCompartidaConservaLaCompartida)
{
    auto compartida = ArchivoDbf::Abrir(ruta, Acceso::Compartido);
    int listo[2], tuberia[2];
    ASSERT_EQ(pipe(listo), 0);
    ASSERT_EQ(pipe(tuberia), 0);
    const pid_t hijo = fork();
    if (hijo == 0) {
        // The child holds the table shared until the parent closes the pipe,
        // and says when it has it (probing with exclusive openers instead
        // raced with the child's own opening).
        close(tuberia[1]);
        char c = 1;
        try {
            auto suya = ArchivoDbf::Abrir(ruta, Acceso::Compartido);
            (void)!write(listo[1], &c, 1);
            _exit(read(tuberia[0], &c, 1) < 0 ? 1 : 0);
        } catch (...) {
            _exit(1);
        }
    }
    close(tuberia[0]);
    close(listo[1]);
    char c = 0;
    ASSERT_EQ(read(listo[0], &c, 1), 1) << "the child could not open the table";
    EXPECT_THAT([&] { ArchivoDbf::Abrir(ruta, Acceso::Exclusivo); },
                ThrowsMessage<Error>(AllOf(HasSubstr(ruta.string()), HasSubstr("otro programa"))));
    close(tuberia[1]);
    waitpid(hijo, nullptr, 0);
    // The shared lock was kept: another exclusive opener is still kept out.
    EXPECT_EQ(EnOtroProceso(Abrir(ruta, Acceso::Exclusivo)), ErrorDelMotor);
}

TEST_F(BloqueoEntreProcesos, ElMensajeNombraLaTablaQueOtroProgramaTieneEnExclusiva)
{
    int listo[2], fin[2];
    ASSERT_EQ(pipe(listo), 0);
    ASSERT_EQ(pipe(fin), 0);
    const pid_t hijo = fork();
    if (hijo == 0) {
        close(fin[1]);
        auto suya = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
        char c = 1;
        (void)!write(listo[1], &c, 1);
        _exit(read(fin[0], &c, 1) < 0 ? 1 : 0);
    }
    close(fin[0]);
    char c = 0;
    ASSERT_EQ(read(listo[0], &c, 1), 1);
    EXPECT_THAT([&] { ArchivoDbf::Abrir(ruta, Acceso::Compartido); },
                ThrowsMessage<Error>(AllOf(HasSubstr("«" + ruta.string() + "»"),
                                           HasSubstr("está abierta en exclusiva por otro programa"))));
    EXPECT_THAT([&] { ArchivoDbf::Crear(ruta, {Texto("OTRO", 2)}); },
                ThrowsMessage<Error>(HasSubstr("otro programa tiene abierto")));
    close(fin[1]);
    waitpid(hijo, nullptr, 0);
    // Crear did not touch the file the other program had open.
    EXPECT_EQ(ArchivoDbf::Abrir(ruta, Acceso::Compartido)->Campos()[0].nombre, "COD");
}

#else

// Windows: the other process is this test program started again with
// DURLAVEX_BLOQUEO_HIJO="E|TABLE|FOLDER" (or "C|...") in its environment: before the
// tests start it opens TABLE exclusively (E) or shared (C), writes FOLDER\listo
// and holds the table until FOLDER\fin exists.
constexpr const char* kVariableHijo = "DURLAVEX_BLOQUEO_HIJO";

const bool kEsHijo = [] {
    const char* orden = std::getenv(kVariableHijo);
    if (orden == nullptr || *orden == '\0')
        return false;
    const std::string texto(orden);
    const std::size_t separador = texto.find('|', 2);
    const std::filesystem::path tabla = texto.substr(2, separador - 2);
    const std::filesystem::path carpeta = texto.substr(separador + 1);
    int codigo = 0;
    try {
        auto suya = ArchivoDbf::Abrir(tabla, texto[0] == 'E' ? Acceso::Exclusivo : Acceso::Compartido);
        std::ofstream(carpeta / "listo") << "1";
        for (int i = 0; i < 3000 && !std::filesystem::exists(carpeta / "fin"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } catch (...) {
        codigo = 1;
    }
    ExitProcess(static_cast<UINT>(codigo));
}();

// Another process holding `ruta` with the access given, from construction to
// destruction.
class OtroProceso {
  public:
    OtroProceso(const std::filesystem::path& ruta, Acceso acceso, const std::filesystem::path& carpeta)
        : carpeta_(carpeta)
    {
        const std::string orden =
            std::string(acceso == Acceso::Exclusivo ? "E|" : "C|") + ruta.string() + "|" + carpeta.string();
        _putenv_s(kVariableHijo, orden.c_str());
        wchar_t programa[MAX_PATH];
        GetModuleFileNameW(nullptr, programa, MAX_PATH);
        std::wstring linea = L"\"" + std::wstring(programa) + L"\"";
        STARTUPINFOW inicio{};
        inicio.cb = sizeof inicio;
        creado_ = CreateProcessW(programa, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &inicio, &proceso_) != 0;
        _putenv_s(kVariableHijo, "");
        for (int i = 0; creado_ && i < 3000 && !std::filesystem::exists(carpeta / "listo"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~OtroProceso()
    {
        std::ofstream(carpeta_ / "fin") << "1";
        if (creado_) {
            WaitForSingleObject(proceso_.hProcess, 30000);
            CloseHandle(proceso_.hProcess);
            CloseHandle(proceso_.hThread);
        }
    }
    OtroProceso(const OtroProceso&) = delete;
    OtroProceso& operator=(const OtroProceso&) = delete;

    bool Listo() const { return creado_ && std::filesystem::exists(carpeta_ / "listo"); }

  private:
    std::filesystem::path carpeta_;
    PROCESS_INFORMATION proceso_{};
    bool creado_ = false;
};

TEST(BloqueoEntreProcesosWindows, UnaTablaQueOtroProgramaTieneEnExclusivaNoSeAbreNiSeReemplaza)
{
    ASSERT_FALSE(kEsHijo);
    DirectorioTemporal dir;
    const auto ruta = dir / "PROFT.DBF";
    ArchivoDbf::Crear(ruta, {Texto("COD", 4)});
    {
        OtroProceso otro(ruta, Acceso::Exclusivo, dir.Ruta());
        ASSERT_TRUE(otro.Listo());
        EXPECT_THAT([&] { ArchivoDbf::Abrir(ruta, Acceso::Compartido); },
                    ThrowsMessage<Error>(AllOf(HasSubstr("«" + ruta.string() + "»"),
                                               HasSubstr("está abierta en exclusiva por otro programa"))));
        EXPECT_THAT([&] { ArchivoDbf::Crear(ruta, {Texto("OTRO", 2)}); },
                    ThrowsMessage<Error>(HasSubstr("otro programa tiene abierto")));
    }
    // Once the other program has let it go, the table is as it was.
    EXPECT_EQ(ArchivoDbf::Abrir(ruta, Acceso::Compartido)->Campos()[0].nombre, "COD");
}

TEST(BloqueoEntreProcesosWindows, UnaTablaQueOtroProgramaTieneCompartidaSeLeePeroNoEnExclusiva)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "PROFT.DBF";
    ArchivoDbf::Crear(ruta, {Texto("COD", 4)});
    {
        OtroProceso otro(ruta, Acceso::Compartido, dir.Ruta());
        ASSERT_TRUE(otro.Listo());
        EXPECT_EQ(ArchivoDbf::Abrir(ruta, Acceso::Compartido)->NumRegistros(), 0u);
        EXPECT_THAT([&] { ArchivoDbf::Abrir(ruta, Acceso::Exclusivo); },
                    ThrowsMessage<Error>(AllOf(HasSubstr(ruta.string()), HasSubstr("otro programa"))));
    }
    EXPECT_NO_THROW(ArchivoDbf::Abrir(ruta, Acceso::Exclusivo));
}

#endif

TEST(ComparticionEnUnProceso, DosManejadoresVenLosPostsDelOtro)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "GRUPOST.DBF";
    ArchivoDbf::Crear(ruta, {Texto("ABREV", 4)});
    auto primero = ArchivoDbf::Abrir(ruta, Acceso::Exclusivo);
    auto segundo = ArchivoDbf::Abrir(dir.Ruta() / "." / "GRUPOST.DBF", Acceso::Exclusivo);
    std::string r = primero->RegistroVacio();
    primero->PonerTexto(r, 0, "1A");
    primero->Agregar(r);
    ASSERT_EQ(segundo->NumRegistros(), 1u);
    EXPECT_EQ(segundo->Texto(0, 0), "1A");
    segundo->PonerTexto(r, 0, "2B");
    segundo->Reemplazar(0, r);
    EXPECT_EQ(primero->Texto(0, 0), "2B");
}

TEST(ComparticionEnUnProceso, CrearSobreUnaTablaAbiertaAquiEsUnError)
{
    DirectorioTemporal dir;
    const auto ruta = dir / "PROFT.DBF";
    ArchivoDbf::Crear(ruta, {Texto("ABREV", 4)});
    auto abierta = ArchivoDbf::Abrir(ruta, Acceso::Compartido);
    EXPECT_THAT(
        [&] { ArchivoDbf::Crear(ruta, {Texto("X", 1)}); },
        ThrowsMessage<Error>(AllOf(HasSubstr("PROFT.DBF"), HasSubstr("este programa la tiene abierta"))));
}

TEST(ComparticionEnUnProceso, UnaTablaQueNoExisteEsUnErrorQueLaNombra)
{
    DirectorioTemporal dir;
    EXPECT_THAT(
        [&] { ArchivoDbf::Abrir(dir / "SOLUC.DBF", Acceso::Exclusivo); },
        ThrowsMessage<Error>(HasSubstr("No se encuentra la tabla «" + (dir / "SOLUC.DBF").string() + "»")));
}

TEST(ComparticionEnUnProceso, UnaTablaDeSoloLecturaSeLeeYNoSeEscribe)
{
    if (EscribeSinPermisos())
        GTEST_SKIP() << "the administrator may write any file: no read-only file to test with";
    DirectorioTemporal dir;
    const auto ruta = dir / "NIVELCAN.DBF";
    ArchivoDbf::Crear(ruta, {Texto("NIVEL", 4)});
    std::filesystem::permissions(ruta, std::filesystem::perms::owner_read);
    auto t = ArchivoDbf::Abrir(ruta, Acceso::Compartido);
    EXPECT_EQ(t->NumRegistros(), 0u);
    EXPECT_THROW(t->Agregar(t->RegistroVacio()), Error);
    EXPECT_EQ(t->NumRegistros(), 0u) << "a row that did not reach the file is not kept";
}

} // namespace
} // namespace durlavex::pruebas
