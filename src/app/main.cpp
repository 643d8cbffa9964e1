// Durlavex, the desktop program: one main window, run until it has closed.

#include "app/MainForm.h"
#include "app/sesion_grafica.h"
#include "platform/rutas.h"
#include "ui/ayuda.h"
#include "ui/idioma.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    durlavex::ui::FechasEnCastellanoSiLaSesionNoTieneIdioma();
    auto vigilancia = std::make_unique<durlavex::VigilanciaSesionGrafica>();
    QApplication aplicacion(argc, argv);
    vigilancia.reset();
    // The application title of every message box. Set as the application name
    // rather than the display name, which Qt would append to window titles.
    QApplication::setApplicationName(QStringLiteral("Durlavex"));

    // Qt's own dialogs and buttons (the file dialog, OK) in Spanish, as the
    // rest of the program.
    durlavex::ui::TextosDeQtEnCastellano();

    durlavex::ui::Ayuda ayuda(durlavex::ui::VisorAyuda::DelSistema(), durlavex::CarpetaPrograma());
    ayuda.FijarArchivo(QStringLiteral("VORNA.chm"));
    durlavex::ui::TeclaAyuda teclaAyuda(ayuda);
    aplicacion.installEventFilter(&teclaAyuda);

    durlavex::TMForm MForm(durlavex::EntornoVentana::DelSistema(&ayuda));
    // An embedded window's loop does not end with quit(); exit() ends it.
    QObject::connect(&MForm, &durlavex::TMForm::Cerrada, [] { QCoreApplication::exit(0); });
    MForm.show();
    return aplicacion.exec();
}
