#include "ui/fuentes.h"

#include <QStringList>

#include <mutex>

namespace durlavex::ui {
namespace {

// Qt takes a substitute only when the named family is missing.
void RegistrarSustitutos()
{
    static std::once_flag hecho;
    std::call_once(hecho, [] {
        const QStringList metricasArial = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
        QFont::insertSubstitutions(QStringLiteral("Arial"), metricasArial);
        QFont::insertSubstitutions(
            QStringLiteral("MS Sans Serif"),
            QStringList{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial")} + metricasArial);
    });
}

} // namespace

QFont ArialNegrita(int pixeles)
{
    RegistrarSustitutos();
    QFont letra(QStringLiteral("Arial"));
    letra.setPixelSize(pixeles);
    letra.setBold(true);
    return letra;
}

QFont ArialNegritaPuntos(int puntos)
{
    RegistrarSustitutos();
    QFont letra(QStringLiteral("Arial"), puntos);
    letra.setBold(true);
    return letra;
}

QFont SansSerifClasica()
{
    RegistrarSustitutos();
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

} // namespace durlavex::ui
