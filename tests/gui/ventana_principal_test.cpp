// The main window: its layout, help, host mode and the result code, and both
// directions run end to end against a temporary Talvorin working directory.

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <filesystem>
#include <fstream>

#include "app/MainForm.h"
#include "comun/directorio_temporal.h"
#include "comun_ventana.h"
#include "gui/control_por_nombre.h"
#include "import/fixture_importacion.h"
#include "import/importacion.h"
#include "platform/error.h"
#include "ui/cursor_ocupado.h"
#include "ui/panel_degradado.h"
#include "ui/rutas_qt.h"

using namespace durlavex;
using namespace durlavex::pruebas;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const fs::path kCarpetaProgramas = DURLAVEX_PROGRAM_DIR;
const fs::path kEjemplo = fs::path(DURLAVEX_SOURCE_DIR) / "data" / "ejemplo" / "vorna_ejemplo.xml";
constexpr WId kAnfitrion = 0x1A2B;
const QString kSinNivelcan = QStringLiteral("ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale DURLAVEX");

// Talvorin's side of a run: a WINEPREFIX whose drive_c/KTEMP exists, and a
// data folder of our own for the copies of replaced tables.
struct Talvorin {
    DirectorioTemporal prefijo;
    DirectorioTemporal datos;
    VariableEntorno wine{"WINEPREFIX", QByteArray::fromStdString(prefijo.Ruta().string())};
    VariableEntorno xdg{"XDG_DATA_HOME", QByteArray::fromStdString(datos.Ruta().string())};
    fs::path ktemp = prefijo.Ruta() / "drive_c" / "KTEMP";
    Talvorin() { fs::create_directories(ktemp); }
};

// A program folder of the test's own, with or without NIVELCAN.DBF (and the
// level table installed beside it).
struct CarpetaPrograma {
    DirectorioTemporal carpeta;
    explicit CarpetaPrograma(bool conNivelcan)
    {
        if (!conNivelcan)
            return;
        fs::copy_file(kCarpetaProgramas / "NIVELCAN.DBF", carpeta / "NIVELCAN.DBF");
        fs::copy_file(kCarpetaProgramas / "NIVELES.TXT", carpeta / "NIVELES.TXT");
    }
    fs::path Ini() const { return carpeta / "Talvorin.ini"; }
};

// Answers the first modal dialog of type T that appears, once, from the event
// loop. A modal left open after ten seconds is closed, so that a dialog that
// never comes fails the test instead of hanging it.
template <typename T> class ResponderDialogo {
  public:
    explicit ResponderDialogo(std::function<void(T*)> respuesta) : respuesta_(std::move(respuesta))
    {
        QObject::connect(&sondeo_, &QTimer::timeout, [this] { Intentar(); });
        sondeo_.start(20);
        seguridad_.setSingleShot(true);
        QObject::connect(&seguridad_, &QTimer::timeout, [] {
            if (QWidget* abierto = QApplication::activeModalWidget())
                abierto->close();
        });
        seguridad_.start(10000);
    }

  private:
    void Intentar()
    {
        auto* dialogo = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialogo == nullptr)
            return;
        sondeo_.stop();
        respuesta_(dialogo);
    }

    std::function<void(T*)> respuesta_;
    QTimer sondeo_;
    QTimer seguridad_;
};

// A file name in a folder, or nothing.
std::optional<QString> RutaEn(const QDir& carpeta, const std::optional<QString>& nombre)
{
    if (!nombre)
        return std::nullopt;
    return carpeta.absoluteFilePath(*nombre);
}

// Shows the window and waits for the direction named on the command line.
void MostrarYEsperar(TMForm& ventana)
{
    ventana.show();
    QTRY_VERIFY(ventana.FormShowEjecutado());
}

} // namespace

class VentanaPrincipalTest : public QObject {
    Q_OBJECT

  private slots:
    void textosYControles_data();
    void textosYControles();
    void disposicion();
    void ordenDeTabulacion();
    void ayudaF1_data();
    void ayudaF1();
    void ayudaBoton();
    void ayudaSoloArchivosChm_data();
    void ayudaSoloArchivosChm();
    void ayudaContextoMasCercano();
    void dialogoArchivoDelSistema_data();
    void dialogoArchivoDelSistema();
    void cursorOcupado();
    void modoAnfitrion_data();
    void modoAnfitrion();
    void anfitrionDesaparece();
    void anfitrionDesapareceDuranteCorrida();
    void iniNoSePuedeEscribir();
    void dialogoCanceladoConservaArchivo();
    void errorDeCorrida_data();
    void errorDeCorrida();
    void errorDeCorridaAnfitrion_data();
    void errorDeCorridaAnfitrion();
    void exportacionCompleta();
    void importacionCompleta();
    void avisoDeClaves_data();
    void avisoDeClaves();
    void importacionDetenidaPorProfesores_data();
    void importacionDetenidaPorProfesores();
};

