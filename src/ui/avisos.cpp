#include "ui/avisos.h"

#include "platform/error.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include <algorithm>

namespace durlavex::ui {
namespace {

// A box with a short text ("Proceso finalizado") is narrower than its title
// bar needs, and the window manager cuts the caption ("Du…ex"). The box is
// made wide enough for the caption in the title bar's font, beside the room
// the window manager takes for its icon and buttons.
void AnchoParaElTitulo(QMessageBox& caja)
{
    constexpr int kBotonesDelMarco = 160;
    QFont titulo = QApplication::font("QMdiSubWindowTitleBar");
    titulo.setBold(true);
    const int ancho = QFontMetrics(titulo).horizontalAdvance(caja.windowTitle()) + kBotonesDelMarco;
    if (auto* rejilla = qobject_cast<QGridLayout*>(caja.layout()))
        rejilla->addItem(new QSpacerItem(std::max(ancho, 240), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                         rejilla->rowCount(), 0, 1, rejilla->columnCount());
}

class AvisosDelSistema : public Avisos {
  public:
    void Mensaje(QWidget* padre, const QString& texto) override
    {
        Mostrar(QMessageBox::NoIcon, padre, texto);
    }

    void Error(QWidget* padre, const QString& texto) override
    {
        Mostrar(QMessageBox::Critical, padre, texto);
    }

  private:
    static void Mostrar(QMessageBox::Icon icono, QWidget* padre, const QString& texto)
    {
        QMessageBox caja(icono, QApplication::applicationDisplayName(), texto, QMessageBox::Ok, padre);
        AnchoParaElTitulo(caja);
        caja.exec();
    }
};

} // namespace

Avisos& Avisos::DelSistema()
{
    static AvisosDelSistema avisos;
    return avisos;
}

void MostrarError(Avisos& avisos, QWidget* padre, const QString& textoError)
{
    const std::string texto = TextoCajaError(textoError.toStdString());
    avisos.Error(padre, QString::fromStdString(texto));
}

} // namespace durlavex::ui
