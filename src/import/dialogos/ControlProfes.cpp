#include "import/dialogos/ControlProfes.h"

#include "tables/esquemas.h"
#include "tables/tabla.h"
#include "ui/avisos.h"
#include "ui/fuentes.h"
#include "ui/modelo_tabla.h"
#include "ui/navegador_datos.h"
#include "ui/panel_degradado.h"
#include "ui/rejilla_datos.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace durlavex {
namespace {

constexpr int kAnchoCliente = 754;
constexpr int kAltoCliente = 499;

// The widths the two editable fields have in PROFT's layout.
int LongitudCampo(std::string_view campo)
{
    for (const auto& c : esquemas::PROFT.campos) {
        if (c.nombre == campo)
            return c.ancho;
    }
    return 0;
}

std::vector<ui::ColumnaRejilla> ColumnasProft()
{
    return {
        {"ABREV", QStringLiteral("ABREV"), 4, false, "", 0},
        {"NOMBRE", QStringLiteral("NOMBRE"), 40, false, "", 0},
        {"X_EMPLEADO", QStringLiteral("X_EMPLEADO"), 10, true, "#*#", LongitudCampo("X_EMPLEADO")},
        {"F_TOMAPOS", QStringLiteral("F_TOMAPOS"), 10, true, "##/##/####", LongitudCampo("F_TOMAPOS"), true},
    };
}

QLabel* Etiqueta(QWidget* padre, const char* nombre, const QString& texto, QColor color)
{
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setObjectName(QString::fromLatin1(nombre));
    etiqueta->setWordWrap(true);
    QFont letra = etiqueta->font();
    letra.setBold(true);
    etiqueta->setFont(letra);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
    return etiqueta;
}

void ConFondo(QLabel* etiqueta, QColor fondo)
{
    etiqueta->setAutoFillBackground(true);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::Window, fondo);
    etiqueta->setPalette(paleta);
}

} // namespace

TControlProfesores::TControlProfesores(QWidget* propietario, const std::filesystem::path& directorioTrabajo)
    : TControlProfesores(propietario, directorioTrabajo, ui::Avisos::DelSistema())
{
}

