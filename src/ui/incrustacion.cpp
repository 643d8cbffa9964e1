#include "ui/incrustacion.h"

#include <QGuiApplication>
#include <QWindow>

#include <utility>

#ifdef _WIN32
#include "ui/ventana_propia_windows.h"

#include <windows.h>
#elif defined(DURLAVEX_CON_XCB)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace durlavex::ui {
namespace {

class VentanasDelSistema : public VentanasAnfitrion {
  public:
    bool Existe(WId ventana) override
    {
#ifdef _WIN32
        return IsWindow(reinterpret_cast<HWND>(ventana)) != FALSE;
#elif defined(DURLAVEX_CON_XCB)
        auto* x11 =
            qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (x11 == nullptr || x11->connection() == nullptr)
            return true;
        xcb_connection_t* conexion = x11->connection();
        const auto peticion = xcb_get_window_attributes(conexion, static_cast<xcb_window_t>(ventana));
        xcb_generic_error_t* error = nullptr;
        xcb_get_window_attributes_reply_t* respuesta =
            xcb_get_window_attributes_reply(conexion, peticion, &error);
        const bool existe = respuesta != nullptr;
        std::free(respuesta);
        std::free(error);
        return existe;
#else
        (void)ventana;
        return true;
#endif
    }

    void Incrustar(QWidget* ventana, WId anfitrion) override
    {
#ifdef _WIN32
        if (FormaIncrustacionDelSistema() == FormaIncrustacion::Propia) {
            IncrustarComoPropia(ventana, anfitrion);
            return;
        }
#endif
        ventana->winId(); // the native window must exist before it is re-parented
        QWindow* ventanaAnfitrion = QWindow::fromWinId(anfitrion);
        if (ventanaAnfitrion == nullptr || ventana->windowHandle() == nullptr)
            return;
        // Owned by the embedded window, so that it goes with it.
        ventanaAnfitrion->setParent(nullptr);
        ventana->windowHandle()->setParent(ventanaAnfitrion);
        QObject::connect(ventana, &QObject::destroyed, ventanaAnfitrion, &QObject::deleteLater);
    }
};

} // namespace

VentanasAnfitrion& VentanasAnfitrion::DelSistema()
{
    static VentanasDelSistema ventanas;
    return ventanas;
}

VigilanteAnfitrion::VigilanteAnfitrion(VentanasAnfitrion& ventanas, WId anfitrion,
                                       std::function<void()> alDesaparecer, QObject* padre)
    : QObject(padre), ventanas_(ventanas), anfitrion_(anfitrion), alDesaparecer_(std::move(alDesaparecer))
{
    connect(&reloj_, &QTimer::timeout, this, &VigilanteAnfitrion::Comprobar);
    reloj_.start(kIntervaloMs);
}

void VigilanteAnfitrion::Comprobar()
{
    if (ventanas_.Existe(anfitrion_))
        return;
    reloj_.stop();
    if (alDesaparecer_)
        alDesaparecer_();
}

} // namespace durlavex::ui
