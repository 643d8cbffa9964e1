#pragma once
// Driving a real modal dialog from a test: exec() blocks, so the script runs
// from the event loop once the dialog is the active modal window (and so has
// the keyboard). When none comes within ten seconds, whatever modal dialog
// there is gets rejected so exec() cannot hang, and `agotado` tells the test.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <utility>

namespace durlavex::pruebas {

template <class Dialogo> class GuionModal {
  public:
    explicit GuionModal(std::function<void(Dialogo&)> guion) : guion_(std::move(guion))
    {
        reloj_.start();
        QTimer::singleShot(20, [this] { Mirar(); });
    }
    bool hecho = false;
    bool agotado = false;

  private:
    void Mirar()
    {
        auto* d = qobject_cast<Dialogo*>(QApplication::activeModalWidget());
        // An X server without a window manager activates nothing by itself.
        if (d && d->isVisible() && !d->isActiveWindow())
            d->activateWindow();
        if (d && d->isActiveWindow()) {
            hecho = true;
            guion_(*d);
            return;
        }
        if (reloj_.elapsed() > 10000) {
            agotado = true;
            if (auto* otro = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                otro->reject();
            return;
        }
        QTimer::singleShot(20, [this] { Mirar(); });
    }
    std::function<void(Dialogo&)> guion_;
    QElapsedTimer reloj_;
};

} // namespace durlavex::pruebas
