#include "export/dialogos/Plantihoras.h"

#include "exchange/lectura.h"
#include "platform/texto.h"
#include "ui/avisos.h"
#include "ui/etiqueta_una_linea.h"
#include "ui/fuentes.h"
#include "ui/panel_degradado.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <exception>

namespace durlavex {
namespace {

// The client area of a window 378 x 269 pixels outside, under a classic
// Windows frame (4 pixels each side, 19 for the caption).
constexpr int kAnchoCliente = 370;
constexpr int kAltoCliente = 242;

constexpr int kDatoCodigo = 0;
constexpr int kDatoNombre = 1;
constexpr int kDatoFecha1 = 2;
constexpr int kDatoFecha2 = 3;
constexpr int kDatoTextoTramo = 1;
constexpr int kDatoPlantillaTramo = 4;

const QColor kAzulCielo(166, 202, 240);
const QColor kGranate(128, 0, 0);

QString DesdeAnsi(const std::string& texto)
{
    return QString::fromStdString(AnsiAUtf8(VistaAnsi(texto)));
}

template <class Clase = QLabel>
Clase* Etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QFont& letra, QColor color)
{
    auto* etiqueta = new Clase(texto, padre);
    etiqueta->setObjectName(QString::fromLatin1(nombre));
    etiqueta->setFont(letra);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
    return etiqueta;
}

} // namespace

TPlantillas::TPlantillas(QWidget* propietario, const std::filesystem::path& archivoXml)
    : TPlantillas(propietario, archivoXml, ui::Avisos::DelSistema())
{
}

