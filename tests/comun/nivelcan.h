#pragma once
// NIVELCAN.DBF for tests: the table of education levels that lies beside the
// program, written with the engine in a folder of the test's own, with the
// levels course names tell (NIVELES.TXT, as installed) beside it.
//
//   EscribirNivelcan(programa, {{101, "ESO", "Secundaria"}});

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dbf/archivo_dbf.h"
#include "platform/texto.h"
#include "tables/tabla.h"

namespace durlavex::pruebas {

struct FilaNivel {
    std::int32_t clave;      // X_OFERTAMATRIG
    std::string abreviatura; // NIVEL_ABREV, UTF-8
    std::string nombre;      // NIVEL, UTF-8
};

inline void EscribirNivelcan(const std::filesystem::path& carpeta, const std::vector<FilaNivel>& filas)
{
    const std::filesystem::path ruta = carpeta / "NIVELCAN.DBF";
    dbf::Campo clave{"X_OFERTAMATRIG", 'N', 11};
    dbf::Campo abreviatura{"NIVEL_ABREV", 'C', 10};
    dbf::Campo nombre{"NIVEL", 'C', 60};
    dbf::ArchivoDbf::Crear(ruta, {clave, abreviatura, nombre});

    Tabla tabla(carpeta, "NIVELCAN.DBF", TipoTabla::PorExtension);
    tabla.Abrir();
    for (const FilaNivel& fila : filas) {
        tabla.Agregar();
        tabla.FijarEntero("X_OFERTAMATRIG", fila.clave);
        tabla.FijarTexto("NIVEL_ABREV", Utf8AAnsi(fila.abreviatura));
        tabla.FijarTexto("NIVEL", Utf8AAnsi(fila.nombre));
        tabla.Grabar();
    }
    tabla.Cerrar();
    std::filesystem::copy_file(std::filesystem::path(DURLAVEX_SOURCE_DIR) / "data" / "NIVELES.TXT",
                               carpeta / "NIVELES.TXT", std::filesystem::copy_options::overwrite_existing);
}

} // namespace durlavex::pruebas
