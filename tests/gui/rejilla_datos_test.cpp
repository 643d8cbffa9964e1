// The reusable data-grid pieces over a small table built in code: picture
// masks at the keyboard, saves refused by a mask, the fixed columns when the
// grid scrolls sideways, and Enter and Tab moving over the editable cells.

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "comun/directorio_temporal.h"
#include "tables/tabla.h"
#include "ui/avisos.h"
#include "ui/mascaras_entrada.h"
#include "ui/modelo_tabla.h"
#include "ui/rejilla_datos.h"

using namespace durlavex;

namespace {

constexpr int kCodigo = 0, kNombre = 1, kCifras = 2, kFecha = 3;

class AvisosGrabados : public ui::Avisos {
  public:
    QStringList errores;
    void Mensaje(QWidget*, const QString&) override {}
    void Error(QWidget*, const QString& texto) override { errores << texto; }
};

// FICHAS.DBF with three rows, and a grid over it whose first two columns are
// fixed and read-only.
struct RejillaDePrueba {
    RejillaDePrueba()
    {
        Tabla nueva(dir.Ruta(), "FICHAS");
        nueva.DefinirCampos({{"CODIGO", TipoCampo::Texto, 6},
                             {"NOMBRE", TipoCampo::Texto, 30},
                             {"CIFRAS", TipoCampo::Texto, 6},
                             {"FECHA", TipoCampo::Texto, 10}});
        nueva.Crear();
        nueva.Abrir();
        for (const char* codigo : {"A1", "B2", "C3"}) {
            nueva.Agregar();
            nueva.FijarTexto("CODIGO", VistaAnsi(codigo));
            nueva.FijarTexto("NOMBRE", VistaAnsi(std::string("Ficha ") + codigo));
            nueva.Grabar();
        }
        nueva.Cerrar();
        tabla.Abrir();
        modelo = std::make_unique<ui::ModeloTabla>(tabla, std::vector<ui::ColumnaRejilla>{
                                                              {"CODIGO", "CODIGO", 6, false, "", 0},
                                                              {"NOMBRE", "NOMBRE", 30, false, "", 0},
                                                              {"CIFRAS", "CIFRAS", 6, true, "#*#", 6},
                                                              {"FECHA", "FECHA", 10, true, "##/##/####", 10},
                                                          });
        rejilla = std::make_unique<ui::RejillaDatos>(*modelo, 2);
        rejilla->FijarAvisos(avisos);
    }

    // The row's saved CIFRAS and FECHA, read through a handle of its own.
    QStringList Guardado(int fila) const
    {
        Tabla otra(dir.Ruta(), "FICHAS");
        otra.Abrir();
        otra.Mover(fila);
        return {QString::fromStdString(otra.LeerTexto("CIFRAS").Bytes()),
                QString::fromStdString(otra.LeerTexto("FECHA").Bytes())};
    }

    pruebas::DirectorioTemporal dir;
    Tabla tabla{dir.Ruta(), "FICHAS"};
    AvisosGrabados avisos;
    std::unique_ptr<ui::ModeloTabla> modelo;
    std::unique_ptr<ui::RejillaDatos> rejilla;
};

} // namespace

class RejillaDatosTest : public QObject {
    Q_OBJECT

