#pragma once
// The records of the result file: the data group HORARIOS_REGULARES, one
// teacher record per row of PROFT with one lesson record per lesson that
// Talvorin placed in SOLUC, told in Vorna's codes.
//
// Talvorin's short codes are turned back into Vorna's keys through the tables
// the export wrote. Every lookup takes the first matching row in table order;
// each table is read once into an index that keeps that first row, so the work
// grows with the size of the tables, not with their product.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "import/comprobacion_claves.h"
#include "platform/xml/documento.h"
#include "platform/xml/guardado_por_partes.h"
#include "tables/tablas_principales.h"

namespace durlavex {

// FECINI and FECFIN of the first row of PERIODOS (single-byte text), copied
// into every lesson record; empty when PERIODOS has no row.
struct FechasPeriodo {
    std::string FECINI;
    std::string FECFIN;
};

struct RecuentoHorarios {
    int profesores = 0;  // teacher records written
    int actividades = 0; // lesson records written
};

// The regular-teaching activity's code from ASIGNOMT.DBF of the working
// directory: "513" when a row's COD is exactly "513"; else CODTAREA of the
// first task row (ESTAREA true) named "Docencia"; else empty. Opens its own
// shared handle, which works while the run holds ASIGNOMT exclusively.
std::string BuscarTareaDocencia(const std::filesystem::path& directorioTrabajo);

// A clock text ("hh:mm") as minutes after midnight: a text shorter than five
// characters gets one "0" in front, then its first two characters are the
// hours and its last two the minutes ("8:05" 485, "" 0, "08:30:00" 480).
// Throws ErrorConversion when either pair is not a whole number.
std::int32_t MinutosDeReloj(std::string_view texto);

// Appends HORARIOS_REGULARES with all its records to `bloqueDatos`. Reads the
// open handles wwTableProfesor, wwTableSoluc, wwTableAsig, wwTableNomAsg,
// wwTableTramos, wwTableGrupos and wwTableNomAsg_2, and leaves them open.
// A lesson without an activity code gets `tareaDocencia` when it is not blank.
// With `guardado`, the group is started there and each teacher record is
// written there, and leaves the document, as soon as it is complete. With
// `comprobacion`, each lesson's keys are checked as the lesson is written,
// from the values in hand: the file is never read back.
RecuentoHorarios EscribirHorariosRegulares(const DocumentoXml& documento, xmlNode* bloqueDatos,
                                           TablasPrincipales& tablas, const FechasPeriodo& fechas,
                                           const std::string& tareaDocencia,
                                           GuardadoPorPartes* guardado = nullptr,
                                           ComprobacionClaves* comprobacion = nullptr);

} // namespace durlavex
