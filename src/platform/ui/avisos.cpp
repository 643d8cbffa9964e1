#include "platform/ui/avisos.h"

#include "platform/error.h"

#include <QApplication>
#include <QMessageBox>

namespace durlavex::ui {
namespace {

class AvisosDelSistema : public Avisos {
public:
    void Mensaje(QWidget* padre, const QString& texto) override
    {
        QMessageBox caja(QMessageBox::NoIcon, QApplication::applicationDisplayName(), texto,
                         QMessageBox::Ok, padre);
        caja.exec();
    }

    void Error(QWidget* padre, const QString& texto) override
    {
        QMessageBox caja(QMessageBox::Critical, QApplication::applicationDisplayName(), texto,
                         QMessageBox::Ok, padre);
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
