#pragma once
// A window's control found by its object name, the name the window gives it
// ("BExportar", "ComboBoxPlantilla"): the windows keep their controls private,
// and tests reach them by those names.
//
//   QTest::mouseClick(Control<QPushButton>(ventana, "BExportar"), Qt::LeftButton);
//
// No control of that name, more than one, or one of another kind ends the
// test at once with a message that names the window and the control, so a
// lookup never hands back a null pointer to crash on later.

#include <QObject>
#include <QString>

namespace durlavex::pruebas {

template <class T> T* Control(const QObject& ventana, const char* nombre)
{
    const QString n = QString::fromLatin1(nombre);
    const QList<T*> delTipo = ventana.findChildren<T*>(n);
    if (delTipo.size() != 1) {
        const QList<QObject*> todos = ventana.findChildren<QObject*>(n);
        const QString donde =
            QStringLiteral("«%1» (%2)")
                .arg(ventana.objectName(), QString::fromLatin1(ventana.metaObject()->className()));
        if (todos.isEmpty())
            qFatal("%s no tiene ningún control llamado «%s»", qPrintable(donde), nombre);
        if (delTipo.isEmpty())
            qFatal("El control «%s» de %s es un %s, no un %s", nombre, qPrintable(donde),
                   todos.front()->metaObject()->className(), T::staticMetaObject.className());
        qFatal("%s tiene %lld controles llamados «%s»", qPrintable(donde),
               static_cast<long long>(delTipo.size()), nombre);
    }
    return delTipo.front();
}

} // namespace durlavex::pruebas
