#pragma once
// The cell editor of the data grid: a line edit with its column's picture
// mask. Tab, Enter and leaving the cell always hand the typed text to the
// model, complete or not, so that a half-typed value is refused where the row
// is saved (with a message) instead of being dropped without a word.

#include <QStyledItemDelegate>

namespace durlavex::ui {

class DelegadoRejilla : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& opcion,
                          const QModelIndex& indice) const override;
    void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const override;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};

} // namespace durlavex::ui
