// The hour-template dialog over small exchange files written by the test:
// what the combo box, the labels and the list show for the code in the combo
// box, what the dialog hands back however it is closed, and what a new
// activation and a vanished file do.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>

#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "export/dialogos/Plantihoras.h"
#include "gui/control_por_nombre.h"
#include "gui/guion_modal.h"
#include "ui/avisos.h"
#include "ui/panel_degradado.h"

using namespace durlavex;
using durlavex::pruebas::ArchivoIntercambio;
using durlavex::pruebas::DirectorioTemporal;
using durlavex::pruebas::Registro;

namespace {

class AvisosGrabados : public ui::Avisos {
  public:
    QStringList errores, mensajes;
    void Mensaje(QWidget*, const QString& texto) override { mensajes << texto; }
    void Error(QWidget*, const QString& texto) override { errores << texto; }
};

// Four templates, J3 twice (an older and a newer record), and their slots.
ArchivoIntercambio Escuela()
{
    ArchivoIntercambio x;
    x.Grupo("JORNADAS_ESCOLARES", {{"J1", "Jornada de mañana", "01/09/2024", "30/06/2025"},
                                   {"J2", "Jornada de tarde", "01/09/2024", "31/12/2024"},
                                   {"J3", "Partida (antigua)", "01/09/2020", "30/06/2021"},
                                   {"MAÑANA", "Horario de invierno", "01/01/2025", "31/03/2025"},
                                   {"J3", "Partida", "01/09/2024", "30/06/2025"},
                                   {"J5", "Corta"}});
    x.Grupo("TRAMOS_HORARIOS", {{"1", "08:00 - 09:00", "480", "540", "J1"},
                                {"2", "09:00 - 10:00", "540", "600", "J1"},
                                {"3", "Recreo con cañón", "600", "630", "J1"},
                                {"4", "16:00 - 17:00", "960", "1020", "J2"},
                                {"5", "09:00 - 11:00", "540", "660", "J3"},
                                {"6", "Sin plantilla"},
                                {"7", "Invierno ñ", "480", "540", "MAÑANA"}});
    return x;
}

struct Vista {
    QString nombre, fecha1, fecha2;
    QStringList tramos;
};

const Vista kJ1{
    "Jornada de mañana", "01/09/2024", "30/06/2025", {"08:00 - 09:00", "09:00 - 10:00", "Recreo con cañón"}};
const Vista kNada{"-", "-", "-", {}};

// The dialog's controls most tests use, found by their names.
QComboBox* ComboBoxPlantilla(const TPlantillas& p)
{
    return pruebas::Control<QComboBox>(p, "ComboBoxPlantilla");
}
QListWidget* ListBox1(const TPlantillas& p)
{
    return pruebas::Control<QListWidget>(p, "ListBox1");
}
QPushButton* BitBtnContinuar(const TPlantillas& p)
{
    return pruebas::Control<QPushButton>(p, "BitBtnContinuar");
}

// A dialog over an exchange file of its own, shown and active, errors recorded.
struct DialogoAbierto {
    explicit DialogoAbierto(const ArchivoIntercambio& archivo)
    {
        archivo.Guardar(Ruta());
        dialogo = std::make_unique<TPlantillas>(nullptr, Ruta(), avisos);
        dialogo->show();
        dialogo->activateWindow(); // an X server without a window manager activates nothing by itself
        activo = QTest::qWaitForWindowActive(dialogo.get());
    }
    std::filesystem::path Ruta() const { return dir / "vorna.xml"; }

