// Host mode on a real X server: the program's window becomes a child of the
// host's window, and the program ends on its own, writing the result code,
// once the host's window has gone.
//
// Needs an X server: DISPLAY when set, otherwise an Xvfb of our own.

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "comun/directorio_temporal.h"
#include "comun_ventana.h"
#include "servidor_x.h"

using namespace durlavex::pruebas;
namespace fs = std::filesystem;

namespace {

// A plain X window of the test's own, standing for Talvorin's.
class VentanaAnfitrion {
  public:
    explicit VentanaAnfitrion(xcb_connection_t* conexion) : conexion_(conexion)
    {
        const xcb_screen_t* pantalla = xcb_setup_roots_iterator(xcb_get_setup(conexion_)).data;
        id_ = xcb_generate_id(conexion_);
        xcb_create_window(conexion_, XCB_COPY_FROM_PARENT, id_, pantalla->root, 0, 0, 800, 400, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, pantalla->root_visual, 0, nullptr);
        xcb_map_window(conexion_, id_);
        xcb_flush(conexion_);
    }
    ~VentanaAnfitrion() { Destruir(); }
    void Destruir()
    {
        if (id_ == 0)
            return;
        xcb_destroy_window(conexion_, id_);
        xcb_flush(conexion_);
        id_ = 0;
    }
    xcb_window_t Id() const { return id_; }

    int Hijas() const
    {
        xcb_query_tree_reply_t* arbol =
            xcb_query_tree_reply(conexion_, xcb_query_tree(conexion_, id_), nullptr);
        const int hijas = arbol != nullptr ? xcb_query_tree_children_length(arbol) : -1;
        std::free(arbol);
        return hijas;
    }

  private:
    xcb_connection_t* conexion_;
    xcb_window_t id_ = 0;
};

} // namespace

class IncrustacionXvfbTest : public QObject {
    Q_OBJECT

  public:
    explicit IncrustacionXvfbTest(QString pantalla) : pantalla_(std::move(pantalla)) {}

  private slots:
    void laVentanaEntraEnElAnfitrionYTerminaConEl();

  private:
    QString pantalla_;
};

void IncrustacionXvfbTest::laVentanaEntraEnElAnfitrionYTerminaConEl()
{
    if (pantalla_.isEmpty()) {
        // Under continuous integration the install script brings Xvfb.
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL("Sin servidor X: ni DISPLAY ni Xvfb instalado");
        QSKIP("Sin servidor X: ni DISPLAY ni Xvfb instalado");
    }
    xcb_connection_t* conexion = xcb_connect(pantalla_.toLocal8Bit().constData(), nullptr);
    QVERIFY(xcb_connection_has_error(conexion) == 0);
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> cierre(conexion, xcb_disconnect);
    VentanaAnfitrion anfitrion(conexion);

    // A program folder of its own, so that Talvorin.ini is written there.
    DirectorioTemporal programa;
    DirectorioTemporal prefijo;
    fs::create_directories(prefijo / "drive_c" / "KTEMP");
    const fs::path ejecutable = programa / "durlavex";
    fs::copy_file(DURLAVEX_GUI_PROGRAM, ejecutable);
    fs::copy_file(fs::path(DURLAVEX_PROGRAM_DIR) / "NIVELCAN.DBF", programa / "NIVELCAN.DBF");
    fs::copy_file(fs::path(DURLAVEX_PROGRAM_DIR) / "NIVELES.TXT", programa / "NIVELES.TXT");

    QProcess durlavex;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("DISPLAY"), pantalla_);
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    entorno.insert(QStringLiteral("WINEPREFIX"), TextoQt(prefijo.Ruta()));
    durlavex.setProcessEnvironment(entorno);
    durlavex.setProcessChannelMode(QProcess::ForwardedChannels);
    durlavex.start(TextoQt(ejecutable), {QStringLiteral("revisar"), QString::number(anfitrion.Id(), 16)});
    QVERIFY(durlavex.waitForStarted(5000));

    QTRY_COMPARE_WITH_TIMEOUT(anfitrion.Hijas(), 1, 10000);
    QCOMPARE(durlavex.state(), QProcess::Running);

    anfitrion.Destruir();

    QVERIFY(durlavex.waitForFinished(5000));
    QCOMPARE(durlavex.exitStatus(), QProcess::NormalExit);
    QCOMPARE(durlavex.exitCode(), 0);
    QCOMPARE(ValorTransformado(programa / "Talvorin.ini"), QStringLiteral("0"));
}

int main(int argc, char* argv[])
{
    QCoreApplication aplicacion(argc, argv);
    ServidorX servidor;
    QString pantalla = qEnvironmentVariable("DISPLAY");
    if (pantalla.isEmpty())
        pantalla = servidor.Iniciar();
    IncrustacionXvfbTest prueba(pantalla);
    return QTest::qExec(&prueba, argc, argv);
}

#include "incrustacion_xvfb_test.moc"
