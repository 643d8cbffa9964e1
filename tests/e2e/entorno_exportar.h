#pragma once
// Where an end-to-end export runs: durlavex-cli copied into a program folder
// of its own beside its NIVELCAN.DBF (the program folder is the
// executable's), Talvorin's working directory in a temporary WINEPREFIX, the
// user's data folder (backups) in a temporary XDG_DATA_HOME, and the exchange
// file in a folder of its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "comun/directorio_temporal.h"
#include "comun/nivelcan.h"
#include "comun/programa.h"
#include "tables/esquemas.h"
#include "tables/tabla.h"

namespace durlavex::pruebas {

class EntornoExportarCli : public testing::Test {
  public:
    void PrepararCarpetas()
    {
        std::filesystem::create_directories(ktemp);
        std::filesystem::copy_file(DURLAVEX_CLI, programa / "durlavex-cli");
        EscribirNivelcan(programa.Ruta(), {{101, "ESO", "Secundaria"}});
    }

    // What an earlier run left: a PROFT.DBF with one teacher "VIEJO".
    void EscribirProftViejo()
    {
        auto proft = CrearTabla(ktemp, esquemas::PROFT);
        proft->Abrir();
        proft->Agregar();
        proft->FijarTexto("ABREV", "VIEJO");
        proft->Grabar();
        proft->Cerrar();
    }

    Salida Ejecutar(const std::string& argumentos)
    {
        return EjecutarPrograma(
            programa / "durlavex-cli",
            {{"WINEPREFIX", prefijo.Ruta().string()}, {"XDG_DATA_HOME", datos.Ruta().string()}}, argumentos,
            salidas.Ruta());
    }

    std::string Archivo() const { return "'" + archivo.string() + "'"; }
    std::filesystem::path Copias() const { return datos / "durlavex" / "copias"; }

    DirectorioTemporal prefijo;
    DirectorioTemporal datos;
    DirectorioTemporal programa;
    DirectorioTemporal origen;
    DirectorioTemporal salidas;
    std::filesystem::path ktemp = prefijo.Ruta() / "drive_c" / "KTEMP";
    std::filesystem::path archivo = origen / "vorna.xml";
};

} // namespace durlavex::pruebas
