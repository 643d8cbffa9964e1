#pragma once
// The tables of a small exported school, as an import finds them in
// Talvorin's working directory: two complete teachers, one group, one
// subject, one day-hour and the period. SOLUC.DBF is each test's own.

#include <filesystem>
#include <vector>

#include "import/dbase3.h"
#include "import/fixture_importacion.h"
#include "tables/esquemas.h"

namespace durlavex::pruebas {

// SOLUC.DBF as Talvorin writes it (dBase III).
inline const std::vector<CampoDbase3> kCamposSoluc = {
    {"PROF", 'C', 10},     {"DIA", 'N', 1},    {"HORA", 'N', 2}, {"ASIG", 'C', 10},
    {"CODGRUPO", 'C', 10}, {"TAREA", 'C', 10}, {"AULA", 'C', 10}};

inline void EscribirEscuelaExportada(const std::filesystem::path& ktemp)
{
    EscribirTabla(
        ktemp, esquemas::PROFT,
        {{{"ABREV", "P1"}, {"NOMBRE", "Ana Pérez"}, {"X_EMPLEADO", "1001"}, {"F_TOMAPOS", "01/09/2015"}},
         {{"ABREV", "P2"}, {"NOMBRE", "Íñigo Ruiz"}, {"X_EMPLEADO", "1002"}, {"F_TOMAPOS", "01/09/2016"}}});
    EscribirTabla(ktemp, esquemas::GRUPOST, {{{"ABREV", "1A"}, {"CLAVE", "U1A"}, {"CLAVECURSO", "C1"}}});
    EscribirTabla(ktemp, esquemas::CURSOST, {});
    EscribirTabla(ktemp, esquemas::AULAT, {});
    EscribirTabla(ktemp, esquemas::ASIGT,
                  {{{"CASIG", "MAT"}, {"CGRUP", "1A"}, {"CLAVE", "M1"}, {"CLAVECURSO", "C1"}}});
    EscribirTabla(ktemp, esquemas::ASIGNOMT, {{{"COD", "MAT"}}, {{"COD", "513"}}});
    EscribirTabla(ktemp, esquemas::ASIGNOMT2, {});
    EscribirTabla(
        ktemp, esquemas::DIASHORAST,
        {{{"DIHO", "32"}, {"DIA", "3"}, {"CODDIHO", "T32"}, {"HORADESDE", "09:00"}, {"HORAHASTA", "09:55"}}});
    EscribirTabla(ktemp, esquemas::PERIODOS, {{{"FECINI", "01/09/2023"}, {"FECFIN", "30/06/2024"}}});
}

} // namespace durlavex::pruebas
