// The window of the lessons Vorna will not recognise: it shows the report
// whole and unchangeable, Copiar puts it on the clipboard, and shown as the
// program shows it, it blocks until closed.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "gui/control_por_nombre.h"
#include "gui/guion_modal.h"
#include "import/dialogos/AvisoClaves.h"

using namespace durlavex;

namespace {

const QString kInforme =
    QStringLiteral("Comprobación para Vorna: 1 de 2 lecciones lleva claves que Vorna no reconocerá.\n\n"
                   "Dependencias que Vorna no conoce (X_DEPENDENCIA): 1 lección, una sola clave.\n"
                   "  - «Laboratori»: profesor GLA (García López, Ana); en SOLUC.DBF DIA 1, HORA 2");

} // namespace

class AvisoClavesTest : public QObject {
    Q_OBJECT

  private slots:
    void muestraElInformeSinDejarCambiarlo()
    {
        TAvisoClaves aviso(nullptr, kInforme);
        aviso.show();
        QVERIFY(QTest::qWaitForWindowExposed(&aviso));
        QCOMPARE(aviso.windowTitle(), QStringLiteral("Comprobación para Vorna"));
        auto* texto = aviso.findChild<QPlainTextEdit*>(QStringLiteral("TextoInforme"));
        QVERIFY(texto != nullptr);
        QCOMPARE(texto->toPlainText(), kInforme);
        QVERIFY(texto->isReadOnly());
        QVERIFY(aviso.findChild<QLabel*>(QStringLiteral("LabelAviso"))
                    ->text()
                    .contains(QStringLiteral("escrito")));
        auto* copiar = aviso.findChild<QPushButton*>(QStringLiteral("BCopiar"));
        auto* cerrar = aviso.findChild<QPushButton*>(QStringLiteral("BCerrar"));
        QVERIFY(copiar && cerrar);
        QCOMPARE(copiar->text(), QStringLiteral("Copiar"));
        QCOMPARE(cerrar->text(), QStringLiteral("Cerrar"));

        texto->setFocus();
        QTest::keyClicks(texto, QStringLiteral("borrado"));
        QTest::keyClick(texto, Qt::Key_Backspace);
        QCOMPARE(texto->toPlainText(), kInforme);
    }

    void copiarPoneElInformeEnElPortapapeles()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("otra cosa"));
        TAvisoClaves aviso(nullptr, kInforme);
        aviso.show();
        // A part selected or not, the whole report is copied.
        auto* texto = pruebas::Control<QPlainTextEdit>(aviso, "TextoInforme");
        texto->selectAll();
        texto->moveCursor(QTextCursor::Start);
        QTest::mouseClick(pruebas::Control<QPushButton>(aviso, "BCopiar"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), kInforme);
        QVERIFY(aviso.isVisible());
    }

    void cerrarTerminaLaVentanaModal()
    {
        QWidget propietaria;
        propietaria.show();
        bool texto = false;
        pruebas::GuionModal<TAvisoClaves> guion([&](TAvisoClaves& aviso) {
            texto = pruebas::Control<QPlainTextEdit>(aviso, "TextoInforme")->toPlainText() == kInforme;
            QTest::mouseClick(pruebas::Control<QPushButton>(aviso, "BCerrar"), Qt::LeftButton);
        });
        MostrarAvisoClaves(&propietaria, kInforme);
        QVERIFY(guion.hecho);
        QVERIFY(!guion.agotado);
        QVERIFY(texto);
        QVERIFY(propietaria.findChild<TAvisoClaves*>() == nullptr);
    }
};

QTEST_MAIN(AvisoClavesTest)
#include "aviso_claves_test.moc"
