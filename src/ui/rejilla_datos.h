#pragma once
// The data grid over a ModeloTabla: the first columns stay in view when the
// grid scrolls sideways (a second view laid over the first shows them), Enter
// moves on like Tab, Tab skips the columns that cannot be edited, and clicking
// a title does nothing. Moving to another row saves the row being edited; a
// save refused brings the focus back to the offending cell and shows the
// reason in an error box.

#include <QTableView>

namespace durlavex::ui {

class Avisos;
class ModeloTabla;

struct ColoresRejilla {
    QColor fondo{240, 251, 255};
    QColor titulos{254, 228, 169};
    QColor filasAlternas{207, 217, 254};
};

class RejillaDatos : public QTableView {
    Q_OBJECT
  public:
    // Shows `modelo` with its first `columnasFijas` columns fixed.
    RejillaDatos(ModeloTabla& modelo, int columnasFijas, QWidget* padre = nullptr,
                 ColoresRejilla colores = {});

    using QTableView::edit;

    ModeloTabla& Modelo() const { return modelo_; }
    QTableView& VistaFija() const { return *fija_; }
    // Where refusals are shown (the system's boxes unless a test says otherwise).
    void FijarAvisos(Avisos& avisos) { avisos_ = &avisos; }

    // Closes an open cell editor, handing its text to the model or not.
    void CerrarEditor(bool conservar);

    // The width that shows every column without scrolling sideways.
    int AnchoNecesario() const;

    // Column widths from the display widths in characters, with this font.
    void AjustarColumnas();

  protected:
    bool edit(const QModelIndex& indice, EditTrigger disparador, QEvent* evento) override;
    void currentChanged(const QModelIndex& actual, const QModelIndex& anterior) override;
    QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void scrollTo(const QModelIndex& indice, ScrollHint pista = EnsureVisible) override;
    void changeEvent(QEvent* evento) override;

  private:
    void ColocarVistaFija();
    void SeguirFilaActual(int fila);
    void MostrarRechazo(int fila, int columna, const QString& mensaje);
    int AnchoFijo() const;

    ModeloTabla& modelo_;
    int columnasFijas_;
    QTableView* fija_;
    Avisos* avisos_;
    bool siguiendo_ = false; // the index moves because the model moved
};

} // namespace durlavex::ui
