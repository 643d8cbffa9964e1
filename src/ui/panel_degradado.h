#pragma once
// A panel filled with a three-colour gradient (start, middle, end), the
// background on which every window of the program lays out its controls.

#include <QColor>
#include <QWidget>

namespace durlavex::ui {

class PanelDegradado : public QWidget {
    Q_OBJECT

  public:
    PanelDegradado(QColor inicio, QColor medio, QColor fin, QWidget* padre = nullptr);

    QColor Inicio() const { return inicio_; }
    QColor Medio() const { return medio_; }
    QColor Fin() const { return fin_; }

  protected:
    void paintEvent(QPaintEvent* evento) override;

  private:
    QColor inicio_;
    QColor medio_;
    QColor fin_;
};

} // namespace durlavex::ui
