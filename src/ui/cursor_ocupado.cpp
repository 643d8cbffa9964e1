#include "ui/cursor_ocupado.h"

#include <QApplication>
#include <QCursor>

namespace durlavex::ui {

void CursorOcupado::Fijar(bool ocupado)
{
    if (ocupado == activo_)
        return;
    activo_ = ocupado;
    if (ocupado)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

} // namespace durlavex::ui
