#include "ui/etiqueta_una_linea.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace durlavex::ui {

EtiquetaUnaLinea::EtiquetaUnaLinea(const QString& texto, QWidget* padre) : QLabel(texto, padre)
{
    setWordWrap(false);
}

bool EtiquetaUnaLinea::Recortada() const
{
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

// The tooltip is asked for when it is to be shown, so it always matches the
// text and the width of that moment.
bool EtiquetaUnaLinea::event(QEvent* evento)
{
    if (evento->type() == QEvent::ToolTip) {
        if (Recortada())
            QToolTip::showText(static_cast<QHelpEvent*>(evento)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(evento);
}

void EtiquetaUnaLinea::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    const QRect caja = contentsRect();
    const QString mostrado = fontMetrics().elidedText(text(), Qt::ElideRight, caja.width());
    style()->drawItemText(&pintor, caja, static_cast<int>(alignment()), palette(), isEnabled(), mostrado,
                          foregroundRole());
}

} // namespace durlavex::ui