void VentanaPrincipalTest::textosYControles_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("texto");
    QTest::newRow("BClose") << "BClose"
                            << "&Salir";
    QTest::newRow("Button1") << "Button1"
                             << "F1 Ayuda";
    QTest::newRow("BExportar") << "BExportar"
                               << "Aceptar";
    QTest::newRow("BImportar") << "BImportar"
                               << "Aceptar";
    QTest::newRow("Label1") << "Label1"
                            << "Durlavex para VX21 V-1.0";
    QTest::newRow("Label3") << "Label3"
                            << "Transformar datos desde Vorna hacia Talvorin ";
    QTest::newRow("Label4") << "Label4"
                            << "Transformar datos desde Talvorin hacia Vorna";
}

void VentanaPrincipalTest::textosYControles()
{
    QFETCH(QString, nombre);
    QFETCH(QString, texto);
    PersonaVentana persona;
    TMForm ventana(persona.Entorno({}, kCarpetaProgramas));
    auto* control = ventana.findChild<QWidget*>(nombre);
    QVERIFY2(control != nullptr, qPrintable(nombre));
    const QVariant valor = control->property("text");
    QCOMPARE(valor.toString(), texto);
    QVERIFY(control->isEnabled());
}

void VentanaPrincipalTest::disposicion()
{
    PersonaVentana persona;
    TMForm ventana(persona.Entorno({}, kCarpetaProgramas));
    QCOMPARE(ventana.windowTitle(), QStringLiteral("Exportar e importar datos entre Talvorin y Vorna"));
    QCOMPARE(ventana.size(), QSize(632, 266));
    QCOMPARE(ventana.minimumSize(), ventana.maximumSize());
    QVERIFY(!(ventana.windowFlags() & Qt::FramelessWindowHint));

    auto* draw3D1 = Control<ui::PanelDegradado>(ventana, "Draw3D1");
    auto* draw3D2 = Control<ui::PanelDegradado>(ventana, "Draw3D2");
    auto* draw3D3 = Control<ui::PanelDegradado>(ventana, "Draw3D3");
    auto* bClose = Control<QPushButton>(ventana, "BClose");
    auto* button1 = Control<QPushButton>(ventana, "Button1");
    auto* bExportar = Control<QPushButton>(ventana, "BExportar");
    auto* bImportar = Control<QPushButton>(ventana, "BImportar");
    auto* label1 = Control<QLabel>(ventana, "Label1");

    QCOMPARE(draw3D1->geometry(), QRect(0, 169, 632, 97));
    QCOMPARE(draw3D2->geometry(), QRect(0, 0, 316, 169));
    QCOMPARE(draw3D3->geometry(), QRect(316, 0, 316, 169));
    QCOMPARE(draw3D1->Inicio(), QColor(194, 205, 254));
    QCOMPARE(draw3D1->Medio(), QColor(207, 242, 254));
    QCOMPARE(draw3D1->Fin(), QColor(204, 216, 230));
    for (ui::PanelDegradado* panel : {draw3D2, draw3D3}) {
        QCOMPARE(panel->Inicio(), QColor(249, 211, 125));
        QCOMPARE(panel->Medio(), QColor(Qt::white));
        QCOMPARE(panel->Fin(), QColor(255, 238, 221));
    }

    // Each control on its panel; Button1 below BClose; Label1 bottom left.
    QCOMPARE(bExportar->parentWidget(), draw3D2);
    QCOMPARE(bImportar->parentWidget(), draw3D3);
    QCOMPARE(bClose->parentWidget(), draw3D1);
    QCOMPARE(button1->parentWidget(), draw3D1);
    QVERIFY(button1->geometry().top() >= bClose->geometry().bottom());
    QVERIFY(label1->geometry().left() < 632 / 4);
    QVERIFY(label1->geometry().bottom() >= 97 - 20);

    for (QLabel* rotulo : {Control<QLabel>(ventana, "Label3"), Control<QLabel>(ventana, "Label4")}) {
        QVERIFY(rotulo->wordWrap());
        QVERIFY(rotulo->font().bold());
        QCOMPARE(rotulo->font().family(), QStringLiteral("Arial"));
        QCOMPARE(rotulo->font().pointSize(), 12);
    }
    QVERIFY(label1->font().bold());
    QCOMPARE(label1->palette().color(QPalette::WindowText), QColor(Qt::red));

    // The glyphs of the close button and the two OK-style buttons.
    QVERIFY(!bClose->icon().isNull());
    QVERIFY(!bExportar->icon().isNull());
    QVERIFY(!bImportar->icon().isNull());
}

