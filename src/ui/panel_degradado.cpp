#include "ui/panel_degradado.h"

#include <QLinearGradient>
#include <QPainter>

namespace durlavex::ui {

PanelDegradado::PanelDegradado(QColor inicio, QColor medio, QColor fin, QWidget* padre)
    : QWidget(padre), inicio_(inicio), medio_(medio), fin_(fin)
{
}

void PanelDegradado::paintEvent(QPaintEvent*)
{
    // Top to bottom, the middle colour halfway.
    QLinearGradient degradado(0, 0, 0, height());
    degradado.setColorAt(0.0, inicio_);
    degradado.setColorAt(0.5, medio_);
    degradado.setColorAt(1.0, fin_);
    QPainter pintor(this);
    pintor.fillRect(rect(), degradado);
}

} // namespace durlavex::ui