    Vista Mostrada() const
    {
        const auto texto = [this](const char* etiqueta) {
            return pruebas::Control<QLabel>(*dialogo, etiqueta)->text();
        };
        const QListWidget* lista = ListBox1(*dialogo);
        QStringList tramos;
        for (int i = 0; i < lista->count(); ++i)
            tramos << lista->item(i)->text();
        return {texto("LabelNombre"), texto("LabelPlanFec1"), texto("LabelPlanFec2"), tramos};
    }
    QStringList Codigos() const
    {
        const QComboBox* combo = ComboBoxPlantilla(*dialogo);
        QStringList codigos;
        for (int i = 0; i < combo->count(); ++i)
            codigos << combo->itemText(i);
        return codigos;
    }
    // What a person types into the combo box, after emptying it.
    void Teclear(const QString& texto) const
    {
        QLineEdit* edicion = ComboBoxPlantilla(*dialogo)->lineEdit();
        edicion->setFocus();
        edicion->selectAll();
        QTest::keyClick(edicion, Qt::Key_Backspace);
        for (QChar c : texto)
            QTest::sendKeyEvent(QTest::Click, edicion, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // A pick from the list by keyboard: Down arrow `veces` times.
    void BajarEnLaLista(int veces) const
    {
        ComboBoxPlantilla(*dialogo)->setFocus();
        for (int i = 0; i < veces; ++i)
            QTest::keyClick(ComboBoxPlantilla(*dialogo), Qt::Key_Down);
    }
    // Another window of the program takes the focus; then the dialog again.
    bool ReactivarDesdeOtraVentana() const
    {
        QWidget otra;
        otra.show();
        otra.activateWindow();
        if (!QTest::qWaitForWindowActive(&otra))
            return false;
        dialogo->activateWindow();
        return QTest::qWaitForWindowActive(dialogo.get());
    }

    DirectorioTemporal dir;
    AvisosGrabados avisos;
    std::unique_ptr<TPlantillas> dialogo;
    bool activo = false;
};

using GuionModal = pruebas::GuionModal<TPlantillas>;

using Guion = std::function<void(TPlantillas&)>;
using Estropear = std::function<void(const std::filesystem::path&)>;

} // namespace

Q_DECLARE_METATYPE(Vista)
Q_DECLARE_METATYPE(Guion)
Q_DECLARE_METATYPE(Estropear)

class PlantillasTest : public QObject {
    Q_OBJECT

  private slots:
    void ventana()
    {
        DialogoAbierto d(Escuela());
        QVERIFY(d.activo);
        TPlantillas& p = *d.dialogo;
        QCOMPARE(p.windowTitle(), QStringLiteral("Plantillas Horarias"));
        QVERIFY(p.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(p.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(p.minimumSize(), p.maximumSize());
        const auto* panel = pruebas::Control<ui::PanelDegradado>(p, "Panel");
        QCOMPARE(panel->geometry(), p.rect());
        QCOMPARE(panel->property("contextoAyuda").toInt(), 3);
        QCOMPARE(BitBtnContinuar(p)->property("contextoAyuda").toInt(), 3);
        QVERIFY(BitBtnContinuar(p)->isDefault());
        QVERIFY(ComboBoxPlantilla(p)->isEditable());
        QVERIFY(ComboBoxPlantilla(p)->completer() == nullptr);
        QVERIFY(ComboBoxPlantilla(p)->font().bold());
        QCOMPARE(ComboBoxPlantilla(p)->lineEdit()->palette().color(QPalette::Base), QColor(Qt::yellow));
        QVERIFY(BitBtnContinuar(p)->font().bold());
        QVERIFY(!BitBtnContinuar(p)->icon().isNull());
        QVERIFY(!ListBox1(p)->isSortingEnabled());
        QCOMPARE(p.findChild<QComboBox*>(QStringLiteral("ComboBoxPlantilla")), ComboBoxPlantilla(p));
        QCOMPARE(pruebas::Control<QLabel>(p, "Label1")->text(), QStringLiteral("HORAS"));

        // Focus order: the button first, then the combo box, then the list.
        QCOMPARE(QApplication::focusWidget(), BitBtnContinuar(p));
        QTest::keyClick(&p, Qt::Key_Tab);
        QVERIFY(ComboBoxPlantilla(p)->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == ComboBoxPlantilla(p));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ListBox1(p));
    }

    void etiquetas_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<int>("pixeles");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("partida"); // word-wrapped
        QTest::newRow("LabelPlantillas") << "LabelPlantillas" << 13 << QColor(Qt::black) << true;
        QTest::newRow("Label2") << "Label2" << 13 << QColor(Qt::red) << true;
        QTest::newRow("LabelNombre") << "LabelNombre" << 16 << QColor(128, 0, 0) << false;
        QTest::newRow("LabelPlanFec1") << "LabelPlanFec1" << 16 << QColor(128, 0, 0) << false;
        QTest::newRow("LabelPlanFec2") << "LabelPlanFec2" << 16 << QColor(128, 0, 0) << false;
        QTest::newRow("Label1") << "Label1" << 16 << QColor(128, 0, 0) << false;
    }
    void etiquetas()
    {
        QFETCH(QString, nombre);
        QFETCH(int, pixeles);
        QFETCH(QColor, color);
        QFETCH(bool, partida);
        TPlantillas p(nullptr, "no-existe.xml");
        auto* etiqueta = p.findChild<QLabel*>(nombre);
        QVERIFY(etiqueta);
        QCOMPARE(etiqueta->font().family(), QStringLiteral("Arial"));
        QCOMPARE(etiqueta->font().pixelSize(), pixeles);
        QVERIFY(etiqueta->font().bold());
        QCOMPARE(etiqueta->palette().color(QPalette::WindowText), color);
        QCOMPARE(etiqueta->wordWrap(), partida);
    }