TPlantillas::TPlantillas(QWidget* propietario, const std::filesystem::path& archivoXml, ui::Avisos& avisos)
    : QDialog(propietario, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      archivoXml_(archivoXml), avisos_(avisos), lectura_(std::make_unique<LecturaIntercambio>())
{
    setObjectName(QStringLiteral("Plantillas"));
    setWindowTitle(QStringLiteral("Plantillas Horarias"));
    setFont(ui::SansSerifClasica());
    setFixedSize(kAnchoCliente, kAltoCliente);
    setSizeGripEnabled(false);

    // Classic Windows gives the inactive caption text the button face's
    // colour, so the Inactive group's Button role stands for it here.
    Panel = new ui::PanelDegradado(kAzulCielo, Qt::white,
                                   palette().color(QPalette::Inactive, QPalette::Button), this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setGeometry(0, 0, kAnchoCliente, kAltoCliente);
    Panel->setProperty("contextoAyuda", 3);

    LabelPlantillas = Etiqueta(
        Panel, "LabelPlantillas",
        QStringLiteral("Seleccione la Plantilla Horaria que quiere aplicar a su Horario en Talvorin."),
        ui::ArialNegrita(13), Qt::black);
    LabelPlantillas->setWordWrap(true);

    Label2 =
        Etiqueta(Panel, "Label2",
                 QStringLiteral("Las Horas de la Plantilla del día seleccionado, se propagarán sobre todos "
                                "los días de las Semana."),
                 ui::ArialNegrita(13), Qt::red);
    Label2->setWordWrap(true);

    // Created in the focus order: the button, the combo box, the list.
    BitBtnContinuar =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Continuar"), Panel);
    BitBtnContinuar->setObjectName(QStringLiteral("BitBtnContinuar"));
    QFont negrita = BitBtnContinuar->font();
    negrita.setBold(true);
    BitBtnContinuar->setFont(negrita);
    BitBtnContinuar->setDefault(true);
    BitBtnContinuar->setProperty("contextoAyuda", 3);
    connect(BitBtnContinuar, &QPushButton::clicked, this, [this] {
        BitBtnContinuarClick();
        accept();
    });

    ComboBoxPlantilla = new QComboBox(Panel);
    ComboBoxPlantilla->setObjectName(QStringLiteral("ComboBoxPlantilla"));
    ComboBoxPlantilla->setEditable(true);
    ComboBoxPlantilla->setCompleter(nullptr);
    // Enter neither adds the typed text as an item nor swaps it for an item
    // that differs in letter case: what was typed stays the choice.
    ComboBoxPlantilla->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxPlantilla->setDuplicatesEnabled(true);
    ComboBoxPlantilla->setFont(negrita);
    QPalette amarilla = ComboBoxPlantilla->palette();
    amarilla.setColor(QPalette::Base, Qt::yellow);
    amarilla.setColor(QPalette::Button, Qt::yellow);
    ComboBoxPlantilla->setPalette(amarilla);
    // Only the person's changes: an item picked or a key typed.
    connect(ComboBoxPlantilla, &QComboBox::activated, this, [this] { ComboBoxPlantillaChange(); });
    connect(ComboBoxPlantilla->lineEdit(), &QLineEdit::textEdited, this,
            [this] { ComboBoxPlantillaChange(); });

    ListBox1 = new QListWidget(Panel);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSortingEnabled(false);

    setTabOrder(BitBtnContinuar, ComboBoxPlantilla);
    setTabOrder(ComboBoxPlantilla, ListBox1);

    // A template's name, or a date as the file writes it, may be longer than
    // the column: it is cut with "…" and shown whole in the tooltip.
    LabelNombre = Etiqueta<ui::EtiquetaUnaLinea>(Panel, "LabelNombre", QStringLiteral("-"),
                                                 ui::ArialNegrita(16), kGranate);
    LabelPlanFec1 = Etiqueta<ui::EtiquetaUnaLinea>(Panel, "LabelPlanFec1", QStringLiteral("-"),
                                                   ui::ArialNegrita(16), kGranate);
    LabelPlanFec2 = Etiqueta<ui::EtiquetaUnaLinea>(Panel, "LabelPlanFec2", QStringLiteral("-"),
                                                   ui::ArialNegrita(16), kGranate);
    Label1 = Etiqueta(Panel, "Label1", QStringLiteral("HORAS"), ui::ArialNegrita(16), kGranate);
    Maquetar();

    BitBtnContinuar->setFocus(Qt::OtherFocusReason);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TPlantillas::AlCambiarVentanaConFoco);
}

TPlantillas::~TPlantillas()
{
    disconnect(qApp, nullptr, this, nullptr);
}

// The window as designed (378 x 269 outside), with every label as tall as its
// text needs in the font it got: the two texts at the top take the lines
// they wrap to, and what lies below them moves down when they need more
// than the design gave them; the window grows only when the whole no longer
// fits in it.
void TPlantillas::Maquetar()
{
    constexpr int margen = 8;
    constexpr int ancho = kAnchoCliente - 2 * margen;
    int y = 6;
    for (QLabel* texto : {LabelPlantillas, Label2}) {
        const int alto = texto->heightForWidth(ancho);
        texto->setGeometry(margen, y, ancho, alto);
        y += alto + 2;
    }
    // The design's first row under the texts, or lower when they need it.
    const int fila = std::max(86, y + 8);
    const int altoCombo = std::max(22, ComboBoxPlantilla->fontMetrics().height() + 8);
    ComboBoxPlantilla->setGeometry(margen, fila, 160, altoCombo);

    const int altoRotulo = Label1->sizeHint().height();
    Label1->setGeometry(184, fila + altoCombo - altoRotulo, 178, altoRotulo);
    const int arribaLista = fila + altoCombo;
    ListBox1->setGeometry(184, arribaLista, 178, 90);

    const int paso = std::max(26, altoRotulo + 4);
    int yDato = fila + 30;
    for (QLabel* dato : {LabelNombre, LabelPlanFec1, LabelPlanFec2}) {
        dato->setGeometry(margen, yDato, 170, std::max(22, altoRotulo));
        yDato += paso;
    }

    const QSize boton(std::max(100, BitBtnContinuar->sizeHint().width()),
                      std::max(28, BitBtnContinuar->fontMetrics().height() + 12));
    const int arribaBoton = std::max({fila + 120, arribaLista + 90 + 8, yDato});
    const int alto = std::max(kAltoCliente, arribaBoton + boton.height() + margen);
    BitBtnContinuar->setGeometry(kAnchoCliente - margen - boton.width(), arribaBoton, boton.width(),
                                 boton.height());
    setFixedSize(kAnchoCliente, alto);
    Panel->setGeometry(0, 0, kAnchoCliente, alto);
}

// The list is built when the dialog is shown and whenever the person comes
// back to it from another window of the program. The activation that follows
// the showing is the same moment; coming back from another application, or
// from the error box this dialog showed, is no activation of the form and
// leaves the pick alone.
void TPlantillas::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (evento->spontaneous())
        return;
    activacionDeMuestra_ = true;
    FormActivate();
}

bool TPlantillas::event(QEvent* evento)
{
    if (evento->type() == QEvent::WindowActivate) {
        const bool yaHecha = activacionDeMuestra_ || volviendoDeAviso_ || ventanaAnterior_ == nullptr;
        activacionDeMuestra_ = false;
        volviendoDeAviso_ = false;
        if (!yaHecha)
            FormActivate();
    }
    return QDialog::event(evento);
}

