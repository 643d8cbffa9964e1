// The teacher-data completion dialog over a PROFT.DBF written in a temporary
// folder: what it lists, what the keyboard may type, when rows are saved,
// the navigator's buttons, and the dialog inside a real import run.

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

#include "comun/directorio_temporal.h"
#include "gui/control_por_nombre.h"
#include "gui/guion_modal.h"
#include "import/dialogos/ControlProfes.h"
#include "import/fixture_importacion.h"
#include "platform/texto.h"
#include "tables/esquemas.h"
#include "tables/tabla.h"
#include "ui/avisos.h"
#include "ui/modelo_tabla.h"
#include "ui/navegador_datos.h"
#include "ui/rejilla_datos.h"

using namespace durlavex;
using durlavex::pruebas::DirectorioTemporal;
using durlavex::pruebas::FilaCampos;

namespace {

constexpr int kAbrev = 0, kNombre = 1, kEmpleado = 2, kToma = 3;

class AvisosGrabados : public ui::Avisos {
  public:
    QStringList errores, mensajes;
    void Mensaje(QWidget*, const QString& texto) override { mensajes << texto; }
    void Error(QWidget*, const QString& texto) override { errores << texto; }
};

struct Profesor {
    std::string abrev, nombre, empleado, toma;
    bool operator==(const Profesor&) const = default;
};

void EscribirProft(const std::filesystem::path& dir, const std::vector<Profesor>& profesores)
{
    std::vector<FilaCampos> filas;
    for (const auto& p : profesores)
        filas.push_back(
            {{"ABREV", p.abrev}, {"NOMBRE", p.nombre}, {"X_EMPLEADO", p.empleado}, {"F_TOMAPOS", p.toma}});
    pruebas::EscribirTabla(dir, esquemas::PROFT, filas);
}

// PROFT.DBF read back through a handle of its own.
std::vector<Profesor> LeerProft(const std::filesystem::path& dir)
{
    Tabla tabla(dir, "PROFT");
    tabla.Abrir();
    std::vector<Profesor> leidos;
    for (tabla.Primero(); !tabla.Fin(); tabla.Siguiente())
        leidos.push_back({AnsiAUtf8(tabla.LeerTexto("ABREV")), AnsiAUtf8(tabla.LeerTexto("NOMBRE")),
                          tabla.LeerTexto("X_EMPLEADO").Bytes(), tabla.LeerTexto("F_TOMAPOS").Bytes()});
    return leidos;
}

std::vector<Profesor> Claustro(int cuantos)
{
    std::vector<Profesor> claustro;
    for (int i = 1; i <= cuantos; ++i)
        claustro.push_back({"P" + std::to_string(i), "Profesor número " + std::to_string(i), "", ""});
    return claustro;
}

// The dialog's controls most tests use, found by their names.
ui::RejillaDatos* ProftDBGrid(const TControlProfesores& d)
{
    return pruebas::Control<ui::RejillaDatos>(d, "ProftDBGrid");
}
QPushButton* BitBtn1(const TControlProfesores& d)
{
    return pruebas::Control<QPushButton>(d, "BitBtn1");
}

// A dialog over a PROFT.DBF of its own, shown and active, refusals recorded.
struct DialogoAbierto {
    explicit DialogoAbierto(const std::vector<Profesor>& profesores)
    {
        EscribirProft(dir.Ruta(), profesores);
        dialogo = std::make_unique<TControlProfesores>(nullptr, dir.Ruta(), avisos);
        dialogo->show();
        [[maybe_unused]] const bool activo = QTest::qWaitForWindowActive(dialogo.get());
    }
    ui::RejillaDatos& Rejilla() const { return *ProftDBGrid(*dialogo); }
    ui::ModeloTabla& Modelo() const { return Rejilla().Modelo(); }
    QString Celda(int fila, int columna) const { return Modelo().index(fila, columna).data().toString(); }
    QToolButton& Boton(ui::NavegadorDatos::Boton b) const
    {
        return *pruebas::Control<ui::NavegadorDatos>(*dialogo, "wwDBNavigator1")->BotonDe(b);
    }

