#pragma once
// The import run: Talvorin's finished timetable (SOLUC and the tables the
// export wrote) becomes a result file for Vorna beside the exchange file.
//
// The run talks to the person through Interaccion: the busy indication, the
// teacher-data completion (at most once a run) and the plain messages of the
// situations that stop it ("No existe archivo", PERIODOS.DBF missing, a
// teacher still incomplete). It shows neither errors nor "Proceso finalizado":
// the caller does, from the outcome, since what follows (the error box, the
// result code, disabling the buttons, closing the window) is the caller's.

#include <filesystem>
#include <functional>
#include <string>

#include "import/comprobacion_claves.h"
#include "platform/interaccion.h"

namespace durlavex {

enum class Desenlace {
    Finalizado, // the result file was saved
    Detenido,   // an expected situation stopped the run; its message was shown
    Error       // a failure ended the run; `mensaje` is for the error box
};

enum class MotivoDetencion {
    Ninguno,
    ArchivoInexistente, // no file at the exchange file's path
    SinPeriodos,        // PERIODOS.DBF missing from the working directory
    ProfesorIncompleto, // a teacher still lacks X_EMPLEADO or F_TOMAPOS
    SolucNoCorresponde  // SOLUC.DBF was not made on the exported tables
};

struct ResultadoImportacion {
    Desenlace desenlace = Desenlace::Error;
    MotivoDetencion motivo = MotivoDetencion::Ninguno;
    std::string mensaje;                    // UTF-8; empty when finished
    int profesores = 0;                     // teacher records written
    int actividades = 0;                    // lesson records written
    std::filesystem::path archivoResultado; // set once the run knows it
    // Whether Vorna will recognise the keys of the lessons written (when
    // finished); the result file is written whatever it says.
    InformeClaves claves;
};

// Runs an import of `archivoXml` against Talvorin's working directory. Never
// throws: whatever way it ends, the busy indication is off again and every
// table it opened is closed; nothing is written unless it finished. `fecha`
// gives the header's date and time (UTF-8).
ResultadoImportacion EjecutarImportacion(const std::filesystem::path& archivoXml,
                                         const std::filesystem::path& directorioTrabajo,
                                         Interaccion& interaccion,
                                         const std::function<std::string()>& fecha = {});

// The message shown when a teacher is still incomplete after the completion:
// three lines separated by a line feed and a carriage return, in this order.
extern const char* const kMensajeProfesorIncompleto;

} // namespace durlavex
