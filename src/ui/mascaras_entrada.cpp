#include "ui/mascaras_entrada.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace durlavex::ui {
namespace {

// "#" → [0-9] (ASCII digits only: \d would take other scripts' digits too),
// "*X" → (X)*, anything else literally.
QString ExpresionDeMascara(const std::string& mascara)
{
    QString patron;
    bool repetir = false;
    for (char c : mascara) {
        if (c == '*') {
            repetir = true;
            continue;
        }
        patron +=
            c == '#' ? QStringLiteral("[0-9]") : QRegularExpression::escape(QString(QChar::fromLatin1(c)));
        if (repetir)
            patron += QLatin1Char('*');
        repetir = false;
    }
    return patron;
}

// Qt's input-mask notation: "9" one digit, other characters escaped.
QString MascaraQt(const std::string& mascara)
{
    QString resultado;
    for (char c : mascara) {
        if (c == '#') {
            resultado += QLatin1Char('9');
        } else {
            if (QStringLiteral("AaNnXx9D0dHhBb#>!<\\[]{}").contains(QChar::fromLatin1(c)))
                resultado += QLatin1Char('\\');
            resultado += QChar::fromLatin1(c);
        }
    }
    return resultado;
}

bool TieneRepeticion(const std::string& mascara)
{
    return mascara.find('*') != std::string::npos;
}

} // namespace

void AplicarMascara(QLineEdit& editor, const std::string& mascara, int longitud)
{
    if (longitud > 0)
        editor.setMaxLength(longitud);
    if (mascara.empty())
        return;
    if (TieneRepeticion(mascara)) {
        const QRegularExpression expresion(ExpresionDeMascara(mascara));
        editor.setValidator(new QRegularExpressionValidator(expresion, &editor));
    } else {
        editor.setInputMask(MascaraQt(mascara));
    }
}

QString ValorEditado(const QLineEdit& editor, const std::string& mascara)
{
    const QString texto = editor.text();
    if (TieneRepeticion(mascara))
        return texto;
    const auto literal = [&mascara](QChar c) {
        return c != QLatin1Char('#') && c.unicode() < 0x80 &&
               mascara.find(static_cast<char>(c.unicode())) != std::string::npos;
    };
    return std::all_of(texto.begin(), texto.end(), literal) ? QString() : texto;
}

QString ExplicacionMascara(const std::string& mascara)
{
    if (mascara == "#*#")
        return QStringLiteral("escriba solo cifras, al menos una");
    if (mascara == "##/##/####")
        return QStringLiteral("escriba la fecha completa con la forma dd/mm/aaaa");
    QString forma = QString::fromLatin1(mascara.c_str());
    forma.replace(QLatin1Char('#'), QLatin1Char('9'));
    return QStringLiteral("escríbalo con la forma %1 (9 es una cifra)").arg(forma);
}

} // namespace durlavex::ui