    void alMostrarseLaPrimeraPlantilla()
    {
        DialogoAbierto d(Escuela());
        QVERIFY(d.activo);
        QCOMPARE(d.Codigos(), (QStringList{"J1", "J2", "J3", "MAÑANA", "J3", "J5"}));
        QCOMPARE(ComboBoxPlantilla(*d.dialogo)->currentText(), QStringLiteral("J1"));
        const Vista v = d.Mostrada();
        QCOMPARE(v.nombre, kJ1.nombre);
        QCOMPARE(v.fecha1, kJ1.fecha1);
        QCOMPARE(v.fecha2, kJ1.fecha2);
        QCOMPARE(v.tramos, kJ1.tramos);
        QVERIFY(d.avisos.errores.isEmpty());
    }

    void elegirOtraDeLaLista_data()
    {
        QTest::addColumn<int>("bajadas");
        QTest::addColumn<Vista>("esperada");
        QTest::newRow("la segunda") << 1
                                    << Vista{
                                           "Jornada de tarde", "01/09/2024", "31/12/2024", {"16:00 - 17:00"}};
        QTest::newRow("un código con dos registros muestra el último")
            << 2 << Vista{"Partida", "01/09/2024", "30/06/2025", {"09:00 - 11:00"}};
        QTest::newRow("con acentos")
            << 3 << Vista{"Horario de invierno", "01/01/2025", "31/03/2025", {"Invierno ñ"}};
        QTest::newRow("registro sin fechas: posiciones vacías") << 5 << Vista{"Corta", "", "", {}};
    }
    void elegirOtraDeLaLista()
    {
        QFETCH(int, bajadas);
        QFETCH(Vista, esperada);
        DialogoAbierto d(Escuela());
        QVERIFY(d.activo);
        d.BajarEnLaLista(bajadas);
        const Vista v = d.Mostrada();
        QCOMPARE(v.nombre, esperada.nombre);
        QCOMPARE(v.fecha1, esperada.fecha1);
        QCOMPARE(v.fecha2, esperada.fecha2);
        QCOMPARE(v.tramos, esperada.tramos);
    }