  private slots:
    void mascaraEnElEditor_data()
    {
        QTest::addColumn<QString>("mascara");
        QTest::addColumn<int>("longitud");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("valor");
        QTest::newRow("cifras hasta el ancho") << "#*#" << 6 << "12ab34567"
                                               << "123456"
                                               << "123456";
        QTest::newRow("cifras: nada tecleado") << "#*#" << 6 << ""
                                               << ""
                                               << "";
        QTest::newRow("cifras: signos rechazados") << "#*#" << 6 << "-+1.5e"
                                                   << "15"
                                                   << "15";
        QTest::newRow("fecha sin tocar") << "##/##/####" << 10 << ""
                                         << "//"
                                         << "";
        QTest::newRow("fecha completa") << "##/##/####" << 10 << "31121999"
                                        << "31/12/1999"
                                        << "31/12/1999";
        QTest::newRow("fecha a medias") << "##/##/####" << 10 << "3112199"
                                        << "31/12/199"
                                        << "31/12/199";
        QTest::newRow("otra máscara fija") << "##-##" << 5 << "1234"
                                           << "12-34"
                                           << "12-34";
        QTest::newRow("letra literal") << "A#" << 2 << "x5"
                                       << "A5"
                                       << "A5";
    }
    void mascaraEnElEditor()
    {
        QFETCH(QString, mascara);
        QFETCH(int, longitud);
        QFETCH(QString, tecleado);
        QFETCH(QString, texto);
        QFETCH(QString, valor);
        QLineEdit editor;
        ui::AplicarMascara(editor, mascara.toStdString(), longitud);
        editor.show();
        editor.setFocus();
        editor.setCursorPosition(0);
        QTest::keyClicks(&editor, tecleado);
        QCOMPARE(editor.text(), texto);
        QCOMPARE(ui::ValorEditado(editor, mascara.toStdString()), valor);
    }

    // A value that does not fit its column's mask keeps the row unsaved and
    // in editing, and the refusal names the column; a blank value passes.
    void grabacionSegunLaMascara_data()
    {
        QTest::addColumn<int>("columna");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<bool>("grabado");
        QTest::newRow("cifras") << kCifras << "0042" << true;
        QTest::newRow("fecha completa") << kFecha << "02/03/2021" << true;
        QTest::newRow("fecha en blanco") << kFecha << "" << true;
        QTest::newRow("fecha a medias") << kFecha << "02/03/2" << false;
        QTest::newRow("fecha sin barras") << kFecha << "02032021" << false;
        QTest::newRow("cifras con letra") << kCifras << "12a" << false;
    }
    void grabacionSegunLaMascara()
    {
        QFETCH(int, columna);
        QFETCH(QString, valor);
        QFETCH(bool, grabado);
        RejillaDePrueba r;
        QSignalSpy rechazos(r.modelo.get(), &ui::ModeloTabla::GrabacionRechazada);
        QVERIFY(r.modelo->setData(r.modelo->index(1, columna), valor));
        QCOMPARE(r.modelo->FilaActual(), 1);
        QCOMPARE(r.modelo->Grabar(), grabado);
        QCOMPARE(r.modelo->EnEdicion(), !grabado);
        QCOMPARE(rechazos.size(), grabado ? 0 : 1);
        QCOMPARE(r.Guardado(1)[columna - kCifras], grabado ? valor : QString());
        QCOMPARE(r.modelo->index(1, columna).data().toString(), valor);
    }

    // A text a number field cannot hold is refused by the table, as a
    // refusal naming the field, not as an exception through Qt's event loop.
    void textoEnCampoNumericoRechazado()
    {
        pruebas::DirectorioTemporal dir;
        Tabla tabla(dir.Ruta(), "HORAS");
        tabla.DefinirCampos({{"HORAS", TipoCampo::Entero}});
        tabla.Crear();
        tabla.Abrir();
        tabla.Agregar();
        tabla.FijarEntero("HORAS", 3);
        tabla.Grabar();
        ui::ModeloTabla modelo(tabla, {{"HORAS", "HORAS", 4, true, "", 0}});
        QSignalSpy rechazos(&modelo, &ui::ModeloTabla::GrabacionRechazada);
        QVERIFY(!modelo.setData(modelo.index(0, 0), QStringLiteral("tres")));
        QCOMPARE(rechazos.size(), 1);
        QVERIFY(rechazos[0][2].toString().contains(QStringLiteral("HORAS")));
        QVERIFY(modelo.setData(modelo.index(0, 0), QStringLiteral("4")));
        QVERIFY(modelo.Grabar());
        QCOMPARE(modelo.index(0, 0).data().toString(), QStringLiteral("4"));
    }

