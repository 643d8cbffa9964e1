#pragma once
// Everything the main window reaches outside itself: the command line, the
// folders, and the seams through which it meets the person and the window
// system. The program passes the real ones; tests pass scripted ones.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>

namespace durlavex::ui {
class Avisos;
class Ayuda;
class DialogoArchivo;
class VentanasAnfitrion;
} // namespace durlavex::ui

namespace durlavex {

// The dialogs a run may open, owned by the main window.
struct DialogosCorrida {
    std::function<std::string(QWidget*, const std::filesystem::path&)> elegirPlantilla;
    std::function<void(QWidget*, const std::filesystem::path&)> completarProfesores;
    // After an import, the report of the lessons Vorna will not recognise;
    // called only when there is something in it. Empty: not shown.
    std::function<void(QWidget*, const QString&)> avisarClaves;

    // The hour-template dialog, the teacher-data dialog and the key report.
    static DialogosCorrida DelSistema();
};

struct EntornoVentana {
    QStringList parametros;                       // the words after the program's path
    std::filesystem::path carpetaPrograma;        // NIVELCAN.DBF, Talvorin.ini
    std::filesystem::path directorioTrabajo;      // empty: Talvorin's, looked up at each run
    ui::Avisos* avisos = nullptr;                 // message and error boxes
    ui::DialogoArchivo* dialogoArchivo = nullptr; // OpenDialogXML
    ui::VentanasAnfitrion* ventanas = nullptr;    // the host's window
    ui::Ayuda* ayuda = nullptr;                   // null: help does nothing
    DialogosCorrida dialogos;

    // The running program's: its command line, its folder, the real boxes,
    // dialogs and window system, and the application's help.
    static EntornoVentana DelSistema(ui::Ayuda* ayuda);
};

} // namespace durlavex