void VentanaPrincipalTest::ordenDeTabulacion()
{
    PersonaVentana persona;
    TMForm ventana(persona.Entorno({}, kCarpetaProgramas));
    ventana.show();
    ventana.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    auto* bClose = Control<QPushButton>(ventana, "BClose");
    bClose->setFocus();
    QList<QWidget*> orden;
    for (int i = 0; i < 5; ++i) {
        orden << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(orden, (QList<QWidget*>{bClose, Control<QPushButton>(ventana, "Button1"),
                                     Control<QPushButton>(ventana, "BExportar"),
                                     Control<QPushButton>(ventana, "BImportar"), bClose}));
}

void VentanaPrincipalTest::ayudaF1_data()
{
    QTest::addColumn<QString>("nombre");
    for (const char* nombre : {"MForm", "Draw3D1", "Draw3D2", "Draw3D3", "BClose", "Button1", "BExportar",
                               "BImportar", "Label1", "Label3", "Label4"})
        QTest::newRow(nombre) << nombre;
}

void VentanaPrincipalTest::ayudaF1()
{
    QFETCH(QString, nombre);
    VisorGrabado visor;
    ui::Ayuda ayuda(visor, kCarpetaProgramas);
    ayuda.FijarArchivo(QStringLiteral("VORNA.chm"));
    ui::TeclaAyuda tecla(ayuda);
    qApp->installEventFilter(&tecla);
    PersonaVentana persona;
    TMForm ventana(persona.Entorno({}, kCarpetaProgramas, &ayuda));
    QWidget* destino = nombre == ventana.objectName() ? &ventana : ventana.findChild<QWidget*>(nombre);
    QVERIFY(destino != nullptr);

    QTest::keyClick(destino, Qt::Key_F1);

    QCOMPARE(visor.peticiones, (std::vector<PeticionAyuda>{{"VORNA.chm", 3}}));
}

void VentanaPrincipalTest::ayudaBoton()
{
    VisorGrabado visor;
    ui::Ayuda ayuda(visor, kCarpetaProgramas);
    ayuda.FijarArchivo(QStringLiteral("otra.chm"));
    PersonaVentana persona;
    TMForm ventana(persona.Entorno({}, kCarpetaProgramas, &ayuda));

    QTest::mouseClick(Control<QPushButton>(ventana, "Button1"), Qt::LeftButton);

    QCOMPARE(visor.peticiones, (std::vector<PeticionAyuda>{{"VORNA.chm", 0}}));
    QCOMPARE(ayuda.Archivo(), kCarpetaProgramas / "VORNA.chm");
}

void VentanaPrincipalTest::ayudaSoloArchivosChm_data()
{
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<bool>("mostrada");
    QTest::newRow("VORNA.chm") << "VORNA.chm" << true;
    QTest::newRow("mayúsculas") << "VORNA.CHM" << true;
    QTest::newRow("mezcla") << "ayuda.cHm" << true;
    QTest::newRow("otra extensión") << "VORNA.hlp" << false;
    QTest::newRow("sin extensión") << "VORNA" << false;
    QTest::newRow("chm sin punto") << "VORNAchm" << false;
}

void VentanaPrincipalTest::ayudaSoloArchivosChm()
{
    QFETCH(QString, archivo);
    QFETCH(bool, mostrada);
    VisorGrabado visor;
    ui::Ayuda ayuda(visor, kCarpetaProgramas);
    ayuda.FijarArchivo(archivo);
    ayuda.MostrarContenido();
    ayuda.MostrarContexto(3);
    QCOMPARE(visor.peticiones.size(), mostrada ? 2u : 0u);
}

// Another window's widgets carry their own context: the nearest one counts.
void VentanaPrincipalTest::ayudaContextoMasCercano()
{
    VisorGrabado visor;
    ui::Ayuda ayuda(visor, kCarpetaProgramas);
    ayuda.FijarArchivo(QStringLiteral("VORNA.chm"));
    ui::TeclaAyuda tecla(ayuda);
    qApp->installEventFilter(&tecla);
    QWidget dialogo;
    dialogo.setProperty(ui::kPropiedadContextoAyuda, 3);
    QWidget marco(&dialogo);
    QPushButton boton(&marco);
    boton.setProperty(ui::kPropiedadContextoAyuda, 1);
    QPushButton sinContexto(&marco);
    QWidget suelto;

    QTest::keyClick(&boton, Qt::Key_F1);
    QTest::keyClick(&sinContexto, Qt::Key_F1);
    QTest::keyClick(&suelto, Qt::Key_F1);

    QCOMPARE(visor.peticiones, (std::vector<PeticionAyuda>{{"VORNA.chm", 1}, {"VORNA.chm", 3}}));
}

// The real file dialog: its title, its one filter and default suffix; a name
// typed without a suffix gets ".xml", and a cancel gives nothing.
void VentanaPrincipalTest::dialogoArchivoDelSistema_data()
{
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QByteArray>("accion"); // the dialog's slot that ends it
    QTest::addColumn<std::optional<QString>>("elegido");
    QTest::newRow("cancelado") << "vorna.xml" << QByteArray("reject") << std::optional<QString>();
    QTest::newRow("sin sufijo") << "vorna" << QByteArray("accept") << std::optional<QString>("vorna.xml");
    QTest::newRow("con sufijo") << "otro.xml" << QByteArray("accept") << std::optional<QString>("otro.xml");
}

void VentanaPrincipalTest::dialogoArchivoDelSistema()
{
    QFETCH(QString, escrito);
    QFETCH(QByteArray, accion);
    QFETCH(std::optional<QString>, elegido);
    DirectorioTemporal carpeta;
    const QDir dir(TextoQt(carpeta.Ruta()));
    QStringList titulo, filtros, sufijo;
    ResponderDialogo<QFileDialog> respuesta([&](QFileDialog* dialogo) {
        titulo << dialogo->windowTitle();
        filtros << dialogo->nameFilters();
        sufijo << dialogo->defaultSuffix();
        dialogo->setDirectory(dir);
        dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(escrito); // as typed
        QMetaObject::invokeMethod(dialogo, accion.constData());
    });

    const std::optional<QString> elegidoPorDialogo = ui::DialogoArchivo::DelSistema().Elegir(nullptr);

    QCOMPARE(titulo, QStringList{"Archivo XML"});
    QCOMPARE(filtros, QStringList{"*.xml (*.xml)"});
    QCOMPARE(sufijo, QStringList{"xml"});
    const std::optional<QString> esperado = RutaEn(dir, elegido);
    QVERIFY2(elegidoPorDialogo == esperado, qPrintable(elegidoPorDialogo.value_or("(nada)")));
}

// The hourglass is pushed once and popped once, whatever the calls, and gives
// way to the normal cursor while the person answers a dialog.
void VentanaPrincipalTest::cursorOcupado()
{
    {
        ui::CursorOcupado cursor;
        cursor.Fijar(true);
        cursor.Fijar(true);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            ui::PausaCursorOcupado pausa(cursor);
            QVERIFY(QApplication::overrideCursor() == nullptr);
        }
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        cursor.Fijar(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        cursor.Fijar(false);
        cursor.Fijar(true);
    }
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

// The command line decides the mode; closing decides what Talvorin reads.
void VentanaPrincipalTest::modoAnfitrion_data()
{
    QTest::addColumn<QStringList>("parametros");
    QTest::addColumn<bool>("anfitrionExiste");
    QTest::addColumn<std::optional<QString>>("respuesta"); // of the file dialog; none: cancelled
    QTest::addColumn<bool>("conNivelcan");
    QTest::addColumn<int>("numParametros");
    QTest::addColumn<int>("dialogosAbiertos");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<QStringList>("errores");
    QTest::addColumn<bool>("cierraSola");
    QTest::addColumn<int>("resultado");
    QTest::addColumn<QString>("ini"); // Transformado after closing

    const std::optional<QString> cancelado;
    const std::optional<QString> ejemplo = TextoQt(kEjemplo);
    const QString sinArchivo = QStringLiteral("(sin archivo)");
    const QStringList nada;
    const QStringList noExiste{QStringLiteral("No existe archivo")};

    QTest::newRow("sin parámetros") << QStringList{} << true << cancelado << true << 0 << 0 << nada << nada
                                    << false << 0 << sinArchivo;
    QTest::newRow("un parámetro") << QStringList{"exportar"} << true << cancelado << true << 0 << 0 << nada
                                  << nada << false << 0 << sinArchivo;
    QTest::newRow("tres parámetros") << QStringList{"exportar", "1A2B", "x"} << true << cancelado << true << 0
                                     << 0 << nada << nada << false << 0 << sinArchivo;
    QTest::newRow("EXPORTAR en mayúsculas, diálogo cancelado")
        << QStringList{"EXPORTAR", "1A2B"} << true << cancelado << true << 2 << 1 << noExiste << nada << true
        << -1 << "-1";
    QTest::newRow("Importar, diálogo cancelado") << QStringList{"Importar", "1a2b"} << true << cancelado
                                                 << true << 2 << 1 << noExiste << nada << true << -1 << "-1";
    QTest::newRow("dirección desconocida") << QStringList{"revisar", "1A2B"} << true << cancelado << true << 2
                                           << 0 << nada << nada << false << 0 << "0";
    QTest::newRow("dirección con letra no ASCII")
        << QStringList{"EXPORTAR\u0130", "1A2B"} << true << cancelado << true << 2 << 0 << nada << nada
        << false << 0 << "0";
    QTest::newRow("sin NIVELCAN.DBF") << QStringList{"exportar", "1A2B"} << true << ejemplo << false << 2 << 1
                                      << QStringList{kSinNivelcan} << nada << false << 0 << "0";
    QTest::newRow("prefijo 0x") << QStringList{"exportar", "0x1A2B"} << true << cancelado << true << 0 << 1
                                << noExiste << QStringList{"'$0x1A2B' no es un valor entero válido."} << false
                                << 0 << sinArchivo;
    QTest::newRow("nueve dígitos") << QStringList{"exportar", "000001A2B"} << true << cancelado << true << 0
                                   << 1 << noExiste
                                   << QStringList{"'$000001A2B' no es un valor entero válido."} << false << 0
                                   << sinArchivo;
    QTest::newRow("parámetro vacío") << QStringList{"revisar", ""} << true << cancelado << true << 0 << 0
                                     << nada << QStringList{"'$' no es un valor entero válido."} << false << 0
                                     << sinArchivo;
    QTest::newRow("ventana inexistente")
        << QStringList{"revisar", "1A2B"} << false << cancelado << true << 0 << 0 << nada
        << QStringList{"No existe la ventana $1A2B en la que el programa que abrió Durlavex pedía mostrarlo; "
                       "se "
                       "abre como una ventana normal."}
        << false << 0 << sinArchivo;
}

void VentanaPrincipalTest::modoAnfitrion()
{
    QFETCH(QStringList, parametros);
    QFETCH(bool, anfitrionExiste);
    QFETCH(std::optional<QString>, respuesta);
    QFETCH(bool, conNivelcan);
    QFETCH(int, numParametros);
    QFETCH(int, dialogosAbiertos);
    QFETCH(QStringList, mensajes);
    QFETCH(QStringList, errores);
    QFETCH(bool, cierraSola);
    QFETCH(int, resultado);
    QFETCH(QString, ini);

    Talvorin talvorin;
    CarpetaPrograma programa(conNivelcan);
    PersonaVentana persona;
    persona.dialogo.respuestas = {respuesta};
    const std::vector<WId> existentes{kAnfitrion};
    persona.ventanas.existentes = {existentes.begin(), existentes.begin() + (anfitrionExiste ? 1 : 0)};
    TMForm ventana(persona.Entorno(parametros, programa.carpeta.Ruta()));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);

    MostrarYEsperar(ventana);

    QCOMPARE(ventana.NumParametros(), numParametros);
    QCOMPARE(persona.ventanas.incrustada, std::vector<WId>(numParametros == 2 ? 1 : 0, kAnfitrion));
    QCOMPARE(bool(ventana.windowFlags() & Qt::FramelessWindowHint), numParametros == 2);
    QCOMPARE(persona.dialogo.veces, dialogosAbiertos);
    QCOMPARE(persona.avisos.mensajes, mensajes);
    QCOMPARE(persona.avisos.errores, errores);
    QCOMPARE(cerrada.count(), cierraSola ? 1 : 0);
    QVERIFY(Control<QPushButton>(ventana, "BExportar")->isEnabled());
    QVERIFY(Control<QPushButton>(ventana, "BImportar")->isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);

    ventana.close();
    QCOMPARE(cerrada.count(), 1);
    QCOMPARE(ventana.ResultadoProceso(), resultado);
    QCOMPARE(ValorTransformado(programa.Ini()), ini);
    QCOMPARE(persona.avisos.errores, errores);
}

// The host's window goes away: the window closes as if the person had closed
// it, and the result code is written.
void VentanaPrincipalTest::anfitrionDesaparece()
{
    CarpetaPrograma programa(true);
    PersonaVentana persona;
    persona.ventanas.existentes = {kAnfitrion};
    TMForm ventana(persona.Entorno({"revisar", "1A2B"}, programa.carpeta.Ruta()));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);
    MostrarYEsperar(ventana);
    QTest::qWait(2 * ui::VigilanteAnfitrion::kIntervaloMs);
    QCOMPARE(cerrada.count(), 0);

    persona.ventanas.existentes.clear();

    QTRY_COMPARE_WITH_TIMEOUT(cerrada.count(), 1, 4 * ui::VigilanteAnfitrion::kIntervaloMs);
    QVERIFY(!ventana.isVisible());
    QCOMPARE(ValorTransformado(programa.Ini()), QStringLiteral("0"));
}

