#include "export/Plantihoras.h"

#include "exchange/lectura.h"
#include "platform/texto.h"
#include "platform/ui/avisos.h"
#include "platform/ui/panel_degradado.h"

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
    return QString::fromStdString(AnsiAUtf8(texto));
}

QFont Arial(int pixeles)
{
    QFont letra(QStringLiteral("Arial"));
    letra.setPixelSize(pixeles);
    letra.setBold(true);
    return letra;
}

QLabel* Etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QFont& letra, QColor color)
{
    auto* etiqueta = new QLabel(texto, padre);
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
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
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
        Arial(13), Qt::black);
    LabelPlantillas->setWordWrap(true);
    LabelPlantillas->setGeometry(8, 6, 354, 34);

    Label2 =
        Etiqueta(Panel, "Label2",
                 QStringLiteral("Las Horas de la Plantilla del día seleccionado, se propagarán sobre todos "
                                "los días de las Semana."),
                 Arial(13), Qt::red);
    Label2->setWordWrap(true);
    Label2->setGeometry(8, 42, 354, 34);

    // Created in the focus order: the button, the combo box, the list.
    BitBtnContinuar =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Continuar"), Panel);
    BitBtnContinuar->setObjectName(QStringLiteral("BitBtnContinuar"));
    QFont negrita = BitBtnContinuar->font();
    negrita.setBold(true);
    BitBtnContinuar->setFont(negrita);
    BitBtnContinuar->setDefault(true);
    BitBtnContinuar->setProperty("contextoAyuda", 3);
    BitBtnContinuar->setGeometry(262, 206, 100, 28);
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
    ComboBoxPlantilla->setGeometry(8, 86, 160, 22);
    // Only the person's changes: an item picked or a key typed.
    connect(ComboBoxPlantilla, &QComboBox::activated, this, [this] { ComboBoxPlantillaChange(); });
    connect(ComboBoxPlantilla->lineEdit(), &QLineEdit::textEdited, this,
            [this] { ComboBoxPlantillaChange(); });

    ListBox1 = new QListWidget(Panel);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSortingEnabled(false);
    ListBox1->setGeometry(184, 108, 178, 90);

    setTabOrder(BitBtnContinuar, ComboBoxPlantilla);
    setTabOrder(ComboBoxPlantilla, ListBox1);

    LabelNombre = Etiqueta(Panel, "LabelNombre", QStringLiteral("-"), Arial(16), kGranate);
    LabelNombre->setGeometry(8, 116, 170, 22);
    LabelPlanFec1 = Etiqueta(Panel, "LabelPlanFec1", QStringLiteral("-"), Arial(16), kGranate);
    LabelPlanFec1->setGeometry(8, 142, 170, 22);
    LabelPlanFec2 = Etiqueta(Panel, "LabelPlanFec2", QStringLiteral("-"), Arial(16), kGranate);
    LabelPlanFec2->setGeometry(8, 168, 170, 22);
    Label1 = Etiqueta(Panel, "Label1", QStringLiteral("HORAS"), Arial(16), kGranate);
    Label1->setGeometry(184, 84, 178, 22);

    BitBtnContinuar->setFocus(Qt::OtherFocusReason);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TPlantillas::AlCambiarVentanaConFoco);
}

TPlantillas::~TPlantillas()
{
    disconnect(qApp, nullptr, this, nullptr);
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
    PlantillaElegida = Utf8AAnsi(Recortar(ComboBoxPlantilla->currentText().toStdString()));
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
    std::string elegida = Plantillas->PlantillaElegida;
    delete Plantillas;
    return elegida;
}

} // namespace durlavex