TControlProfesores::TControlProfesores(QWidget* propietario, const std::filesystem::path& directorioTrabajo,
                                       ui::Avisos& avisos)
    : QDialog(propietario, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      wwTableProft_(std::make_unique<Tabla>(directorioTrabajo, "proft.dbf", TipoTabla::PorExtension))
{
    wwTableProft_->DefinirMascaras({{"X_EMPLEADO", "#*#"}, {"F_TOMAPOS", "##/##/####"}});
    wwTableProft_->Abrir();

    setObjectName(QStringLiteral("ControlProfesores"));
    setWindowTitle(QStringLiteral("Control de Profesores"));
    setFont(ui::SansSerifClasica());
    setFixedSize(kAnchoCliente, kAltoCliente);
    setSizeGripEnabled(false);
    move(201, 221);
    setProperty("contextoAyuda", 1);

    // From the desktop colour of classic Windows through a very light blue to aqua.
    Panel = new ui::PanelDegradado(QColor(58, 110, 165), QColor(224, 240, 255), QColor(0, 255, 255), this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setGeometry(0, 0, kAnchoCliente, kAltoCliente);

    modelo_ = new ui::ModeloTabla(*wwTableProft_, ColumnasProft(), this);

    // Created first: the grid leads the focus order.
    ProftDBGrid = new ui::RejillaDatos(*modelo_, 2, Panel);
    ProftDBGrid->setObjectName(QStringLiteral("ProftDBGrid"));
    ProftDBGrid->FijarAvisos(avisos);
    ProftDBGrid->setProperty("contextoAyuda", 1);

    wwDBNavigator1 = new ui::NavegadorDatos(*modelo_, Panel);
    wwDBNavigator1->setObjectName(QStringLiteral("wwDBNavigator1"));
    connect(wwDBNavigator1, &ui::NavegadorDatos::AntesDeActuar, this,
            [this](ui::NavegadorDatos::Boton boton) {
                ProftDBGrid->CerrarEditor(boton != ui::NavegadorDatos::Cancelar);
            });

    Label1 = Etiqueta(Panel, "Label1", QStringLiteral("CONTROL DE DATOS DE LOS PROFESORES"), Qt::black);
    ConFondo(Label1, Qt::yellow);
    Label3 = Etiqueta(Panel, "Label3", QStringLiteral("INCIDENCIAS EN EL TRASPASO"), Qt::red);
    ConFondo(Label3, QColor(245, 222, 179));
    Label3->setAlignment(Qt::AlignCenter);
    QFont subrayada = Label3->font();
    subrayada.setUnderline(true);
    Label3->setFont(subrayada);
    Label2 =
        Etiqueta(Panel, "Label2",
                 QStringLiteral("Se ha detectado que existe algún Profesor sin todos los datos necesarios. "
                                "(Seguramente hayan sido creados directamente desde Talvorin.)      Para "
                                "poder realizar correctamente la integración del Horario en VORNA, deberán "
                                "asignarlos en esta rejilla. "),
                 QColor(0, 0, 128));
    Label4 =
        Etiqueta(Panel, "Label4",
                 QStringLiteral("Los Profesores deberán estar creados previamente en VORNA, con los mismos "
                                "Datos de X_EMPLEADO y F_TOMAPOS. "),
                 Qt::red);
    Label5 =
        Etiqueta(Panel, "Label5",
                 QStringLiteral("VORNA, dispone de un proceso mediante el cual pueden obtener la información "
                                "de estos 2 datos mencionados. "),
                 QColor(0, 128, 0));
    Label6 =
        Etiqueta(Panel, "Label6",
                 QStringLiteral("Después de haber introducido los datos que faltan, pulsando \"Salir\", se "
                                "reiniciará el proceso."),
                 QColor(0, 0, 128));

    BitBtn1 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Salir"), Panel);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    QFont negrita = BitBtn1->font();
    negrita.setBold(true);
    BitBtn1->setFont(negrita);
    BitBtn1->setAutoDefault(false);
    BitBtn1->setDefault(false);
    BitBtn1->setProperty("contextoAyuda", 1);
    connect(BitBtn1, &QPushButton::clicked, this, &TControlProfesores::BitBtn1Click);

    Maquetar();
    connect(qApp, &QApplication::focusChanged, this, &TControlProfesores::AlCambiarFoco);
    ProftDBGrid->setFocus(Qt::OtherFocusReason);
}

TControlProfesores::~TControlProfesores()
{
    // Focus moves while the controls go: no more grid events from here on.
    disconnect(qApp, nullptr, this, nullptr);
    // The views go before the table they show.
    delete Panel;
    delete modelo_;
    wwTableProft_->Cerrar();
}

// The window as designed (754 x 499), with every label as tall as its text
// needs in the font it got; the window grows only when the texts on the right
// no longer fit in it.
void TControlProfesores::Maquetar()
{
    constexpr int margen = 8;
    // Wide enough for its four columns in the font it got, as long as the
    // texts on the right keep a readable column.
    const int anchoRejilla = std::clamp(ProftDBGrid->AnchoNecesario(), 440, 530);
    const int altoTitulo = Label1->heightForWidth(180);
    Label1->setGeometry(margen, margen, 180, altoTitulo);
    const QSize navegador(10 * 24, 25);
    const int arribaRejilla = std::max({56, margen + altoTitulo + 6, margen + navegador.height() + 4});
    wwDBNavigator1->setGeometry(margen + anchoRejilla - navegador.width(),
                                arribaRejilla - navegador.height() - 4, navegador.width(),
                                navegador.height());

    const int x = margen + anchoRejilla + 12;
    const int ancho = kAnchoCliente - x - margen;
    int y = margen;
    for (QLabel* etiqueta : {Label3, Label2, Label4, Label5, Label6}) {
        // The heading on its tan background gets a little air above and below.
        const int alto = etiqueta->heightForWidth(ancho) + (etiqueta == Label3 ? 8 : 0);
        etiqueta->setGeometry(x, y, ancho, alto);
        y += alto + 14;
    }
    const QSize boton(std::max(110, BitBtn1->sizeHint().width()), std::max(34, BitBtn1->sizeHint().height()));
    BitBtn1->setGeometry(x + (ancho - boton.width()) / 2, y + 10, boton.width(), boton.height());

    const int alto = std::max(kAltoCliente, y + 10 + boton.height() + margen);
    setFixedSize(kAnchoCliente, alto);
    Panel->setGeometry(0, 0, kAnchoCliente, alto);
    ProftDBGrid->setGeometry(margen, arribaRejilla, anchoRejilla, alto - arribaRejilla - margen);
}

bool TControlProfesores::EnRejilla(const QWidget* w) const
{
    return w && (w == ProftDBGrid || ProftDBGrid->isAncestorOf(w));
}

void TControlProfesores::AlCambiarFoco(QWidget* antes, QWidget* ahora)
{
    if (!EnRejilla(antes) && EnRejilla(ahora))
        ProftDBGridEnter();
    else if (EnRejilla(antes) && !EnRejilla(ahora) && ahora && isAncestorOf(ahora) && !cerrandoSinSalir_)
        ProftDBGridExit();
}

void TControlProfesores::ProftDBGridEnter()
{
    if (!modelo_->EnEdicion())
        modelo_->Editar();
}

void TControlProfesores::ProftDBGridExit()
{
    if (modelo_->EnEdicion())
        modelo_->Grabar();
}

// Taking the focus makes the grid save a row still being edited; a save
// refused keeps the dialog open, with the error shown and the value in view.
void TControlProfesores::BitBtn1Click()
{
    BitBtn1->setFocus(Qt::OtherFocusReason);
    if (modelo_->EnEdicion())
        return;
    accept();
}

void TControlProfesores::closeEvent(QCloseEvent* evento)
{
    cerrandoSinSalir_ = true;
    QDialog::closeEvent(evento);
}

// Esc neither presses "Salir" nor closes the dialog.
void TControlProfesores::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Escape) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void CompletarProfesoresConDialogo(QWidget* propietario, const std::filesystem::path& directorioTrabajo)
{
    auto* ControlProfesores = new TControlProfesores(propietario, directorioTrabajo);
    ControlProfesores->exec();
    delete ControlProfesores;
}

} // namespace durlavex
