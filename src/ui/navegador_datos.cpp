#include "ui/navegador_datos.h"

#include "ui/modelo_tabla.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace durlavex::ui {
namespace {

struct DescripcionBoton {
    const char* nombre;
    const char* pista;
    QStyle::StandardPixmap glifo;
    bool repite;
};

constexpr DescripcionBoton kBotones[NavegadorDatos::NumeroBotones] = {
    {"Primero", "Move to first record", QStyle::SP_MediaSkipBackward, true},
    {"PaginaAnterior", "Move backward 10 records", QStyle::SP_MediaSeekBackward, true},
    {"Anterior", "Move to prior record", QStyle::SP_ArrowLeft, true},
    {"Siguiente", "Move to next record", QStyle::SP_ArrowRight, true},
    {"PaginaSiguiente", "Move forward 10 records", QStyle::SP_MediaSeekForward, true},
    {"Ultimo", "Move to last record", QStyle::SP_MediaSkipForward, true},
    {"Editar", "Edit current record", QStyle::SP_ArrowUp, false},
    {"Grabar", "Post changes of current record", QStyle::SP_DialogApplyButton, false},
    {"Cancelar", "Cancel changes made to current record", QStyle::SP_DialogCancelButton, false},
    {"Refrescar", "Refresh the contents of the dataset", QStyle::SP_BrowserReload, false},
};

} // namespace

NavegadorDatos::NavegadorDatos(ModeloTabla& modelo, QWidget* padre) : QWidget(padre), modelo_(modelo)
{
    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->setSpacing(0);
    for (int i = 0; i < NumeroBotones; ++i) {
        const DescripcionBoton& d = kBotones[i];
        auto* boton = new QToolButton(this);
        boton->setObjectName(QString::fromLatin1(d.nombre));
        boton->setToolTip(QString::fromLatin1(d.pista));
        boton->setIcon(style()->standardIcon(d.glifo, nullptr, boton));
        boton->setFocusPolicy(Qt::NoFocus);
        boton->setAutoRaise(false);
        boton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        boton->setAutoRepeat(d.repite);
        boton->setAutoRepeatDelay(500);
        boton->setAutoRepeatInterval(100);
        const auto cual = static_cast<Boton>(i);
        connect(boton, &QToolButton::clicked, this, [this, cual] { Pulsar(cual); });
        fila->addWidget(boton);
        botones_[i] = boton;
    }
    connect(&modelo_, &ModeloTabla::EstadoCambiado, this, &NavegadorDatos::ActualizarEstado);
    connect(&modelo_, &ModeloTabla::FilaActualCambiada, this, &NavegadorDatos::ActualizarEstado);
    connect(&modelo_, &ModeloTabla::modelReset, this, &NavegadorDatos::ActualizarEstado);
    ActualizarEstado();
}

void NavegadorDatos::Pulsar(Boton boton)
{
    emit AntesDeActuar(boton);
    switch (boton) {
    case Primero:
        modelo_.IrAFila(0);
        break;
    case PaginaAnterior:
        modelo_.Mover(-kFilasPorPagina);
        break;
    case Anterior:
        modelo_.Mover(-1);
        break;
    case Siguiente:
        modelo_.Mover(1);
        break;
    case PaginaSiguiente:
        modelo_.Mover(kFilasPorPagina);
        break;
    case Ultimo:
        modelo_.IrAFila(modelo_.rowCount() - 1);
        break;
    case Editar:
        modelo_.Editar();
        break;
    case Grabar:
        modelo_.Grabar();
        break;
    case Cancelar:
        modelo_.Cancelar();
        break;
    case Refrescar:
        modelo_.Refrescar();
        break;
    case NumeroBotones:
        break;
    }
    ActualizarEstado();
}

// Moving while a row is edited saves it first, so the moves stay enabled then;
// refreshing would drop the changes, so it waits until the row is saved.
void NavegadorDatos::ActualizarEstado()
{
    const bool hayFilas = modelo_.rowCount() > 0;
    const bool editando = modelo_.EnEdicion();
    const bool atras = hayFilas && !modelo_.AlPrincipio();
    const bool adelante = hayFilas && !modelo_.AlFinal();
    const bool estados[NumeroBotones] = {
        atras,    atras,    atras,    adelante, adelante, adelante, hayFilas && !editando,
        editando, editando, !editando};
    for (int i = 0; i < NumeroBotones; ++i)
        botones_[i]->setEnabled(estados[i]);
}

} // namespace durlavex::ui
