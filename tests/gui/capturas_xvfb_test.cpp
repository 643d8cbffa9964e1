// The windows as a person sees them: the main window, the hour-template
// dialog, the teacher-data dialog, the key report, the file dialog and a
// message box, each shown on an X server of the test's own with the fonts the
// machine has, and saved as a picture in capturas/ of the build folder. What is
// checked is not the pixels but the geometry: every label and button holds its whole text
// in the font it got, inside its window; and Qt's own texts are Spanish.
//
// Without Xvfb the same checks run on the offscreen platform.

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

#include "app/MainForm.h"
#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "comun_ventana.h"
#include "export/dialogos/Plantihoras.h"
#include "gui/control_por_nombre.h"
#include "gui/guion_modal.h"
#include "import/dialogos/AvisoClaves.h"
#include "import/dialogos/ControlProfes.h"
#include "platform/texto.h"
#include "servidor_x.h"
#include "tables/esquemas.h"
#include "tables/tabla.h"
#include "texto_cabe.h"
#include "ui/avisos.h"
#include "ui/dialogo_archivo.h"
#include "ui/etiqueta_una_linea.h"
#include "ui/fuentes.h"
#include "ui/idioma.h"

using namespace durlavex;
using namespace durlavex::pruebas;
namespace fs = std::filesystem;

namespace {

const fs::path kCarpetaProgramas = DURLAVEX_PROGRAM_DIR;
const fs::path kEjemplo = fs::path(DURLAVEX_SOURCE_DIR) / "data" / "ejemplo" / "vorna_ejemplo.xml";
const fs::path kCapturas = fs::path(DURLAVEX_BINARY_DIR) / "capturas";

// Saves what the screen shows (the window alone on the offscreen platform).
void Capturar(QWidget& ventana, const QString& nombre)
{
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    QTest::qWait(100); // the window manager-less server paints at once; fonts settle
    const bool pantallaReal = QGuiApplication::platformName() == QLatin1String("xcb");
    const QPixmap imagen = pantallaReal ? ventana.screen()->grabWindow(0) : ventana.grab();
    QVERIFY(imagen.save(TextoQt(kCapturas / (nombre.toStdString() + ".png"))));
}

void ComprobarTextos(const QWidget& ventana)
{
    const QStringList cortados = TextosQueNoCaben(ventana);
    QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join(QStringLiteral("\n"))));
}

// Qt's English texts a file dialog or a box would show without its Spanish
// translation.
const QStringList kIngles = {"Look in:", "File name:", "Files of type:",  "Open",
                             "Cancel",   "OK",         "Detail View",     "List View",
                             "Back",     "Forward",    "Parent Directory"};

QStringList TextosEnIngles(const QWidget& ventana)
{
    QStringList ingleses;
    for (const QLabel* l : ventana.findChildren<QLabel*>())
        if (kIngles.contains(l->text().remove(QLatin1Char('&'))))
            ingleses << l->text();
    for (const QAbstractButton* b : ventana.findChildren<QAbstractButton*>()) {
        if (kIngles.contains(b->text().remove(QLatin1Char('&'))) || kIngles.contains(b->toolTip()))
            ingleses << b->text() + QStringLiteral(" / ") + b->toolTip();
    }
    return ingleses;
}

void EscribirProft(const fs::path& carpeta)
{
    auto proft = CrearTabla(carpeta, esquemas::PROFT);
    proft->Abrir();
    const char* const profesores[][4] = {{"GLA", "García López, Ana", "40001", "01/09/2015"},
                                         {"PJ", "Pérez Jiménez, Juan", "40003", ""},
                                         {"ORS", "O'Connor Ruiz, Sean", "", "01/09/2010"}};
    for (const auto& p : profesores) {
        proft->Agregar();
        proft->FijarTexto("ABREV", VistaAnsi(p[0]));
        proft->FijarTexto("NOMBRE", Utf8AAnsi(p[1]));
        proft->FijarTexto("X_EMPLEADO", VistaAnsi(p[2]));
        proft->FijarTexto("F_TOMAPOS", VistaAnsi(p[3]));
        proft->Grabar();
    }
    proft->Cerrar();
}

} // namespace

class CapturasXvfbTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase()
    {
        fs::create_directories(kCapturas);
        QApplication::setApplicationName(QStringLiteral("Durlavex"));
        // The install script installs Qt's translations (qt6-translations-l10n).
        QVERIFY(ui::TextosDeQtEnCastellano());
    }

    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
    }

    // The install script installs Liberation Sans (fonts-liberation2), drawn
    // to Arial's metrics, which then stands in for both fonts the windows
    // name.
    void fuentesDeMetricasDeWindows()
    {
        QCOMPARE(QFontInfo(ui::ArialNegrita(13)).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(ui::ArialNegritaPuntos(12)).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(ui::SansSerifClasica()).family(), QStringLiteral("Liberation Sans"));
    }

    void ventanaPrincipal()
    {
        PersonaVentana persona;
        TMForm ventana(persona.Entorno({}, kCarpetaProgramas));
        ventana.show();
        Capturar(ventana, QStringLiteral("ventana_principal"));
        ComprobarTextos(ventana);
        QCOMPARE(ventana.size(), QSize(632, 266));
    }

    void plantillas_data()
    {
        QTest::addColumn<QString>("captura");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("ejemplo") << "plantillas"
                                 << "Jornada ordinaria";
        QTest::newRow("nombre largo") << "plantillas_nombre_largo"
                                      << "Jornada reducida de junio (horario de verano)";
    }
    void plantillas()
    {
        QFETCH(QString, captura);
        QFETCH(QString, nombre);
        DirectorioTemporal carpeta;
        const fs::path archivo = carpeta / "vorna.xml";
        ArchivoIntercambio()
            .Grupo("JORNADAS_ESCOLARES", {{"J1", nombre.toStdString(), "15/09/2025", "19/06/2026"},
                                          {"J2", "Jornada de tarde", "15/09/2025", "19/06/2026"}})
            .Grupo("TRAMOS_HORARIOS",
                   {{"1", "1ª hora", "480", "535", "J1"}, {"2", "2ª hora", "535", "590", "J1"}})
            .Guardar(archivo);
        TPlantillas dialogo(nullptr, archivo);
        dialogo.show();
        Capturar(dialogo, captura);
        ComprobarTextos(dialogo);
        QCOMPARE(dialogo.size(), QSize(370, 242));

        // The whole name stays the label's text; when it is cut, the tooltip
        // shows it.
        auto* etiqueta = Control<ui::EtiquetaUnaLinea>(dialogo, "LabelNombre");
        QCOMPARE(etiqueta->text(), nombre);
        const bool cabe =
            etiqueta->fontMetrics().horizontalAdvance(nombre) <= etiqueta->contentsRect().width();
        QCOMPARE(etiqueta->Recortada(), !cabe);
        if (!cabe) {
            QHelpEvent pregunta(QEvent::ToolTip, QPoint(5, 5), etiqueta->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(etiqueta, &pregunta);
            QTRY_COMPARE(QToolTip::text(), nombre);
            QToolTip::hideText();
        }
    }

    void controlProfesores()
    {
        DirectorioTemporal trabajo;
        EscribirProft(trabajo.Ruta());
        TControlProfesores dialogo(nullptr, trabajo.Ruta());
        dialogo.show();
        Capturar(dialogo, QStringLiteral("control_profesores"));
        ComprobarTextos(dialogo);
        QCOMPARE(dialogo.size(), QSize(754, 499));
    }

    // The report after an import, with a long line that wraps.
    void avisoClaves()
    {
        TAvisoClaves dialogo(nullptr,
                             QStringLiteral("Comprobación para Vorna: 33 de 99 lecciones llevan claves que "
                                            "Vorna no reconocerá: Vorna rechazará esas lecciones o las "
                                            "dejará fuera sin avisar.\n\nDependencias que Vorna no conoce "
                                            "(X_DEPENDENCIA): 33 lecciones, 5 claves distintas."));
        dialogo.show();
        Capturar(dialogo, QStringLiteral("aviso_claves"));
        ComprobarTextos(dialogo);
        QVERIFY(Control<QPlainTextEdit>(dialogo, "TextoInforme")->horizontalScrollBar()->maximum() == 0);
    }

    // The real file dialog of the main window, in Spanish.
    void dialogoDeArchivo()
    {
        DirectorioTemporal carpeta;
        fs::copy_file(kEjemplo, carpeta / "vorna_ejemplo.xml");
        fs::create_directory(carpeta / "cursos anteriores");
        const QString antes = QDir::currentPath();
        QDir::setCurrent(TextoQt(carpeta.Ruta()));
        QStringList cortados, ingleses;
        QString tipoCarpeta, fecha;
        GuionModal<QFileDialog> guion([&](QFileDialog& d) {
            // The list is read in the background: wait for both entries.
            auto* modelo = d.findChild<QFileSystemModel*>();
            const QModelIndex subcarpeta = modelo->index(TextoQt(carpeta / "cursos anteriores"), 2);
            const QModelIndex archivo = modelo->index(TextoQt(carpeta / "vorna_ejemplo.xml"), 3);
            QTRY_VERIFY(!subcarpeta.data().toString().isEmpty() && !archivo.data().toString().isEmpty());
            tipoCarpeta = subcarpeta.data().toString();
            fecha = archivo.data().toString();
            Capturar(d, QStringLiteral("dialogo_archivo"));
            cortados = TextosQueNoCaben(d);
            ingleses = TextosEnIngles(d);
            d.reject();
        });
        ui::DialogoArchivo::DelSistema().Elegir(nullptr);
        QDir::setCurrent(antes);
        QVERIFY(guion.hecho);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join(QStringLiteral("\n"))));
        QVERIFY2(ingleses.isEmpty(), qPrintable(ingleses.join(QStringLiteral("\n"))));
        QCOMPARE(tipoCarpeta, QStringLiteral("Carpeta"));
        // Spanish short dates are digits only ("10/12/26 15:33"), never "10 Dec".
        QVERIFY2(!fecha.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(fecha));
    }

    // The end of a run: the box is wide enough for its caption beside the
    // window manager's buttons, and its button speaks Spanish.
    void cajaDeMensaje()
    {
        QStringList cortados;
        QString boton;
        int ancho = 0;
        GuionModal<QMessageBox> guion([&](QMessageBox& caja) {
            Capturar(caja, QStringLiteral("caja_proceso_finalizado"));
            cortados = TextosQueNoCaben(caja);
            boton = caja.buttons().value(0) ? caja.buttons().value(0)->text() : QString();
            ancho = caja.width();
            caja.accept();
        });
        ui::Avisos::DelSistema().Mensaje(nullptr, QStringLiteral("Proceso finalizado"));
        QVERIFY(guion.hecho);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join(QStringLiteral("\n"))));
        QCOMPARE(boton.remove(QLatin1Char('&')), QStringLiteral("Aceptar"));
        QFont titulo = QApplication::font("QMdiSubWindowTitleBar");
        titulo.setBold(true);
        QVERIFY(ancho >= QFontMetrics(titulo).horizontalAdvance(QStringLiteral("Durlavex")) + 160);
    }
};

int main(int argc, char* argv[])
{
    // A screen of the test's own, so that the pictures hold the program's
    // windows alone; offscreen without Xvfb.
    ui::FechasEnCastellanoSiLaSesionNoTieneIdioma();
    ServidorX servidor;
    const QString pantalla = servidor.Iniciar(QStringLiteral("1280x1024x24"));
    if (pantalla.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("DISPLAY", pantalla.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication aplicacion(argc, argv);
    CapturasXvfbTest prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "capturas_xvfb_test.moc"
