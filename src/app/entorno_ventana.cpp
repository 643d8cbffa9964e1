#include "app/entorno_ventana.h"

#include "export/dialogos/Plantihoras.h"
#include "import/dialogos/AvisoClaves.h"
#include "import/dialogos/ControlProfes.h"
#include "platform/rutas.h"
#include "ui/avisos.h"
#include "ui/dialogo_archivo.h"
#include "ui/incrustacion.h"

#include <QCoreApplication>

namespace durlavex {

DialogosCorrida DialogosCorrida::DelSistema()
{
    return {&ElegirPlantillaConDialogo, &CompletarProfesoresConDialogo, &MostrarAvisoClaves};
}

EntornoVentana EntornoVentana::DelSistema(ui::Ayuda* ayuda)
{
    EntornoVentana entorno;
    entorno.parametros = QCoreApplication::arguments().mid(1);
    entorno.carpetaPrograma = CarpetaPrograma();
    entorno.avisos = &ui::Avisos::DelSistema();
    entorno.dialogoArchivo = &ui::DialogoArchivo::DelSistema();
    entorno.ventanas = &ui::VentanasAnfitrion::DelSistema();
    entorno.ayuda = ayuda;
    entorno.dialogos = DialogosCorrida::DelSistema();
    return entorno;
}

} // namespace durlavex
