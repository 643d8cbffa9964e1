#pragma once
// A one-line label for a text of any length in a space of fixed width: a text
// that does not fit ends in "…", and its tooltip shows it whole. text() is
// always the whole text.

#include <QLabel>

namespace durlavex::ui {

class EtiquetaUnaLinea : public QLabel {
    Q_OBJECT

  public:
    explicit EtiquetaUnaLinea(const QString& texto, QWidget* padre = nullptr);

    // The text does not fit in the label's width and is shown cut.
    bool Recortada() const;

  protected:
    bool event(QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;
};

} // namespace durlavex::ui