// The host's window goes while the person is choosing the template: the run
// finishes first, then the window closes and writes its outcome.
void VentanaPrincipalTest::anfitrionDesapareceDuranteCorrida()
{
    Talvorin talvorin;
    CarpetaPrograma programa(true);
    PersonaVentana persona;
    persona.ventanas.existentes = {kAnfitrion};
    persona.dialogo.respuestas = {TextoQt(kEjemplo)};
    TMForm ventana(persona.Entorno({"exportar", "1A2B"}, programa.carpeta.Ruta()));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);
    int cerradaDuranteCorrida = -1;
    persona.alElegirPlantilla = [&] {
        persona.ventanas.existentes.clear();
        QTest::qWait(3 * ui::VigilanteAnfitrion::kIntervaloMs);
        cerradaDuranteCorrida = cerrada.count();
    };

    MostrarYEsperar(ventana);

    QCOMPARE(cerradaDuranteCorrida, 0);
    QCOMPARE(cerrada.count(), 1);
    QCOMPARE(persona.avisos.mensajes.size(), 1);
    QVERIFY(persona.avisos.mensajes[0].startsWith(QStringLiteral("Proceso finalizado\n")));
    QCOMPARE(ValorTransformado(programa.Ini()), QStringLiteral("1"));
}

// A program folder where nothing can be written: the error box names the
// file, and the window closes all the same.
void VentanaPrincipalTest::iniNoSePuedeEscribir()
{
    DirectorioTemporal temporal;
    const fs::path noEsCarpeta = temporal / "programa";
    std::ofstream(noEsCarpeta) << "un archivo, no una carpeta";
    PersonaVentana persona;
    persona.ventanas.existentes = {kAnfitrion};
    TMForm ventana(persona.Entorno({"revisar", "1A2B"}, noEsCarpeta));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);
    MostrarYEsperar(ventana);

    ventana.close();

    QCOMPARE(cerrada.count(), 1);
    QVERIFY(!ventana.isVisible());
    QCOMPARE(persona.avisos.errores,
             QStringList{"Unable to write to " + TextoQt(noEsCarpeta / "Talvorin.ini") + "."});
}

