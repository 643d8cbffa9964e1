#pragma once
// The export run: an exchange file from Vorna becomes the tables Talvorin
// builds its timetable from, in its working directory.
//
// The run checks what it needs before it touches anything (the exchange file,
// NIVELCAN.DBF beside the program, the working directory, a well-formed
// document), copies the tables it is about to replace, then runs the seven
// steps in order. It talks to the person through Interaccion: the busy
// indication (off again however the run ends), the steps as they begin, the
// template choice when the file holds several, and the plain messages of the
// situations that stop it. It shows neither errors nor "Proceso finalizado":
// the caller does, from the outcome, since what follows (the error box, the
// result code, disabling the buttons, closing the window) is the caller's.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "exchange/lectura.h"
#include "platform/corrida.h"
#include "platform/interaccion.h"

namespace durlavex {

extern const char* const kMensajeNoExisteArchivo; // "No existe archivo"
extern const char* const kMensajeSinNivelcan;     // "ATENCIÓN - NIVELCAN.DBF No encontrado - ..."

struct OpcionesExportacion : OpcionesCorrida {
    // The exchange file as the caller already loaded it (to settle the
    // template), so that a large file is not parsed twice; null: the run
    // loads archivoXml itself.
    std::shared_ptr<DocumentoXml> documento;
};

struct FilasTabla {
    std::string tabla; // "ASIGNOMT", ...
    int filas = 0;
};

struct ResultadoExportacion : ResultadoCorrida {
    std::vector<FilasTabla> filas;           // rows of every rebuilt table, once finished
    std::filesystem::path directorioTrabajo; // where the tables went
    std::filesystem::path copiaSeguridad;    // where the replaced tables were copied; empty: none existed
    int archivosCopiados = 0;
    std::string JornadaElegida; // the template the run used (single-byte text)
};

// Runs an export. Never throws. The working directory changes only when every
// step has succeeded, all its tables at once; the replaced tables are copied
// to the user's folder of backups first.
ResultadoExportacion EjecutarExportacion(const OpcionesExportacion& opciones, Interaccion& interaccion);

// The template codes of a loaded exchange document (datum 0 of every record of
// JORNADAS_ESCOLARES, trimmed), each once, in document order. Front ends use
// it to settle the template before a run touches anything.
std::vector<std::string> CodigosPlantilla(LecturaIntercambio& lectura);

} // namespace durlavex
