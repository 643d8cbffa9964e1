#include "ui/rejilla_datos.h"

#include "ui/avisos.h"
#include "ui/delegado_rejilla.h"
#include "ui/modelo_tabla.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace durlavex::ui {
namespace {

void PrepararVista(QTableView& vista, const ColoresRejilla& colores)
{
    vista.setItemDelegate(new DelegadoRejilla(&vista));
    vista.setSelectionBehavior(QAbstractItemView::SelectItems);
    vista.setSelectionMode(QAbstractItemView::SingleSelection);
    vista.setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    vista.setAlternatingRowColors(true);
    vista.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    vista.verticalHeader()->hide();
    vista.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* titulos = vista.horizontalHeader();
    titulos->setSectionsClickable(false);
    titulos->setHighlightSections(false);
    titulos->setSectionsMovable(false);
    titulos->setSectionResizeMode(QHeaderView::Fixed);
    titulos->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette paleta = vista.palette();
    paleta.setColor(QPalette::Base, colores.fondo);
    paleta.setColor(QPalette::AlternateBase, colores.filasAlternas);
    vista.setPalette(paleta);
    titulos->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; font-weight: bold; "
                                          "padding-left: 2px; border: 0px; border-right: 1px solid gray; "
                                          "border-bottom: 1px solid gray; }")
                               .arg(colores.titulos.name()));
}

} // namespace

RejillaDatos::RejillaDatos(ModeloTabla& modelo, int columnasFijas, QWidget* padre, ColoresRejilla colores)
    : QTableView(padre), modelo_(modelo), columnasFijas_(columnasFijas), fija_(new QTableView(this)),
      avisos_(&Avisos::DelSistema())
{
    PrepararVista(*this, colores);
    setModel(&modelo_);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    PrepararVista(*fija_, colores);
    fija_->setModel(&modelo_);
    fija_->setSelectionModel(selectionModel());
    fija_->setFocusPolicy(Qt::NoFocus);
    fija_->setFocusProxy(this);
    fija_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fija_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fija_->setFrameShape(QFrame::NoFrame);
    for (int c = columnasFijas_; c < modelo_.columnCount(); ++c)
        fija_->setColumnHidden(c, true);
    viewport()->stackUnder(fija_);

    connect(fija_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, fija_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(&modelo_, &ModeloTabla::FilaActualCambiada, this, &RejillaDatos::SeguirFilaActual);
    connect(&modelo_, &ModeloTabla::GrabacionRechazada, this, &RejillaDatos::MostrarRechazo,
            Qt::QueuedConnection);

    AjustarColumnas();
    SeguirFilaActual(modelo_.FilaActual());
}

void RejillaDatos::AjustarColumnas()
{
    const QFontMetrics datos(font());
    QFont negrita = font();
    negrita.setBold(true);
    const QFontMetrics titulo(negrita);
    const auto& columnas = modelo_.Columnas();
    for (int c = 0; c < static_cast<int>(columnas.size()); ++c) {
        const auto& columna = columnas[static_cast<std::size_t>(c)];
        const int ancho = std::max(datos.horizontalAdvance(QLatin1Char('0')) * columna.ancho,
                                   titulo.horizontalAdvance(columna.titulo)) +
                          8;
        setColumnWidth(c, ancho);
        fija_->setColumnWidth(c, ancho);
    }
    const int alto = 2 * titulo.lineSpacing() + 6; // the title row: two lines
    horizontalHeader()->setFixedHeight(alto);
    fija_->horizontalHeader()->setFixedHeight(alto);
    const int fila = datos.lineSpacing() + 6;
    verticalHeader()->setDefaultSectionSize(fila);
    fija_->verticalHeader()->setDefaultSectionSize(fila);
    ColocarVistaFija();
}

void RejillaDatos::CerrarEditor(bool conservar)
{
    if (state() != EditingState)
        return;
    for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible())
            continue;
        if (conservar)
            commitData(editor);
        closeEditor(editor,
                    conservar ? QAbstractItemDelegate::NoHint : QAbstractItemDelegate::RevertModelCache);
    }
}

int RejillaDatos::AnchoFijo() const
{
    int ancho = 0;
    for (int c = 0; c < columnasFijas_ && c < modelo_.columnCount(); ++c)
        ancho += columnWidth(c);
    return ancho;
}

int RejillaDatos::AnchoNecesario() const
{
    int ancho = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < modelo_.columnCount(); ++c)
        ancho += columnWidth(c);
    return ancho;
}

