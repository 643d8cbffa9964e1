#pragma once
// Whether the texts of a window are drawn whole: every visible label and
// button is checked against the metrics of the font it was given, so the
// check holds whatever fonts the machine has, and says which text is cut and
// by how much.

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QStringList>
#include <QStyle>
#include <QWidget>

#include "ui/etiqueta_una_linea.h"

namespace durlavex::pruebas {

inline QString Nombre(const QWidget* w)
{
    return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName()) +
           QStringLiteral(" «") +
           (qobject_cast<const QLabel*>(w) ? qobject_cast<const QLabel*>(w)->text()
                                           : qobject_cast<const QAbstractButton*>(w)->text()) +
           QStringLiteral("»");
}

// Empty when the label's text fits; otherwise what is missing.
inline QString TextoDeEtiquetaQueNoCabe(const QLabel* l)
{
    if (l->text().isEmpty() || l->textFormat() == Qt::RichText || Qt::mightBeRichText(l->text()))
        return {};
    const QRect caja = l->contentsRect();
    const QFontMetrics m = l->fontMetrics();
    // A label with a buddy draws its "&" as the underline of the next letter.
    QString texto = l->text();
    if (l->buddy())
        texto.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
            .remove(QLatin1Char('&'))
            .replace(QChar(1), QLatin1Char('&'));
    if (l->wordWrap()) {
        const int necesita = l->heightForWidth(l->width());
        if (necesita > l->height())
            return QStringLiteral("%1: necesita %2 px de alto y tiene %3")
                .arg(Nombre(l))
                .arg(necesita)
                .arg(l->height());
        return {};
    }
    const QRect necesita = m.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, texto);
    if (necesita.height() > caja.height())
        return QStringLiteral("%1: necesita %2 px de alto y tiene %3")
            .arg(Nombre(l))
            .arg(necesita.height())
            .arg(caja.height());
    // A one-line label of a text of any length cuts it on purpose and shows it
    // whole in its tooltip.
    if (necesita.width() > caja.width() && !qobject_cast<const ui::EtiquetaUnaLinea*>(l))
        return QStringLiteral("%1: necesita %2 px de ancho y tiene %3")
            .arg(Nombre(l))
            .arg(necesita.width())
            .arg(caja.width());
    return {};
}

// Empty when the button's text and icon fit inside its frame.
inline QString TextoDeBotonQueNoCabe(const QAbstractButton* b)
{
    if (b->text().isEmpty())
        return {};
    QString texto = b->text();
    texto.remove(QLatin1Char('&'));
    const QFontMetrics m = b->fontMetrics();
    // Inside the button's frame the text and the icon beside it.
    const int margen = 2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
    const int icono = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
    const int ancho = m.horizontalAdvance(texto) + icono + margen;
    if (ancho > b->width())
        return QStringLiteral("%1: necesita %2 px de ancho y tiene %3")
            .arg(Nombre(b))
            .arg(ancho)
            .arg(b->width());
    if (m.height() + 4 > b->height())
        return QStringLiteral("%1: necesita %2 px de alto y tiene %3")
            .arg(Nombre(b))
            .arg(m.height() + 4)
            .arg(b->height());
    return {};
}

// Every text of the window that is cut, by its size or by the window's edge.
inline QStringList TextosQueNoCaben(const QWidget& ventana)
{
    QStringList cortados;
    const QRect dentro = ventana.rect();
    const auto comprobar = [&](const QWidget* w, const QString& problema) {
        if (!problema.isEmpty())
            cortados << problema;
        const QRect donde(w->mapTo(&ventana, QPoint(0, 0)), w->size());
        if (!dentro.contains(donde))
            cortados << Nombre(w) + QStringLiteral(": se sale de la ventana");
    };
    for (const QLabel* l : ventana.findChildren<QLabel*>()) {
        if (l->isVisibleTo(&ventana))
            comprobar(l, TextoDeEtiquetaQueNoCabe(l));
    }
    for (const QAbstractButton* b : ventana.findChildren<QAbstractButton*>()) {
        if (b->isVisibleTo(&ventana))
            comprobar(b, TextoDeBotonQueNoCabe(b));
    }
    return cortados;
}

} // namespace durlavex::pruebas
