#include "app/interaccion_ventana.h"

#include "ui/avisos.h"

#include <QString>

#include <utility>

namespace durlavex {

InteraccionVentana::InteraccionVentana(QWidget* ventana, ui::Avisos& avisos, DialogosCorrida dialogos)
    : ventana_(ventana), avisos_(avisos), dialogos_(std::move(dialogos))
{
}

// A dialog or a box waits for the person: the normal cursor over it, since the
// hourglass would tell them that they cannot answer.
std::string InteraccionVentana::ElegirPlantilla(const std::filesystem::path& archivoXml)
{
    ui::PausaCursorOcupado pausa(cursor_);
    return dialogos_.elegirPlantilla(ventana_, archivoXml);
}

void InteraccionVentana::CompletarProfesores(const std::filesystem::path& directorioTrabajo)
{
    ui::PausaCursorOcupado pausa(cursor_);
    dialogos_.completarProfesores(ventana_, directorioTrabajo);
}

void InteraccionVentana::Mensaje(std::string_view texto)
{
    ui::PausaCursorOcupado pausa(cursor_);
    avisos_.Mensaje(ventana_, QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size())));
}

void InteraccionVentana::Ocupado(bool ocupado)
{
    cursor_.Fijar(ocupado);
}

} // namespace durlavex
