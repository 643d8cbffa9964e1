#pragma once
// The main window's ten table handles, each naming its table once. Export
// steps 3.5 and 3.6 and the import open and close them as they need them.

#include <filesystem>

#include "tables/tabla.h"

namespace durlavex {

struct TablasPrincipales {
    // directorioTrabajo: Talvorin's working directory; carpetaPrograma: where
    // NIVELCAN.dbf lies (wwTableNIVELEX's directory is set when it is opened).
    TablasPrincipales(const std::filesystem::path& directorioTrabajo,
                      const std::filesystem::path& carpetaPrograma);

    Tabla wwTableNomAsg;   // ASIGNOMT, exclusive
    Tabla wwTableProfesor; // PROFT, shared
    Tabla wwTableTramos;   // DIASHORAST, exclusive
    Tabla wwTableAulas;    // AULAT, exclusive
    Tabla wwTableGrupos;   // GRUPOST, exclusive
    Tabla wwTableAsig;     // ASIGT, exclusive
    Tabla wwTableSoluc;    // SOLUC, exclusive
    Tabla wwTableCursos;   // CURSOST, exclusive
    Tabla wwTableNIVELEX;  // NIVELCAN.dbf, by extension, shared
    Tabla wwTableNomAsg_2; // ASIGNOMT2, exclusive

    // Closes every open handle (the end of an import, however it ends).
    void CerrarTodas();
};

} // namespace durlavex