// A cancelled dialog keeps the file of the earlier click (here a run that
// stopped for the missing NIVELCAN.DBF), whichever button it came from.
void VentanaPrincipalTest::dialogoCanceladoConservaArchivo()
{
    Talvorin talvorin;
    CarpetaPrograma programa(false);
    PersonaVentana persona;
    persona.dialogo.respuestas = {TextoQt(kEjemplo)};
    TMForm ventana(persona.Entorno({}, programa.carpeta.Ruta()));

    QTest::mouseClick(Control<QPushButton>(ventana, "BExportar"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(ventana, "BExportar"), Qt::LeftButton);

    QCOMPARE(persona.dialogo.veces, 2);
    QCOMPARE(ventana.ArchivoXML(), kEjemplo);
    QCOMPARE(persona.avisos.mensajes, (QStringList{kSinNivelcan, kSinNivelcan}));
    QCOMPARE(ventana.ResultadoProceso(), 0);
}

// A run that ends in an error: the error box with its full stop, the normal
// cursor, both buttons still enabled, and no automatic close even in host mode.
// The working directory holds every table an import opens, so that both
// directions reach the malformed exchange file.
struct CorridaConError {
    Talvorin talvorin;
    CarpetaPrograma programa{true};
    fs::path roto = programa.carpeta / "roto.xml";
    PersonaVentana persona;

    CorridaConError()
    {
        EntornoImportacion importacion;
        importacion.Preparar();
        for (const auto& tabla : fs::directory_iterator(importacion.trabajo.Ruta()))
            fs::copy_file(tabla.path(), talvorin.ktemp / tabla.path().filename());
        std::ofstream(roto) << "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"MATERIAS\">";
        persona.ventanas.existentes = {kAnfitrion};
        persona.dialogo.respuestas = {TextoQt(roto)};
    }

    void Comprobar(const TMForm& ventana, const QSignalSpy& cerrada) const
    {
        QCOMPARE(persona.dialogo.veces, 1);
        QCOMPARE(persona.avisos.errores.size(), 1);
        const QString error = persona.avisos.errores.first();
        QVERIFY2(error.contains(QStringLiteral("roto.xml")), qPrintable(error));
        QVERIFY2(QString::fromStdString(TextoCajaError(error.toStdString())) == error, qPrintable(error));
        QCOMPARE(persona.avisos.mensajes, QStringList{});
        QVERIFY(Control<QPushButton>(ventana, "BExportar")->isEnabled());
        QVERIFY(Control<QPushButton>(ventana, "BImportar")->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(cerrada.count(), 0);
        QVERIFY(ventana.isVisible());
        QCOMPARE(ventana.ResultadoProceso(), 0);
    }
};

void VentanaPrincipalTest::errorDeCorrida_data()
{
    QTest::addColumn<QString>("boton");
    QTest::newRow("exportar") << "BExportar";
    QTest::newRow("importar") << "BImportar";
}

void VentanaPrincipalTest::errorDeCorrida()
{
    QFETCH(QString, boton);
    CorridaConError corrida;
    TMForm ventana(corrida.persona.Entorno({}, corrida.programa.carpeta.Ruta()));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);
    MostrarYEsperar(ventana);

    QTest::mouseClick(ventana.findChild<QPushButton*>(boton), Qt::LeftButton);

    corrida.Comprobar(ventana, cerrada);
}

void VentanaPrincipalTest::errorDeCorridaAnfitrion_data()
{
    QTest::addColumn<QString>("direccion");
    QTest::newRow("exportar") << "exportar";
    QTest::newRow("importar") << "importar";
}

void VentanaPrincipalTest::errorDeCorridaAnfitrion()
{
    QFETCH(QString, direccion);
    CorridaConError corrida;
    TMForm ventana(corrida.persona.Entorno({direccion, "1A2B"}, corrida.programa.carpeta.Ruta()));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);

    MostrarYEsperar(ventana);

    corrida.Comprobar(ventana, cerrada);
    ventana.close();
    QCOMPARE(ValorTransformado(corrida.programa.Ini()), QStringLiteral("0"));
}

