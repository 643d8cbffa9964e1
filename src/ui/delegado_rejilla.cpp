#include "ui/delegado_rejilla.h"

#include "ui/mascaras_entrada.h"
#include "ui/modelo_tabla.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace durlavex::ui {
namespace {

const ColumnaRejilla* Columna(const QModelIndex& indice)
{
    const auto* modelo = qobject_cast<const ModeloTabla*>(indice.model());
    if (!modelo || indice.column() < 0 || indice.column() >= modelo->columnCount())
        return nullptr;
    return &modelo->Columnas()[static_cast<std::size_t>(indice.column())];
}

} // namespace

QWidget* DelegadoRejilla::createEditor(QWidget* padre, const QStyleOptionViewItem&,
                                       const QModelIndex& indice) const
{
    auto* editor = new QLineEdit(padre);
    editor->setFrame(false);
    if (const ColumnaRejilla* c = Columna(indice))
        AplicarMascara(*editor, c->mascara, c->longitud);
    return editor;
}

void DelegadoRejilla::setEditorData(QWidget* editor, const QModelIndex& indice) const
{
    auto* linea = qobject_cast<QLineEdit*>(editor);
    if (!linea)
        return QStyledItemDelegate::setEditorData(editor, indice);
    linea->setText(indice.data(Qt::EditRole).toString());
    linea->setCursorPosition(0);
}

void DelegadoRejilla::setModelData(QWidget* editor, QAbstractItemModel* modelo,
                                   const QModelIndex& indice) const
{
    auto* linea = qobject_cast<QLineEdit*>(editor);
    if (!linea)
        return QStyledItemDelegate::setModelData(editor, modelo, indice);
    const ColumnaRejilla* c = Columna(indice);
    modelo->setData(indice, ValorEditado(*linea, c ? c->mascara : std::string()), Qt::EditRole);
}

// Qt's own filter keeps the editor open on Tab, and closes it without a word
// on leaving, while a masked value is incomplete; here the text always goes
// to the model, and Enter moves on like Tab.
bool DelegadoRejilla::eventFilter(QObject* objeto, QEvent* evento)
{
    auto* editor = qobject_cast<QWidget*>(objeto);
    if (!editor)
        return QStyledItemDelegate::eventFilter(objeto, evento);
    if (evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        const bool atras = tecla->key() == Qt::Key_Backtab ||
                           (tecla->key() == Qt::Key_Tab && (tecla->modifiers() & Qt::ShiftModifier));
        switch (tecla->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit commitData(editor);
            emit closeEditor(editor, atras ? EditPreviousItem : EditNextItem);
            return true;
        default:
            break;
        }
    } else if (evento->type() == QEvent::FocusOut) {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (w == editor)
                return false;
        }
        emit commitData(editor);
        emit closeEditor(editor, NoHint);
        return false;
    }
    return QStyledItemDelegate::eventFilter(objeto, evento);
}

} // namespace durlavex::ui
