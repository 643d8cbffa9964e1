#pragma once
// Starting without a window system. Qt ends the program with abort() and an
// English text ("…Reinstalling the application may fix this problem.") when
// it reaches no display; the person should rather read, in Spanish, that the
// desktop program needs a graphical session and that durlavex-cli works
// without one, and the shell should see exit status 1.

#include <QByteArray>

namespace durlavex {

// Watches the creation of the QApplication: while it lives, the window
// system's messages are held back, and a failure to open any display ends the
// program with the Spanish message and status 1. Once the application stands,
// the messages held back are passed on and Qt's own handler is back.
class VigilanciaSesionGrafica {
  public:
    VigilanciaSesionGrafica();
    ~VigilanciaSesionGrafica();
    VigilanciaSesionGrafica(const VigilanciaSesionGrafica&) = delete;
    VigilanciaSesionGrafica& operator=(const VigilanciaSesionGrafica&) = delete;
};

// The text shown when no display could be opened; it names the display asked
// for ($DISPLAY, $WAYLAND_DISPLAY) and points to durlavex-cli.
QByteArray TextoSinSesionGrafica();

} // namespace durlavex