    // The refusal reaches the person: the error names the column and the
    // grid goes back to the offending cell of the row kept.
    void rechazoLlevaALaCelda()
    {
        RejillaDePrueba r;
        r.rejilla->show();
        QVERIFY(QTest::qWaitForWindowActive(r.rejilla.get()));
        r.rejilla->setCurrentIndex(r.modelo->index(0, kCifras));
        r.modelo->setData(r.modelo->index(0, kFecha), QStringLiteral("1/1/1"));
        r.rejilla->setCurrentIndex(r.modelo->index(2, kCifras));
        QTRY_COMPARE(r.avisos.errores.size(), 1);
        QVERIFY(r.avisos.errores[0].contains(QStringLiteral("FECHA")));
        QCOMPARE(r.rejilla->currentIndex(), r.modelo->index(0, kFecha));
        QCOMPARE(r.modelo->FilaActual(), 0);
    }

    void columnasFijasAlDesplazarse()
    {
        RejillaDePrueba r;
        r.rejilla->resize(220, 200);
        r.rejilla->show();
        QVERIFY(QTest::qWaitForWindowExposed(r.rejilla.get()));
        const int anchoFijo = r.rejilla->columnWidth(kCodigo) + r.rejilla->columnWidth(kNombre);
        r.rejilla->setCurrentIndex(r.modelo->index(0, kFecha));
        QVERIFY(r.rejilla->horizontalScrollBar()->value() > 0);
        QTableView& fija = r.rejilla->VistaFija();
        QVERIFY(fija.isVisible());
        QCOMPARE(fija.geometry().left(), r.rejilla->frameWidth());
        QCOMPARE(fija.width(), anchoFijo);
        QVERIFY(r.rejilla->visualRect(r.modelo->index(0, kFecha)).left() >= anchoFijo);
        QCOMPARE(fija.columnViewportPosition(kNombre), r.rejilla->columnWidth(kCodigo));
    }

    // Scrolling down moves the fixed columns with the others, row for row.
    void columnasFijasAlBajar()
    {
        RejillaDePrueba r;
        r.rejilla->resize(400, r.rejilla->horizontalHeader()->height() + 40);
        r.rejilla->show();
        QVERIFY(QTest::qWaitForWindowExposed(r.rejilla.get()));
        r.rejilla->setCurrentIndex(r.modelo->index(2, kCifras));
        QVERIFY(r.rejilla->verticalScrollBar()->value() > 0);
        QCOMPARE(r.rejilla->VistaFija().verticalScrollBar()->value(),
                 r.rejilla->verticalScrollBar()->value());
        QCOMPARE(r.rejilla->VistaFija().rowViewportPosition(2), r.rejilla->rowViewportPosition(2));
    }

    // Enter moves on like Tab; both pass over the read-only columns, into
    // the next row (which saves the one left).
    void enterYTabRecorrenLasCeldasEditables()
    {
        RejillaDePrueba r;
        r.rejilla->show();
        QVERIFY(QTest::qWaitForWindowActive(r.rejilla.get()));
        r.rejilla->setFocus();
        r.rejilla->setCurrentIndex(r.modelo->index(0, kCifras));
        const struct {
            Qt::Key tecla;
            int fila, columna;
        } pasos[] = {{Qt::Key_Return, 0, kFecha},
                     {Qt::Key_Enter, 1, kCifras},
                     {Qt::Key_Backtab, 0, kFecha},
                     {Qt::Key_Tab, 1, kCifras}};
        for (const auto& paso : pasos) {
            QTest::keyClick(QApplication::focusWidget(), paso.tecla);
            QCOMPARE(r.rejilla->currentIndex(), r.modelo->index(paso.fila, paso.columna));
            QCOMPARE(r.modelo->FilaActual(), paso.fila);
        }
    }
};

QTEST_MAIN(RejillaDatosTest)
#include "rejilla_datos_test.moc"