void VentanaPrincipalTest::exportacionCompleta()
{
    Talvorin talvorin;
    PersonaVentana persona;
    persona.plantilla = "J2";
    persona.dialogo.respuestas = {TextoQt(kEjemplo)};
    bool cursorNormalEnDialogo = false;
    persona.alElegirPlantilla = [&] { cursorNormalEnDialogo = QApplication::overrideCursor() == nullptr; };
    TMForm ventana(persona.Entorno({}, kCarpetaProgramas));
    // A table of an earlier export, which goes to the backup.
    std::ofstream(talvorin.ktemp / "JORNADAS.DBF") << "jornadas anteriores";
    MostrarYEsperar(ventana);

    QTest::mouseClick(Control<QPushButton>(ventana, "BExportar"), Qt::LeftButton);

    QCOMPARE(persona.avisos.errores, QStringList{});
    // The end message says where the tables and the backup went.
    QCOMPARE(persona.avisos.mensajes.size(), 1);
    const QStringList lineas = persona.avisos.mensajes[0].split(QLatin1Char('\n'));
    QCOMPARE(lineas.size(), 4);
    QCOMPARE(lineas[0], QStringLiteral("Proceso finalizado"));
    QCOMPARE(lineas[1], QString());
    QCOMPARE(lineas[2], QStringLiteral("Tablas de Talvorin: ") + TextoQt(talvorin.ktemp));
    const QString copia = QStringLiteral("Copia de seguridad de las tablas anteriores: ");
    QVERIFY2(lineas[3].startsWith(copia + TextoQt(talvorin.datos / "durlavex" / "copias")),
             qPrintable(lineas[3]));
    QVERIFY(fs::exists(ui::RutaDe(lineas[3].mid(copia.size())) / "JORNADAS.DBF"));
    QCOMPARE(persona.plantillasPedidas, 1);
    QVERIFY(cursorNormalEnDialogo);
    QCOMPARE(ventana.JornadaElegida(), std::string("J2"));
    QCOMPARE(ventana.ResultadoProceso(), 1);
    QVERIFY(!Control<QPushButton>(ventana, "BExportar")->isEnabled());
    QVERIFY(!Control<QPushButton>(ventana, "BImportar")->isEnabled());
    QVERIFY(Control<QPushButton>(ventana, "BClose")->isEnabled());
    QVERIFY(Control<QPushButton>(ventana, "Button1")->isEnabled());
    QVERIFY(ventana.isVisible());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    for (const char* tabla :
         {"ASIGNOMT.DBF", "ASIGNOMT2.DBF", "PROFT.DBF", "AULAT.DBF", "CURSOST.DBF", "GRUPOST.DBF",
          "ASIGT.DBF", "DIASHORAST.DBF", "DIASHORAST2.DBF", "PERIODOS.DBF"})
        QVERIFY2(fs::exists(talvorin.ktemp / tabla), tabla);
}