void RejillaDatos::ColocarVistaFija()
{
    fija_->setGeometry(frameWidth(), frameWidth(), AnchoFijo(),
                       viewport()->height() + horizontalHeader()->height());
}

void RejillaDatos::resizeEvent(QResizeEvent* evento)
{
    QTableView::resizeEvent(evento);
    ColocarVistaFija();
}

void RejillaDatos::changeEvent(QEvent* evento)
{
    QTableView::changeEvent(evento);
    if (evento->type() == QEvent::FontChange)
        AjustarColumnas();
}

// A column scrolled under the fixed ones is brought back into sight.
void RejillaDatos::scrollTo(const QModelIndex& indice, ScrollHint pista)
{
    if (indice.column() >= columnasFijas_) {
        QTableView::scrollTo(indice, pista);
        const int izquierda = visualRect(indice).left();
        if (izquierda < AnchoFijo())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + izquierda - AnchoFijo());
    } else {
        // Only the row: the fixed columns are always in sight.
        QTableView::scrollTo(modelo_.index(indice.row(), std::min(columnasFijas_, modelo_.columnCount() - 1)),
                             pista);
    }
}

// Tab and Shift+Tab go to the next or previous editable cell, row after row.
QModelIndex RejillaDatos::moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores)
{
    if (accion != MoveNext && accion != MovePrevious)
        return QTableView::moveCursor(accion, modificadores);
    const QModelIndex actual = currentIndex();
    const int columnas = modelo_.columnCount();
    const int filas = modelo_.rowCount();
    int fila = actual.isValid() ? actual.row() : 0;
    int columna = actual.isValid() ? actual.column() : -1;
    for (int paso = 0; paso < 2 * columnas; ++paso) {
        columna += accion == MoveNext ? 1 : -1;
        if (columna >= columnas) {
            columna = 0;
            ++fila;
        } else if (columna < 0) {
            columna = columnas - 1;
            --fila;
        }
        if (fila < 0 || fila >= filas)
            return actual;
        const QModelIndex candidato = modelo_.index(fila, columna);
        if (modelo_.flags(candidato) & Qt::ItemIsEditable)
            return candidato;
    }
    return QTableView::moveCursor(accion, modificadores);
}

void RejillaDatos::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        const QModelIndex siguiente = moveCursor(MoveNext, evento->modifiers());
        if (siguiente.isValid())
            setCurrentIndex(siguiente);
        evento->accept();
        return;
    }
    QTableView::keyPressEvent(evento);
}

// A cell editor opened puts its row into editing, so that the navigator
// offers post and cancel while the person types.
bool RejillaDatos::edit(const QModelIndex& indice, EditTrigger disparador, QEvent* evento)
{
    if (!QTableView::edit(indice, disparador, evento))
        return false;
    if (indice.row() == modelo_.FilaActual())
        modelo_.Editar();
    return true;
}

void RejillaDatos::currentChanged(const QModelIndex& actual, const QModelIndex& anterior)
{
    QTableView::currentChanged(actual, anterior); // hands an open editor's text to the model
    fija_->viewport()->update();
    if (siguiendo_ || !actual.isValid() || actual.row() == modelo_.FilaActual())
        return;
    if (!modelo_.IrAFila(actual.row())) {
        // Refused: MostrarRechazo brings the index back to the row kept.
        return;
    }
}

void RejillaDatos::SeguirFilaActual(int fila)
{
    if (fila < 0 || (currentIndex().isValid() && currentIndex().row() == fila))
        return;
    const int columna = currentIndex().isValid() ? currentIndex().column() : columnasFijas_;
    siguiendo_ = true;
    setCurrentIndex(modelo_.index(fila, std::min(columna, modelo_.columnCount() - 1)));
    siguiendo_ = false;
}

void RejillaDatos::MostrarRechazo(int fila, int columna, const QString& mensaje)
{
    const int destino = columna >= 0 ? columna : std::max(currentIndex().column(), 0);
    const QModelIndex celda = modelo_.index(fila, destino);
    siguiendo_ = true;
    setCurrentIndex(celda);
    siguiendo_ = false;
    setFocus(Qt::OtherFocusReason);
    if (modelo_.flags(celda) & Qt::ItemIsEditable)
        edit(celda);
    MostrarError(*avisos_, window(), mensaje);
}

} // namespace durlavex::ui