    void teclearUnCodigo_data()
    {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<Vista>("esperada");
        QTest::addColumn<QByteArray>("elegida");
        QTest::newRow("un código exacto")
            << "J2" << Vista{"Jornada de tarde", "01/09/2024", "31/12/2024", {"16:00 - 17:00"}}
            << QByteArray("J2");
        QTest::newRow("blanco delante") << " J2" << kNada << QByteArray("J2");
        QTest::newRow("blanco detrás") << "J2 " << kNada << QByteArray("J2");
        QTest::newRow("otras mayúsculas") << "j2" << kNada << QByteArray("j2");
        QTest::newRow("un código que no existe") << "J9" << kNada << QByteArray("J9");
        QTest::newRow("con acento, en ANSI")
            << "MAÑANA" << Vista{"Horario de invierno", "01/01/2025", "31/03/2025", {"Invierno ñ"}}
            << QByteArray("MA\xD1"
                          "ANA");
    }
    void teclearUnCodigo()
    {
        QFETCH(QString, tecleado);
        QFETCH(Vista, esperada);
        QFETCH(QByteArray, elegida);
        DialogoAbierto d(Escuela());
        QVERIFY(d.activo);
        d.Teclear(tecleado);
        QCOMPARE(ComboBoxPlantilla(*d.dialogo)->currentText(), tecleado);
        const Vista v = d.Mostrada();
        QCOMPARE(v.nombre, esperada.nombre);
        QCOMPARE(v.fecha1, esperada.fecha1);
        QCOMPARE(v.fecha2, esperada.fecha2);
        QCOMPARE(v.tramos, esperada.tramos);

        // Enter presses Continuar, which closes the dialog with the trimmed text.
        QTest::keyClick(ComboBoxPlantilla(*d.dialogo)->lineEdit(), Qt::Key_Return);
        QVERIFY(!d.dialogo->isVisible());
        QCOMPARE(d.dialogo->result(), int(QDialog::Accepted));
        QCOMPARE(QByteArray::fromStdString(d.dialogo->PlantillaElegida()), elegida);
        QCOMPARE(d.Codigos(), (QStringList{"J1", "J2", "J3", "MAÑANA", "J3", "J5"}));
    }

    void otraActivacionReconstruyeYVuelveALaPrimera()
    {
        DialogoAbierto d(Escuela());
        QVERIFY(d.activo);
        d.BajarEnLaLista(1);
        QCOMPARE(d.Mostrada().nombre, QStringLiteral("Jornada de tarde"));

        ArchivoIntercambio nueva;
        nueva.Grupo("JORNADAS_ESCOLARES",
                    {{"K1", "Nueva", "01/09/2025", "30/06/2026"}, {"J2", "Tarde", "", ""}});
        nueva.Grupo("TRAMOS_HORARIOS", {{"1", "10:00", "", "", "K1"}, {"2", "11:00", "", "", "K1"}});
        nueva.Guardar(d.Ruta());
        QVERIFY(d.ReactivarDesdeOtraVentana());

        QCOMPARE(d.Codigos(), (QStringList{"K1", "J2"}));
        QCOMPARE(ComboBoxPlantilla(*d.dialogo)->currentText(), QStringLiteral("K1"));
        QCOMPARE(d.Mostrada().nombre, QStringLiteral("Nueva"));
        QCOMPARE(d.Mostrada().tramos, (QStringList{"10:00", "11:00"}));
    }

    void archivoQueYaNoSeCarga_data()
    {
        QTest::addColumn<Estropear>("estropear");
        QTest::newRow("borrado") << Estropear(
            [](const std::filesystem::path& ruta) { std::filesystem::remove(ruta); });
        QTest::newRow("mal formado") << Estropear([](const std::filesystem::path& ruta) {
            std::ofstream(ruta, std::ios::binary) << "<SERVICIO><BLOQUE_DATOS>";
        });
        QTest::newRow("sin BLOQUE_DATOS") << Estropear([](const std::filesystem::path& ruta) {
            std::ofstream(ruta, std::ios::binary) << "<SERVICIO/>";
        });
    }
    void archivoQueYaNoSeCarga()
    {
        QFETCH(Estropear, estropear);
        DialogoAbierto d(Escuela());
        QVERIFY(d.activo);
        estropear(d.Ruta());
        d.BajarEnLaLista(1);
        QVERIFY(d.ReactivarDesdeOtraVentana());

        QCOMPARE(d.Codigos(), (QStringList{"J1", "J2", "J3", "MAÑANA", "J3", "J5"}));
        QCOMPARE(ComboBoxPlantilla(*d.dialogo)->currentText(), QStringLiteral("J1"));
        QCOMPARE(d.Mostrada().nombre, QStringLiteral("-"));
        QCOMPARE(d.Mostrada().fecha1, QStringLiteral("-"));
        QCOMPARE(d.Mostrada().fecha2, QStringLiteral("-"));
        QCOMPARE(d.Mostrada().tramos, (QStringList{"16:00 - 17:00"})); // left as J2 had it
        QVERIFY(d.avisos.errores.isEmpty());
    }

