#include "ui/ventana_propia_windows.h"

#ifdef _WIN32

#include <QEvent>
#include <QString>

#include <windows.h>

namespace durlavex::ui {

bool BajoWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

FormaIncrustacion FormaIncrustacionDelSistema()
{
    const QString elegida = qEnvironmentVariable("DURLAVEX_INCRUSTACION").trimmed().toLower();
    if (elegida == QStringLiteral("hija"))
        return FormaIncrustacion::Hija;
    if (elegida == QStringLiteral("propia"))
        return FormaIncrustacion::Propia;
    return BajoWine() ? FormaIncrustacion::Propia : FormaIncrustacion::Hija;
}

void IncrustarComoPropia(QWidget* ventana, WId anfitrion)
{
    ventana->winId(); // the native window must exist before it gets an owner
    auto* seguidor = new SeguidorAnfitrion(ventana, anfitrion);
    seguidor->Seguir();
}

SeguidorAnfitrion::SeguidorAnfitrion(QWidget* ventana, WId anfitrion)
    : QObject(ventana), ventana_(ventana), anfitrion_(anfitrion)
{
    ventana_->installEventFilter(this);
    connect(&reloj_, &QTimer::timeout, this, &SeguidorAnfitrion::Seguir);
    reloj_.start(kIntervaloMs);
}

bool SeguidorAnfitrion::eventFilter(QObject* objeto, QEvent* evento)
{
    // Qt sends the show event before the native window appears: placed now,
    // it never shows at the position it had as a window of its own.
    if (objeto == ventana_ && evento->type() == QEvent::Show)
        Seguir();
    return false;
}

void SeguidorAnfitrion::Seguir()
{
    const auto anfitrion = reinterpret_cast<HWND>(anfitrion_);
    // A host that has gone is the watchdog's to notice; a minimised one hides
    // its owned windows itself, and its client corner means nothing.
    if (!IsWindow(anfitrion) || IsIconic(anfitrion))
        return;
    const auto propia = reinterpret_cast<HWND>(ventana_->winId());
    if (GetWindow(propia, GW_OWNER) != anfitrion)
        SetWindowLongPtrW(propia, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(anfitrion));
    POINT esquina{0, 0};
    RECT actual{};
    if (!ClientToScreen(anfitrion, &esquina) || !GetWindowRect(propia, &actual))
        return;
    if (actual.left != esquina.x || actual.top != esquina.y)
        SetWindowPos(propia, nullptr, esquina.x, esquina.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace durlavex::ui

#endif