    // Opens the cell's editor and types into it (ASCII only: keyClicks).
    QLineEdit* Teclear(int fila, int columna, const QString& texto) const
    {
        Rejilla().setFocus();
        Rejilla().setCurrentIndex(Modelo().index(fila, columna));
        Rejilla().edit(Modelo().index(fila, columna));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (editor)
            QTest::keyClicks(editor, texto);
        return editor;
    }
    void Pulsar(Qt::Key tecla) const { QTest::keyClick(QApplication::focusWidget(), tecla); }

    DirectorioTemporal dir;
    AvisosGrabados avisos;
    std::unique_ptr<TControlProfesores> dialogo;
};

// The text of the error that stopped building the dialog (empty when built).
QString ErrorAlCrear(const std::filesystem::path& dir)
{
    AvisosGrabados avisos;
    try {
        TControlProfesores dialogo(nullptr, dir, avisos);
    } catch (const std::runtime_error& e) { // durlavex::Error
        return QString::fromUtf8(e.what());
    }
    return {};
}

using Accion = std::function<void(const DialogoAbierto&)>;

using GuionModal = pruebas::GuionModal<TControlProfesores>;

// Types into a cell of the real dialog (found as the active modal window).
void TeclearEn(TControlProfesores& d, int fila, int columna, const QString& texto)
{
    auto& rejilla = *ProftDBGrid(d);
    rejilla.setCurrentIndex(rejilla.model()->index(fila, columna));
    rejilla.edit(rejilla.model()->index(fila, columna));
    QTest::keyClicks(QApplication::focusWidget(), texto);
}

} // namespace

Q_DECLARE_METATYPE(Accion)

class ControlProfesoresTest : public QObject {
    Q_OBJECT

