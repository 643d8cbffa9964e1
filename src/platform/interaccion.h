#pragma once
// The one seam through which a run meets a person.
//
// The core never shows anything itself. The desktop program answers with its
// dialogs, message boxes and the busy cursor; the command line with its
// options and standard output; tests with scripted fakes that record what
// was shown.

#include <filesystem>
#include <string>
#include <string_view>

namespace durlavex {

class Interaccion {
  public:
    virtual ~Interaccion() = default;

    // The exchange file holds more than one school-day template: the person
    // picks one. Returns the chosen code trimmed at both ends (the hour-template
    // dialog reads the file itself, hence the path). Single-byte text.
    virtual std::string ElegirPlantilla(const std::filesystem::path& archivoXml) = 0;

    // Some teacher of PROFT lacks X_EMPLEADO or F_TOMAPOS: let the person
    // complete PROFT.DBF in the working directory. Shown at most once a run.
    virtual void CompletarProfesores(const std::filesystem::path& directorioTrabajo) = 0;

    // A plain message with one OK button (UTF-8); the run waits for it.
    virtual void Mensaje(std::string_view texto) = 0;

    // Busy indication on (the hourglass) or off.
    virtual void Ocupado(bool ocupado) = 0;

    // A step of a run begins (UTF-8): progress on long work.
    virtual void Paso(std::string_view descripcion) { (void)descripcion; }
};

} // namespace durlavex
