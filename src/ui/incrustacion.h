#pragma once
// Showing a window inside a foreign window given by its handle (the host's
// window when Talvorin starts the program), and noticing when that window
// has gone.

#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace durlavex::ui {

// The window system behind the embedding, a seam so that tests run on a
// platform without foreign windows.
class VentanasAnfitrion {
  public:
    virtual ~VentanasAnfitrion() = default;

    // True while a window with this handle exists. When the window system
    // cannot tell (no X11 connection), assumed true.
    virtual bool Existe(WId ventana) = 0;

    // Makes `ventana` a child of the foreign window `anfitrion`; under Wine a
    // window owned by it and laid over it (ventana_propia_windows.h).
    virtual void Incrustar(QWidget* ventana, WId anfitrion) = 0;

    // X11: xcb_get_window_attributes on the application's connection;
    // Windows: IsWindow. The embedding through QWindow::fromWinId.
    static VentanasAnfitrion& DelSistema();
};

// Checks every half second that the host window still exists and calls
// `alDesaparecer` once when it does not, so that the embedded program does
// not live on invisibly after its host has gone.
class VigilanteAnfitrion : public QObject {
  public:
    static constexpr int kIntervaloMs = 500;

    VigilanteAnfitrion(VentanasAnfitrion& ventanas, WId anfitrion, std::function<void()> alDesaparecer,
                       QObject* padre = nullptr);
    void Detener() { reloj_.stop(); }

    // One check now (the timer calls it).
    void Comprobar();

  private:
    VentanasAnfitrion& ventanas_;
    WId anfitrion_;
    std::function<void()> alDesaparecer_;
    QTimer reloj_;
};

} // namespace durlavex::ui
