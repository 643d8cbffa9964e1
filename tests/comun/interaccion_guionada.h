#pragma once
// A person who answers a run in advance and remembers what was shown: the
// stand-in for the dialogs, messages and busy cursor in the export's and the
// import's tests.
//
//   InteraccionGuionada persona;
//   persona.plantilla = "J1"; // the template to pick, when asked
//   ... run ...
//   EXPECT_EQ(persona.ocupado, (std::vector<bool>{true, false}));

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interaccion.h"

namespace durlavex::pruebas {

class InteraccionGuionada : public Interaccion {
  public:
    std::string plantilla;                                         // the answer to ElegirPlantilla
    int plantillasPedidas = 0;                                     // how often ElegirPlantilla was asked
    std::function<void()> alElegir;                                // done while the template is asked for
    int completados = 0;                                           // how often CompletarProfesores was asked
    std::function<void(const std::filesystem::path&)> alCompletar; // what the teacher "dialog" does
    std::vector<std::string> mensajes;                             // every Mensaje text, in order
    std::vector<bool> ocupado;                                     // every Ocupado call, in order
    std::vector<std::string> pasos;                                // every Paso text, in order

    std::string ElegirPlantilla(const std::filesystem::path&) override
    {
        ++plantillasPedidas;
        if (alElegir)
            alElegir();
        return plantilla;
    }
    void CompletarProfesores(const std::filesystem::path& directorioTrabajo) override
    {
        ++completados;
        if (alCompletar)
            alCompletar(directorioTrabajo);
    }
    void Mensaje(std::string_view texto) override { mensajes.emplace_back(texto); }
    void Ocupado(bool valor) override { ocupado.push_back(valor); }
    void Paso(std::string_view descripcion) override { pasos.emplace_back(descripcion); }
};

} // namespace durlavex::pruebas