void VentanaPrincipalTest::importacionCompleta()
{
    Talvorin talvorin;
    EntornoImportacion importacion;
    importacion.escuela.soluc.push_back({"P1", "3", "2", "MAT", "1A", "", "A1"});
    importacion.Preparar();
    for (const auto& tabla : fs::directory_iterator(importacion.trabajo.Ruta()))
        fs::copy_file(tabla.path(), talvorin.ktemp / tabla.path().filename());
    PersonaVentana persona;
    persona.dialogo.respuestas = {TextoQt(importacion.archivoXml)};
    TMForm ventana(persona.Entorno({}, kCarpetaProgramas));
    MostrarYEsperar(ventana);

    QTest::mouseClick(Control<QPushButton>(ventana, "BImportar"), Qt::LeftButton);

    QCOMPARE(persona.avisos.errores, QStringList{});
    const fs::path resultado = importacion.archivoXml.parent_path() /
                               ("ResultadoTalvos" + importacion.archivoXml.filename().string());
    QCOMPARE(
        persona.avisos.mensajes,
        QStringList{QStringLiteral("Proceso finalizado\n\nArchivo de resultado: ") + TextoQt(resultado)});
    QVERIFY(fs::exists(resultado));
    QCOMPARE(persona.profesoresCompletados, 0);
    QCOMPARE(ventana.ResultadoProceso(), 1);
    QVERIFY(!Control<QPushButton>(ventana, "BExportar")->isEnabled());
    QVERIFY(!Control<QPushButton>(ventana, "BImportar")->isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const ResultadoLeido leido = importacion.Leer();
    QCOMPARE(leido.profesores.size(), 1u);
    QCOMPARE(leido.profesores[0].lecciones.size(), 1u);
}

void VentanaPrincipalTest::avisoDeClaves_data()
{
    QTest::addColumn<QStringList>("parametros");
    QTest::addColumn<QString>("aula"); // the room Vorna knows
    QTest::addColumn<bool>("aviso");
    QTest::newRow("claves conocidas") << QStringList{} << "A1" << false;
    QTest::newRow("aula desconocida") << QStringList{} << "A-1" << true;
    QTest::newRow("aula desconocida, Talvorin") << QStringList{"importar", "1A2B"} << "A-1" << true;
}

// The report of the keys Vorna will not recognise comes after "Proceso
// finalizado", only when there is something in it, and before the window
// closes in host mode.
void VentanaPrincipalTest::avisoDeClaves()
{
    QFETCH(QStringList, parametros);
    QFETCH(QString, aula);
    QFETCH(bool, aviso);
    Talvorin talvorin;
    EntornoImportacion importacion;
    importacion.intercambio = ArchivoIntercambio();
    importacion.intercambio.Anno("2023/2024")
        .Grupo("UNIDADES", {{"U1A"}})
        .Grupo("CURSOS_DEL_CENTRO", {{"C1-A"}})
        .Grupo("MATERIAS", {{"C1-A", "M-MAT", "Matemáticas"}})
        .Grupo("TRAMOS_HORARIOS", {{"T-32"}})
        .Grupo("DEPENDENCIAS", {{aula.toStdString(), "Aula"}});
    importacion.escuela.soluc.push_back({"P1", "3", "2", "MAT", "1A", "", "A1"});
    importacion.Preparar();
    for (const auto& tabla : fs::directory_iterator(importacion.trabajo.Ruta()))
        fs::copy_file(tabla.path(), talvorin.ktemp / tabla.path().filename());
    CarpetaPrograma programa(false);
    PersonaVentana persona;
    persona.ventanas.existentes = {kAnfitrion};
    persona.dialogo.respuestas = {TextoQt(importacion.archivoXml)};
    TMForm ventana(persona.Entorno(parametros, programa.carpeta.Ruta()));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);
    bool avisadoAntesDeCerrar = false;
    QObject::connect(&ventana, &TMForm::Cerrada,
                     [&] { avisadoAntesDeCerrar = !persona.avisosClaves.isEmpty(); });
    MostrarYEsperar(ventana);

    if (parametros.isEmpty())
        QTest::mouseClick(Control<QPushButton>(ventana, "BImportar"), Qt::LeftButton);

    QCOMPARE(persona.avisos.errores, QStringList{});
    QCOMPARE(persona.avisos.mensajes.size(), 1);
    QVERIFY(persona.avisos.mensajes[0].startsWith(QStringLiteral("Proceso finalizado")));
    QCOMPARE(persona.avisosClaves.size(), aviso ? 1 : 0);
    if (aviso) {
        QCOMPARE(persona.mensajesAntesDelAviso, 1);
        QVERIFY2(persona.avisosClaves[0].contains(
                     QStringLiteral("Dependencias que Vorna no conoce (X_DEPENDENCIA): 1 lección")),
                 qPrintable(persona.avisosClaves[0]));
    }
    QCOMPARE(cerrada.count(), parametros.isEmpty() ? 0 : 1);
    if (!parametros.isEmpty())
        QVERIFY(avisadoAntesDeCerrar);
    QVERIFY(fs::exists(importacion.Resultado()));
}

