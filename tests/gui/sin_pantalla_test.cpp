// The desktop program started where there is no display to open: it says so
// in Spanish, points to durlavex-cli and ends with status 1, instead of Qt's
// abort with its English advice to reinstall.

#include <QFile>
#include <QProcess>
#include <QtTest>

namespace {

struct Arranque {
    int estado = -1;
    QProcess::ExitStatus salida = QProcess::CrashExit;
    QString errores;
};

// Runs the program with the window-system variables given, and no others.
Arranque ArrancarCon(const QStringList& variables)
{
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* nombre : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        entorno.remove(QString::fromLatin1(nombre));
    for (const QString& variable : variables)
        entorno.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    QProcess durlavex;
    durlavex.setProcessEnvironment(entorno);
    durlavex.start(QStringLiteral(DURLAVEX_GUI_PROGRAM), {});
    Arranque a;
    if (!durlavex.waitForFinished(20000)) {
        durlavex.kill();
        durlavex.waitForFinished();
        return a;
    }
    a.estado = durlavex.exitCode();
    a.salida = durlavex.exitStatus();
    a.errores = QString::fromUtf8(durlavex.readAllStandardError());
    return a;
}

} // namespace

class SinPantallaTest : public QObject {
    Q_OBJECT

  private slots:
    void diceQueHaceFaltaUnaSesionGrafica_data()
    {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QString>("errores");
        const QString cli =
            QStringLiteral("Para trabajar sin ventanas use la línea de órdenes: durlavex-cli --help\n");
        QTest::newRow("sin DISPLAY ni WAYLAND_DISPLAY")
            << QStringList{}
            << QStringLiteral(
                   "Durlavex necesita una sesión gráfica y aquí no hay ninguna (no están definidas "
                   "DISPLAY ni WAYLAND_DISPLAY).\n") +
                   cli;
        // A display number no X server of this machine uses.
        QString nadie = QStringLiteral(":7391");
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/.X11-unix/X7391")));
        QTest::newRow("DISPLAY de un servidor que no existe")
            << QStringList{QStringLiteral("DISPLAY=") + nadie}
            << QStringLiteral(
                   "Durlavex necesita una sesión gráfica y no ha podido abrir la pantalla «:7391».\n") +
                   cli;
        QTest::newRow("plataforma xcb pedida sin pantalla")
            << QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb")}
            << QStringLiteral(
                   "Durlavex necesita una sesión gráfica y aquí no hay ninguna (no están definidas "
                   "DISPLAY ni WAYLAND_DISPLAY).\n") +
                   cli;
    }
    void diceQueHaceFaltaUnaSesionGrafica()
    {
        QFETCH(QStringList, variables);
        QFETCH(QString, errores);
        const Arranque a = ArrancarCon(variables);
        QCOMPARE(a.salida, QProcess::NormalExit);
        QCOMPARE(a.estado, 1);
        QCOMPARE(a.errores, errores);
    }
};

QTEST_GUILESS_MAIN(SinPantallaTest)

#include "sin_pantalla_test.moc"
