#pragma once
// Windows: the two ways the main window shows itself inside the host's window.
//
// On Windows it becomes a child of the host's window (SetParent, through Qt).
// Under Wine, as Debian 12 ships it, a window placed inside a window of
// another process is never painted: there it becomes instead a borderless
// window owned by the host's window, laid over the host's client area and
// kept there while the host moves. An owned window stays above its owner,
// hides with it and has no taskbar button of its own, so to the person it
// looks as the child would.

#ifdef _WIN32

#include <QObject>
#include <QTimer>
#include <QWidget>

namespace durlavex::ui {

enum class FormaIncrustacion { Hija, Propia };

// True when the program runs under Wine (ntdll exports wine_get_version).
bool BajoWine();

// Hija on Windows, Propia under Wine. The environment variable
// DURLAVEX_INCRUSTACION ("hija" or "propia") chooses one, for a Wine that
// paints children (upstream Wine does) or to look at the other form.
FormaIncrustacion FormaIncrustacionDelSistema();

// Makes `ventana` (a top-level window) owned by `anfitrion` and keeps it at
// the top-left corner of the host's client area.
void IncrustarComoPropia(QWidget* ventana, WId anfitrion);

// Follows the host: on every show of the window and every few milliseconds
// it puts the window back at the corner of the host's client area and makes
// sure the host is still its owner (Qt may reset a window's owner when it
// shows it).
class SeguidorAnfitrion : public QObject {
  public:
    static constexpr int kIntervaloMs = 50;

    SeguidorAnfitrion(QWidget* ventana, WId anfitrion);

    // One step now (the timer and every show call it).
    void Seguir();

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    QWidget* ventana_;
    WId anfitrion_;
    QTimer reloj_;
};

} // namespace durlavex::ui

#endif