  private slots:
    void ventanaYControles()
    {
        const DialogoAbierto d(Claustro(1));
        TControlProfesores& w = *d.dialogo;
        QCOMPARE(w.windowTitle(), QStringLiteral("Control de Profesores"));
        QCOMPARE(w.size(), QSize(754, 499));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(w.pos(), QPoint(201, 221));
        QCOMPARE(w.property("contextoAyuda").toInt(), 1);
        QCOMPARE(ProftDBGrid(w)->property("contextoAyuda").toInt(), 1);
        QCOMPARE(BitBtn1(w)->property("contextoAyuda").toInt(), 1);
        QCOMPARE(BitBtn1(w)->text(), QStringLiteral("Salir"));
        QVERIFY(!BitBtn1(w)->isDefault() && !BitBtn1(w)->autoDefault());
        QCOMPARE(
            pruebas::Control<QLabel>(w, "Label2")->text(),
            QStringLiteral("Se ha detectado que existe algún Profesor sin todos los datos necesarios. "
                           "(Seguramente hayan sido creados directamente desde Talvorin.)      Para poder "
                           "realizar correctamente la integración del Horario en VORNA, deberán asignarlos "
                           "en esta rejilla. "));
        QCOMPARE(pruebas::Control<QLabel>(w, "Label6")->text(),
                 QStringLiteral("Después de haber introducido los datos que faltan, pulsando "
                                "\"Salir\", se reiniciará el proceso."));
        for (const char* nombre : {"Label1", "wwDBNavigator1", "ProftDBGrid", "Label2", "Label3", "Label4",
                                   "Label5", "Label6", "BitBtn1"})
            QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(nombre)), nombre);
    }

    // Esc neither presses "Salir" nor closes the dialog, from the grid or
    // from the button.
    void escNoCierra()
    {
        const DialogoAbierto d(Claustro(1));
        QTest::keyClick(&d.Rejilla(), Qt::Key_Escape);
        BitBtn1(*d.dialogo)->setFocus();
        QTest::keyClick(BitBtn1(*d.dialogo), Qt::Key_Escape);
        QTest::keyClick(BitBtn1(*d.dialogo), Qt::Key_Return);
        QVERIFY(d.dialogo->isVisible());
        QCOMPARE(d.dialogo->result(), 0);
    }

    // An empty PROFT.DBF: nothing to edit or move to, and "Salir" closes.
    void tablaVacia()
    {
        const DialogoAbierto d({});
        QCOMPARE(d.Modelo().rowCount(), 0);
        QVERIFY(!d.Modelo().EnEdicion());
        for (int b = 0; b < ui::NavegadorDatos::Refrescar; ++b)
            QVERIFY(!d.Boton(static_cast<ui::NavegadorDatos::Boton>(b)).isEnabled());
        QVERIFY(d.Boton(ui::NavegadorDatos::Refrescar).isEnabled());
        QTest::mouseClick(BitBtn1(*d.dialogo), Qt::LeftButton);
        QVERIFY(!d.dialogo->isVisible());
    }

    // Without PROFT.DBF the dialog is not built: the error names the table,
    // for the import run to report.
    void sinProftNoSeAbre()
    {
        const DirectorioTemporal vacio;
        const QString error = ErrorAlCrear(vacio.Ruta());
        QVERIFY2(error.contains(QStringLiteral("PROFT")), qPrintable(error));
    }

    // Complete and incomplete teachers alike, in the order of the table; the
    // dialog opens with the grid in focus and the first row in editing.
    void listaTodosLosProfesoresEnOrden()
    {
        const DialogoAbierto d({{"ZZ", "Zoe Álvarez", "1001", "01/09/2015"},
                                {"AA", "Ana Núñez", "", ""},
                                {"MM", "Marta Ruiz", "1003", ""}});
        QCOMPARE(d.Modelo().rowCount(), 3);
        const QStringList esperado[] = {{"ZZ", "Zoe Álvarez", "1001", "01/09/2015"},
                                        {"AA", "Ana Núñez", "", ""},
                                        {"MM", "Marta Ruiz", "1003", ""}};
        for (int fila = 0; fila < 3; ++fila)
            for (int columna = 0; columna < 4; ++columna)
                QCOMPARE(d.Celda(fila, columna), esperado[fila][columna]);
        const QStringList titulos{"ABREV", "NOMBRE", "X_EMPLEADO", "F_TOMAPOS"};
        for (int columna = 0; columna < 4; ++columna)
            QCOMPARE(d.Modelo().headerData(columna, Qt::Horizontal).toString(), titulos[columna]);
        QVERIFY(d.Rejilla().hasFocus());
        QVERIFY(d.Modelo().EnEdicion());
        QCOMPARE(d.Modelo().FilaActual(), 0);
        QVERIFY(!d.Rejilla().horizontalHeader()->sectionsClickable());
    }

    // The two fixed columns are shown by the view laid over the grid, which
    // keeps them in sight when the grid scrolls sideways.
    void columnasFijasSiempreALaVista()
    {
        const DialogoAbierto d(Claustro(2));
        QTableView& fija = d.Rejilla().VistaFija();
        QVERIFY(fija.isVisible());
        QVERIFY(!fija.isColumnHidden(kAbrev) && !fija.isColumnHidden(kNombre));
        QVERIFY(fija.isColumnHidden(kEmpleado) && fija.isColumnHidden(kToma));
        QCOMPARE(fija.width(), d.Rejilla().columnWidth(kAbrev) + d.Rejilla().columnWidth(kNombre));
        QCOMPARE(d.Rejilla().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(d.Rejilla().columnWidth(kNombre) >=
                40 * d.Rejilla().fontMetrics().horizontalAdvance(QLatin1Char('0')));
    }

    // ABREV and NOMBRE take no typing; no key adds or deletes a row.
    void abrevYNombreNoCambianNiSeAnadenFilas()
    {
        const DialogoAbierto d(Claustro(2));
        for (int columna : {kAbrev, kNombre}) {
            QVERIFY(!(d.Modelo().flags(d.Modelo().index(0, columna)) & Qt::ItemIsEditable));
            QVERIFY(!d.Modelo().setData(d.Modelo().index(0, columna), QStringLiteral("X")));
            d.Rejilla().setCurrentIndex(d.Modelo().index(0, columna));
            QTest::keyClicks(&d.Rejilla(), QStringLiteral("QQ"));
            QCOMPARE(QApplication::focusWidget(), &d.Rejilla()); // no cell editor opened
        }
        d.Rejilla().setCurrentIndex(d.Modelo().index(1, kEmpleado));
        for (Qt::Key tecla : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Insert, Qt::Key_Delete, Qt::Key_PageDown})
            QTest::keyClick(&d.Rejilla(), tecla);
        QCOMPARE(d.Modelo().rowCount(), 2);
        QCOMPARE(d.Celda(0, kAbrev), QStringLiteral("P1"));
        QCOMPARE(d.Celda(1, kNombre), QStringLiteral("Profesor número 2"));
        d.Modelo().Grabar();
        QCOMPARE(LeerProft(d.dir.Ruta()), Claustro(2));
    }

    void mascarasAlTeclear_data()
    {
        QTest::addColumn<int>("columna");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("enEditor");
        QTest::newRow("cifras") << kEmpleado << "12345"
                                << "12345";
        QTest::newRow("letras rechazadas") << kEmpleado << "1a2B-3 ,"
                                           << "123";
        QTest::newRow("solo letras") << kEmpleado << "abc"
                                     << "";
        QTest::newRow("no más que el ancho del campo") << kEmpleado << "123456789012"
                                                       << "1234567890";
        QTest::newRow("fecha: las barras se rellenan") << kToma << "01092015"
                                                       << "01/09/2015";
        QTest::newRow("fecha: letras rechazadas") << kToma << "0x1.09a20y15"
                                                  << "01/09/2015";
        QTest::newRow("fecha a medias") << kToma << "01092"
                                        << "01/09/2";
    }
    void mascarasAlTeclear()
    {
        QFETCH(int, columna);
        QFETCH(QString, tecleado);
        QFETCH(QString, enEditor);
        const DialogoAbierto d(Claustro(1));
        QLineEdit* editor = d.Teclear(0, columna, tecleado);
        QVERIFY(editor);
        QCOMPARE(editor->text(), enEditor);
    }

    // Tab and Enter both move on to the next editable cell and hand the text
    // to the row in editing, which is saved on leaving the row.
    void tabYEnterPasanALaCeldaSiguiente()
    {
        const DialogoAbierto d(Claustro(2));
        d.Teclear(0, kEmpleado, QStringLiteral("501"));
        d.Pulsar(Qt::Key_Return);
        QCOMPARE(d.Rejilla().currentIndex(), d.Modelo().index(0, kToma));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("02032021"));
        d.Pulsar(Qt::Key_Tab);
        QCOMPARE(d.Rejilla().currentIndex(), d.Modelo().index(1, kEmpleado));
        QVERIFY(d.avisos.errores.isEmpty());
        QCOMPARE(LeerProft(d.dir.Ruta())[0], (Profesor{"P1", "Profesor número 1", "501", "02/03/2021"}));
    }

    // A half-typed date is refused wherever the row would be saved: the row
    // stays unsaved and in editing, the error names the column, the focus
    // goes back to it, and the dialog stays open.
    void fechaIncompletaRechazadaAlGrabar_data()
    {
        QTest::addColumn<Accion>("grabar");
        QTest::newRow("pasar a otra fila") << Accion([](const DialogoAbierto& d) { d.Pulsar(Qt::Key_Down); });
        QTest::newRow("botón de grabar del navegador")
            << Accion([](const DialogoAbierto& d) { d.Boton(ui::NavegadorDatos::Grabar).click(); });
        QTest::newRow("botón Salir") << Accion(
            [](const DialogoAbierto& d) { QTest::mouseClick(BitBtn1(*d.dialogo), Qt::LeftButton); });
        QTest::newRow("siguiente del navegador")
            << Accion([](const DialogoAbierto& d) { d.Boton(ui::NavegadorDatos::Siguiente).click(); });
    }
    void fechaIncompletaRechazadaAlGrabar()
    {
        QFETCH(Accion, grabar);
        const DialogoAbierto d(Claustro(2));
        d.Teclear(0, kEmpleado, QStringLiteral("77"));
        d.Pulsar(Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("01092"));
        grabar(d);
        QTRY_COMPARE(d.avisos.errores.size(), 1);
        QVERIFY2(d.avisos.errores[0].contains(QStringLiteral("F_TOMAPOS")), qPrintable(d.avisos.errores[0]));
        QVERIFY(d.dialogo->isVisible());
        QVERIFY(d.Modelo().EnEdicion());
        QCOMPARE(d.Modelo().FilaActual(), 0);
        QCOMPARE(d.Rejilla().currentIndex(), d.Modelo().index(0, kToma));
        QVERIFY(d.Rejilla().isAncestorOf(QApplication::focusWidget()) || d.Rejilla().hasFocus());
        QCOMPARE(LeerProft(d.dir.Ruta()), Claustro(2));
    }

    // A date that fits the mask but names no day of the calendar is refused
    // the same way, with the date in the message; a real one is saved.
    void fechaQueNoExiste_data()
    {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("fecha");
        QTest::addColumn<bool>("existe");
        QTest::newRow("31 de febrero") << "31022020"
                                       << "31/02/2020" << false;
        QTest::newRow("mes 13, día 0") << "00132020"
                                       << "00/13/2020" << false;
        QTest::newRow("29 de febrero de un año no bisiesto") << "29022023"
                                                             << "29/02/2023" << false;
        QTest::newRow("29 de febrero bisiesto") << "29022024"
                                                << "29/02/2024" << true;
    }
    void fechaQueNoExiste()
    {
        QFETCH(QString, tecleado);
        QFETCH(QString, fecha);
        QFETCH(bool, existe);
        const DialogoAbierto d(Claustro(2));
        d.Teclear(0, kEmpleado, QStringLiteral("77"));
        d.Pulsar(Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), tecleado);
        d.Pulsar(Qt::Key_Down);
        if (existe) {
            QTRY_COMPARE(d.Modelo().FilaActual(), 1);
            QCOMPARE(d.avisos.errores, QStringList());
            QCOMPARE(QString::fromStdString(LeerProft(d.dir.Ruta())[0].toma), fecha);
            return;
        }
        QTRY_COMPARE(d.avisos.errores.size(), 1);
        QVERIFY2(d.avisos.errores[0].startsWith(QStringLiteral("El valor de F_TOMAPOS no es válido: ") +
                                                fecha + QStringLiteral(" no es un día del calendario")),
                 qPrintable(d.avisos.errores[0]));
        QVERIFY(d.Modelo().EnEdicion());
        QCOMPARE(d.Rejilla().currentIndex(), d.Modelo().index(0, kToma));
        QVERIFY(d.Rejilla().isAncestorOf(QApplication::focusWidget()) || d.Rejilla().hasFocus());
        QCOMPARE(LeerProft(d.dir.Ruta()), Claustro(2));
    }

    // Cancel drops the typed value; post stores it.
    void cancelarDescartaYGrabarGuarda()
    {
        const DialogoAbierto d(Claustro(2));
        d.Teclear(0, kEmpleado, QStringLiteral("111"));
        d.Boton(ui::NavegadorDatos::Cancelar).click();
        QVERIFY(!d.Modelo().EnEdicion());
        QCOMPARE(d.Celda(0, kEmpleado), QString());
        QCOMPARE(LeerProft(d.dir.Ruta()), Claustro(2));

        d.Teclear(0, kEmpleado, QStringLiteral("222"));
        d.Boton(ui::NavegadorDatos::Grabar).click();
        QVERIFY(!d.Modelo().EnEdicion());
        QCOMPARE(d.Celda(0, kEmpleado), QStringLiteral("222"));
        QCOMPARE(LeerProft(d.dir.Ruta())[0].empleado, std::string("222"));
        QVERIFY(d.avisos.errores.isEmpty());
    }

    void navegador()
    {
        const DialogoAbierto d(Claustro(25));
        using N = ui::NavegadorDatos;
        const char* pistas[] = {"Move to first record",
                                "Move backward 10 records",
                                "Move to prior record",
                                "Move to next record",
                                "Move forward 10 records",
                                "Move to last record",
                                "Edit current record",
                                "Post changes of current record",
                                "Cancel changes made to current record",
                                "Refresh the contents of the dataset"};
        for (int b = 0; b < N::NumeroBotones; ++b) {
            QToolButton& boton = d.Boton(static_cast<N::Boton>(b));
            QCOMPARE(boton.toolTip(), QString::fromLatin1(pistas[b]));
            QCOMPARE(boton.focusPolicy(), Qt::NoFocus);
            QCOMPARE(boton.autoRepeat(), b <= N::Ultimo);
            QCOMPARE(boton.autoRepeatDelay(), 500);
            QCOMPARE(boton.autoRepeatInterval(), 100);
        }
        // Pressing one button, the row it lands on and which buttons are then
        // enabled, in the order of the bar.
        struct Paso {
            N::Boton pulsado;
            int fila;
            QString habilitados; // first..refresh, 1 enabled
        };
        const Paso pasos[] = {
            {N::Cancelar, 0, "0001111001"},         {N::PaginaSiguiente, 10, "1111111001"},
            {N::PaginaSiguiente, 20, "1111111001"}, {N::PaginaSiguiente, 24, "1110001001"},
            {N::Anterior, 23, "1111111001"},        {N::Ultimo, 24, "1110001001"},
            {N::PaginaAnterior, 14, "1111111001"},  {N::Editar, 14, "1111110110"},
            {N::Grabar, 14, "1111111001"},          {N::Primero, 0, "0001111001"},
            {N::Siguiente, 1, "1111111001"},        {N::Refrescar, 1, "1111111001"},
        };
        // Opened with the first row in editing.
        QCOMPARE(d.Modelo().FilaActual(), 0);
        QString abiertos;
        for (int b = 0; b < N::NumeroBotones; ++b)
            abiertos += d.Boton(static_cast<N::Boton>(b)).isEnabled() ? '1' : '0';
        QCOMPARE(abiertos, QStringLiteral("0001110110"));
        for (const Paso& paso : pasos) {
            d.Boton(paso.pulsado).click();
            QString habilitados;
            for (int b = 0; b < N::NumeroBotones; ++b)
                habilitados += d.Boton(static_cast<N::Boton>(b)).isEnabled() ? '1' : '0';
            QCOMPARE(d.Modelo().FilaActual(), paso.fila);
            QCOMPARE(d.Rejilla().currentIndex().row(), paso.fila);
            QCOMPARE(habilitados, paso.habilitados);
        }
    }

    // Another handle posts while the dialog is open: refresh shows it.
    void refrescarLeeLaTablaOtraVez()
    {
        const DialogoAbierto d(Claustro(3));
        d.Boton(ui::NavegadorDatos::Cancelar).click();
        Tabla otra(d.dir.Ruta(), "PROFT");
        otra.Abrir();
        otra.Ultimo();
        otra.Editar();
        otra.FijarTexto("X_EMPLEADO", "999");
        otra.Grabar();
        d.Boton(ui::NavegadorDatos::Refrescar).click();
        QCOMPARE(d.Celda(2, kEmpleado), QStringLiteral("999"));
        QCOMPARE(d.Modelo().FilaActual(), 0);
    }

    // The dialog inside an import run, as the desktop program shows it.
    void salirGuardaYLaImportacionSigue()
    {
        pruebas::EntornoImportacion e;
        e.escuela.proft.push_back({{"ABREV", "P2"}, {"NOMBRE", "Pablo Gil"}});
        e.Preparar();
        e.persona.alCompletar = [](const std::filesystem::path& dir) {
            CompletarProfesoresConDialogo(nullptr, dir);
        };
        GuionModal guion([](TControlProfesores& d) {
            TeclearEn(d, 1, kEmpleado, QStringLiteral("2002"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("15092020"));
            QTest::mouseClick(BitBtn1(d), Qt::LeftButton);
        });
        const ResultadoImportacion r = e.Ejecutar();
        QVERIFY(guion.hecho && !guion.agotado);
        QCOMPARE(r.desenlace, Desenlace::Finalizado);
        QCOMPARE(e.persona.completados, 1);
        QCOMPARE(LeerProft(e.trabajo.Ruta())[1], (Profesor{"P2", "Pablo Gil", "2002", "15/09/2020"}));
    }

    void cajaDeCierrePierdeLoQueSeEditaba()
    {
        pruebas::EntornoImportacion e;
        e.escuela.proft.push_back({{"ABREV", "P2"}, {"NOMBRE", "Pablo Gil"}});
        e.Preparar();
        e.persona.alCompletar = [](const std::filesystem::path& dir) {
            CompletarProfesoresConDialogo(nullptr, dir);
        };
        GuionModal guion([](TControlProfesores& d) {
            TeclearEn(d, 1, kEmpleado, QStringLiteral("2002"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("15092020"));
            d.close(); // the title bar's close box
        });
        const ResultadoImportacion r = e.Ejecutar();
        QVERIFY(guion.hecho && !guion.agotado);
        QCOMPARE(r.desenlace, Desenlace::Detenido);
        QCOMPARE(r.detencion, Detencion::ProfesorIncompleto);
        QCOMPARE(e.persona.mensajes, (std::vector<std::string>{kMensajeProfesorIncompleto}));
        QCOMPARE(LeerProft(e.trabajo.Ruta())[1], (Profesor{"P2", "Pablo Gil", "", ""}));
    }

    // A row saved by moving on stays in PROFT.DBF though the import stops
    // for another teacher left incomplete.
    void loGuardadoQuedaAunqueLaImportacionSeDetenga()
    {
        pruebas::EntornoImportacion e;
        e.escuela.proft.push_back({{"ABREV", "P2"}, {"NOMBRE", "Pablo Gil"}});
        e.escuela.proft.push_back({{"ABREV", "P3"}, {"NOMBRE", "Rosa Peña"}});
        e.Preparar();
        e.persona.alCompletar = [](const std::filesystem::path& dir) {
            CompletarProfesoresConDialogo(nullptr, dir);
        };
        GuionModal guion([](TControlProfesores& d) {
            TeclearEn(d, 1, kEmpleado, QStringLiteral("2002"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("15092020"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // on to P3: P2 is saved
            QTest::mouseClick(BitBtn1(d), Qt::LeftButton);
        });
        const ResultadoImportacion r = e.Ejecutar();
        QVERIFY(guion.hecho && !guion.agotado);
        QCOMPARE(r.detencion, Detencion::ProfesorIncompleto);
        const auto proft = LeerProft(e.trabajo.Ruta());
        QCOMPARE(proft[1], (Profesor{"P2", "Pablo Gil", "2002", "15/09/2020"}));
        QCOMPARE(proft[2], (Profesor{"P3", "Rosa Peña", "", ""}));
    }
};

QTEST_MAIN(ControlProfesoresTest)
#include "control_profesores_test.moc"
