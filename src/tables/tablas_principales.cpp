#include "tables/tablas_principales.h"

namespace durlavex {

TablasPrincipales::TablasPrincipales(const std::filesystem::path& directorioTrabajo,
                                     const std::filesystem::path& carpetaPrograma)
    : wwTableNomAsg(directorioTrabajo, "ASIGNOMT", TipoTabla::DBase, true),
      wwTableProfesor(directorioTrabajo, "PROFT", TipoTabla::DBase, false),
      wwTableTramos(directorioTrabajo, "DIASHORAST", TipoTabla::DBase, true),
      wwTableAulas(directorioTrabajo, "AULAT", TipoTabla::DBase, true),
      wwTableGrupos(directorioTrabajo, "GRUPOST", TipoTabla::DBase, true),
      wwTableAsig(directorioTrabajo, "ASIGT", TipoTabla::DBase, true),
      wwTableSoluc(directorioTrabajo, "SOLUC", TipoTabla::DBase, true),
      wwTableCursos(directorioTrabajo, "CURSOST", TipoTabla::DBase, true),
      wwTableNIVELEX(carpetaPrograma, "NIVELCAN.dbf", TipoTabla::PorExtension, false),
      wwTableNomAsg_2(directorioTrabajo, "ASIGNOMT2", TipoTabla::DBase, true)
{
}

void TablasPrincipales::CerrarTodas()
{
    for (Tabla* tabla : {&wwTableNomAsg, &wwTableProfesor, &wwTableTramos, &wwTableAulas, &wwTableGrupos,
                         &wwTableAsig, &wwTableSoluc, &wwTableCursos, &wwTableNIVELEX, &wwTableNomAsg_2})
        tabla->Cerrar();
}

} // namespace durlavex
