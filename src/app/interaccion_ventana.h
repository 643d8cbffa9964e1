#pragma once
// How a run started from the main window meets the person: the two dialogs,
// plain message boxes and the hourglass cursor.

#include "app/entorno_ventana.h"
#include "platform/interaccion.h"
#include "ui/cursor_ocupado.h"

class QWidget;

namespace durlavex {

class InteraccionVentana : public Interaccion {
  public:
    InteraccionVentana(QWidget* ventana, ui::Avisos& avisos, DialogosCorrida dialogos);

    std::string ElegirPlantilla(const std::filesystem::path& archivoXml) override;
    void CompletarProfesores(const std::filesystem::path& directorioTrabajo) override;
    void Mensaje(std::string_view texto) override;
    void Ocupado(bool ocupado) override;

  private:
    QWidget* ventana_;
    ui::Avisos& avisos_;
    DialogosCorrida dialogos_;
    ui::CursorOcupado cursor_;
};

} // namespace durlavex
