#pragma once
// The person at a console, for the runs of durlavex-cli.
//
// Steps are printed as they begin; plain messages go to the stream given
// (standard output unless the command wants them elsewhere). There are no
// dialogs: the template is the one the command line named, and teacher data
// cannot be completed here, so that request does nothing and the run decides
// what a teacher still incomplete means.

#include <iostream>
#include <ostream>
#include <string>

#include "platform/interaccion.h"

namespace durlavex::cli {

class InteraccionConsola : public Interaccion {
  public:
    explicit InteraccionConsola(std::ostream& pasos = std::cout, std::ostream& mensajes = std::cout)
        : pasos_(pasos), mensajes_(mensajes)
    {
    }

    // The answer to ElegirPlantilla (single-byte text, as the file's codes).
    void FijarPlantilla(std::string codigo) { plantilla_ = std::move(codigo); }

    std::string ElegirPlantilla(const std::filesystem::path& archivoXml) override;
    void CompletarProfesores(const std::filesystem::path& directorioTrabajo) override;
    void Mensaje(std::string_view texto) override;
    void Ocupado(bool ocupado) override;
    void Paso(std::string_view descripcion) override;

  private:
    std::ostream& pasos_;
    std::ostream& mensajes_;
    std::string plantilla_;
};

} // namespace durlavex::cli