void TPlantillas::AlCambiarVentanaConFoco(QWindow* ventana)
{
    if (ventana && ventana == windowHandle())
        return;
    ventanaAnterior_ = ventana;
    if (!ventana)
        return;
    activacionDeMuestra_ = false;
    if (mostrandoAviso_)
        volviendoDeAviso_ = true;
}

void TPlantillas::MostrarFallo(const std::exception& error)
{
    mostrandoAviso_ = true;
    ui::MostrarError(avisos_, this, QString::fromUtf8(error.what()));
    mostrandoAviso_ = false;
}

void TPlantillas::FormActivate()
{
    try {
        // A file that can no longer be loaded reads as a document without
        // groups: the combo box keeps what it had.
        lectura_ = std::make_unique<LecturaIntercambio>();
        try {
            lectura_->CargarDocumento(archivoXml_);
        } catch (const std::exception&) {
            lectura_ = std::make_unique<LecturaIntercambio>();
        }

        const int plantillas = lectura_->SeleccionarGrupo("JORNADAS_ESCOLARES");
        if (plantillas > 1) {
            QStringList codigos;
            for (int i = 0; i < plantillas; ++i) {
                lectura_->AbrirRegistro(i);
                codigos << DesdeAnsi(lectura_->LeerDatoSinRecortar(kDatoCodigo));
            }
            ComboBoxPlantilla->clear();
            ComboBoxPlantilla->addItems(codigos);
        }
        ComboBoxPlantilla->setCurrentIndex(ComboBoxPlantilla->count() > 0 ? 0 : -1);
        ComboBoxPlantilla->setEditText(ComboBoxPlantilla->itemText(0));
    } catch (const std::exception& error) {
        MostrarFallo(error);
        return;
    }
    ComboBoxPlantillaChange();
}

void TPlantillas::ComboBoxPlantillaChange()
{
    const QString elegida = ComboBoxPlantilla->currentText();
    try {
        const int plantillas = lectura_->SeleccionarGrupo("JORNADAS_ESCOLARES");
        LabelNombre->setText(QStringLiteral("-"));
        LabelPlanFec1->setText(QStringLiteral("-"));
        LabelPlanFec2->setText(QStringLiteral("-"));
        if (plantillas > 1) {
            // Every record of the code is shown in turn: the last one stays.
            for (int i = 0; i < plantillas; ++i) {
                lectura_->AbrirRegistro(i);
                if (DesdeAnsi(lectura_->LeerDatoSinRecortar(kDatoCodigo)) != elegida)
                    continue;
                LabelNombre->setText(DesdeAnsi(lectura_->LeerDatoSinRecortar(kDatoNombre)));
                LabelPlanFec1->setText(DesdeAnsi(lectura_->LeerDatoSinRecortar(kDatoFecha1)));
                LabelPlanFec2->setText(DesdeAnsi(lectura_->LeerDatoSinRecortar(kDatoFecha2)));
            }
        }

        const int tramos = lectura_->SeleccionarGrupo("TRAMOS_HORARIOS");
        if (tramos > 1) {
            ListBox1->clear();
            for (int i = 0; i < tramos; ++i) {
                lectura_->AbrirRegistro(i);
                if (DesdeAnsi(lectura_->LeerDatoSinRecortar(kDatoPlantillaTramo)) == elegida)
                    ListBox1->addItem(DesdeAnsi(lectura_->LeerDatoSinRecortar(kDatoTextoTramo)));
            }
        }
    } catch (const std::exception& error) {
        MostrarFallo(error);
    }
}

void TPlantillas::BitBtnContinuarClick()
{
    FormClose();
}

void TPlantillas::FormClose()
{
    plantillaElegida_ = Utf8AAnsi(Recortar(ComboBoxPlantilla->currentText().toStdString())).Bytes();
}

void TPlantillas::closeEvent(QCloseEvent* evento)
{
    FormClose();
    QDialog::closeEvent(evento);
}

// The dialog has no cancel button, so Esc neither cancels nor closes it.
void TPlantillas::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void TPlantillas::done(int resultado)
{
    FormClose();
    QDialog::done(resultado);
}

std::string ElegirPlantillaConDialogo(QWidget* propietario, const std::filesystem::path& archivoXml)
{
    auto* Plantillas = new TPlantillas(propietario, archivoXml);
    Plantillas->exec();
    std::string elegida = Plantillas->PlantillaElegida();
    delete Plantillas;
    return elegida;
}

} // namespace durlavex
