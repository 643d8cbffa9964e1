#include "ui/idioma.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace durlavex::ui {
namespace {

bool SinIdioma(const char* variable)
{
    const QByteArray valor = qgetenv(variable);
    return valor.isEmpty() || valor == "C" || valor == "POSIX" || valor.startsWith("C.");
}

} // namespace

void FechasEnCastellanoSiLaSesionNoTieneIdioma()
{
    // LC_ALL, when set, rules over LC_TIME: then the session's choice stands.
    if (qgetenv("LC_ALL").isEmpty() && SinIdioma("LC_TIME") && SinIdioma("LANG"))
        qputenv("LC_TIME", "es_ES.UTF-8");
}

bool TextosDeQtEnCastellano()
{
    const QLocale espanol(QLocale::Spanish, QLocale::Spain);
    QLocale::setDefault(espanol);
    auto* traduccion = new QTranslator(QCoreApplication::instance());
    if (!traduccion->load(espanol, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduccion;
        return false;
    }
    QCoreApplication::installTranslator(traduccion);
    return true;
}

} // namespace durlavex::ui
