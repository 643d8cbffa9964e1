#pragma once
// A Qt table model over a table handle: the rows of the table in its order,
// the columns a list of fields. The handle's current row is the model's
// current row; the row being edited reads and writes through the handle, the
// others come from a copy read once when the model loads or refreshes.
//
// Every save goes through Grabar: a value that does not fit its column's
// picture mask, or a date column's value that names no day of the calendar
// (31/02/2020), is refused before the table sees it, and GrabacionRechazada
// names the row and column so a view can take the person there.

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <vector>

#include "platform/texto_ansi.h"

namespace durlavex {
class Tabla;
}

namespace durlavex::ui {

struct ColumnaRejilla {
    std::string campo; // the field's name
    QString titulo;    // the column's title
    int ancho = 10;    // display width in characters
    bool editable = false;
    std::string mascara; // picture mask ("" none)
    int longitud = 0;    // most characters a typed value may have (0 no limit)
    bool fecha = false;  // a date dd/mm/aaaa, which must be a day of the calendar
};

class ModeloTabla : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `tabla` is open and outlives the model.
    ModeloTabla(Tabla& tabla, std::vector<ColumnaRejilla> columnas, QObject* padre = nullptr);

    const std::vector<ColumnaRejilla>& Columnas() const { return columnas_; }

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    // Writing a cell puts its row into editing first (moving there if needed).
    bool setData(const QModelIndex& indice, const QVariant& valor, int rol = Qt::EditRole) override;

    int FilaActual() const;
    bool EnEdicion() const;
    bool AlPrincipio() const { return FilaActual() <= 0; }
    bool AlFinal() const { return FilaActual() >= rowCount() - 1; }

    // Moves to a row (clamped to the table), saving the row being edited
    // first. False, staying put, when that save was refused.
    bool IrAFila(int fila);
    bool Mover(int filas) { return IrAFila(FilaActual() + filas); }

    void Editar();    // the current row into editing (nothing when it already is)
    bool Grabar();    // saves the row being edited; false when refused
    void Cancelar();  // drops the changes of the row being edited
    void Refrescar(); // reads the table again (the row being edited is saved first)

  signals:
    void FilaActualCambiada(int fila);
    void EstadoCambiado();
    // A save, a value or a refresh the table refused; `columna` is -1 when no
    // one column is at fault. `mensaje` says what and where.
    void GrabacionRechazada(int fila, int columna, const QString& mensaje);

  private:
    void Cargar();
    QString Texto(int fila, int columna) const;
    void AvisarFila(int fila);

    Tabla& tabla_;
    std::vector<ColumnaRejilla> columnas_;
    std::vector<std::vector<TextoAnsi>> filas_; // as last read
};

} // namespace durlavex::ui