void VentanaPrincipalTest::importacionDetenidaPorProfesores_data()
{
    QTest::addColumn<QStringList>("parametros");
    QTest::newRow("una persona") << QStringList{};
    QTest::newRow("Talvorin") << QStringList{"importar", "1A2B"};
}

// A teacher still incomplete after the completion dialog: the message, then
// the window closes, and Talvorin gets the result code as it stood.
void VentanaPrincipalTest::importacionDetenidaPorProfesores()
{
    QFETCH(QStringList, parametros);
    Talvorin talvorin;
    EntornoImportacion importacion;
    importacion.escuela.proft[0]["F_TOMAPOS"] = "";
    importacion.escuela.soluc.push_back({"P1", "3", "2", "MAT", "1A", "", "A1"});
    importacion.Preparar();
    for (const auto& tabla : fs::directory_iterator(importacion.trabajo.Ruta()))
        fs::copy_file(tabla.path(), talvorin.ktemp / tabla.path().filename());
    CarpetaPrograma programa(true);
    PersonaVentana persona;
    persona.ventanas.existentes = {kAnfitrion};
    persona.dialogo.respuestas = {TextoQt(importacion.archivoXml)};
    TMForm ventana(persona.Entorno(parametros, programa.carpeta.Ruta()));
    QSignalSpy cerrada(&ventana, &TMForm::Cerrada);
    MostrarYEsperar(ventana);

    if (parametros.isEmpty())
        QTest::mouseClick(Control<QPushButton>(ventana, "BImportar"), Qt::LeftButton);

    QCOMPARE(persona.profesoresCompletados, 1);
    QCOMPARE(persona.avisos.mensajes, QStringList{QString::fromUtf8(kMensajeProfesorIncompleto)});
    QCOMPARE(persona.avisos.errores, QStringList{});
    QCOMPARE(cerrada.count(), 1);
    QVERIFY(!ventana.isVisible());
    QCOMPARE(ventana.ResultadoProceso(), 0);
    QCOMPARE(ValorTransformado(programa.Ini()),
             parametros.isEmpty() ? QStringLiteral("(sin archivo)") : QStringLiteral("0"));
    QVERIFY(!fs::exists(importacion.Resultado()));
}

QTEST_MAIN(VentanaPrincipalTest)
#include "ventana_principal_test.moc"