    void unSoloTramoDejaLaListaVacia()
    {
        ArchivoIntercambio x;
        x.Grupo("JORNADAS_ESCOLARES", {{"J1", "Mañana", "", ""}, {"J2", "Tarde", "", ""}});
        x.Grupo("TRAMOS_HORARIOS", {{"1", "08:00 - 09:00", "480", "540", "J1"}});
        DialogoAbierto d(x);
        QVERIFY(d.activo);
        QCOMPARE(d.Mostrada().nombre, QStringLiteral("Mañana"));
        QCOMPARE(ListBox1(*d.dialogo)->count(), 0);
    }

    void elegirConElDialogoModal_data()
    {
        QTest::addColumn<Guion>("guion");
        QTest::addColumn<QByteArray>("elegida");
        QTest::newRow("cerrado en seguida con la caja de cierre")
            << Guion([](TPlantillas& p) { p.close(); }) << QByteArray("J1");
        QTest::newRow("otra de la lista y Continuar") << Guion([](TPlantillas& p) {
            ComboBoxPlantilla(p)->setFocus();
            QTest::keyClick(ComboBoxPlantilla(p), Qt::Key_Down);
            QTest::mouseClick(BitBtnContinuar(p), Qt::LeftButton);
        }) << QByteArray("J2");
        QTest::newRow("un código con blanco y Enter") << Guion([](TPlantillas& p) {
            QLineEdit* edicion = ComboBoxPlantilla(p)->lineEdit();
            edicion->setFocus();
            edicion->selectAll();
            QTest::keyClicks(edicion, " J3 ");
            QTest::keyClick(edicion, Qt::Key_Return);
        }) << QByteArray("J3");
        QTest::newRow("Esc no cierra; la caja de cierre tras elegir uno con acento")
            << Guion([](TPlantillas& p) {
                   ComboBoxPlantilla(p)->setFocus();
                   QTest::keyClick(ComboBoxPlantilla(p), Qt::Key_Down);
                   QTest::keyClick(ComboBoxPlantilla(p), Qt::Key_Down);
                   QTest::keyClick(ComboBoxPlantilla(p), Qt::Key_Down);
                   QTest::keyClick(ComboBoxPlantilla(p), Qt::Key_Escape);
                   QTest::keyClick(BitBtnContinuar(p), Qt::Key_Escape);
                   QVERIFY(p.isVisible());
                   p.close();
               })
            << QByteArray("MA\xD1"
                          "ANA");
    }
    void elegirConElDialogoModal()
    {
        QFETCH(Guion, guion);
        QFETCH(QByteArray, elegida);
        DirectorioTemporal dir;
        Escuela().Guardar(dir / "vorna.xml");
        GuionModal modal(guion);
        const std::string devuelta = ElegirPlantillaConDialogo(nullptr, dir / "vorna.xml");
        QVERIFY(modal.hecho);
        QVERIFY(!modal.agotado);
        QCOMPARE(QByteArray::fromStdString(devuelta), elegida);
        const auto ventanas = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(ventanas.begin(), ventanas.end(),
                             [](QWidget* w) { return qobject_cast<TPlantillas*>(w) != nullptr; }));
    }

    void sinArchivoLaEleccionEsVacia()
    {
        DirectorioTemporal dir;
        GuionModal modal([](TPlantillas& p) {
            QCOMPARE(ComboBoxPlantilla(p)->count(), 0);
            QCOMPARE(pruebas::Control<QLabel>(p, "LabelNombre")->text(), QStringLiteral("-"));
            p.close();
        });
        QCOMPARE(ElegirPlantillaConDialogo(nullptr, dir / "no-existe.xml"), std::string());
        QVERIFY(modal.hecho);
        QVERIFY(!modal.agotado);
    }
};

QTEST_MAIN(PlantillasTest)
#include "plantillas_test.moc"
