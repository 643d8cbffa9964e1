#pragma once
// What both runs share: what they are handed, how they end, and the one
// place where what goes wrong inside a run becomes its outcome.
//
// A run (an export or an import) talks to the person through Interaccion and
// never shows its own end: the desktop program and the command line read the
// outcome and do what follows (the error box or standard error, the result
// code, "Proceso finalizado", closing the window).

#include <exception>
#include <filesystem>
#include <new>
#include <string>

#include "platform/error.h"
#include "platform/indicacion_ocupado.h"
#include "platform/interaccion.h"
#include "platform/interrupcion.h"
#include "platform/reloj.h"

namespace durlavex {

enum class Desenlace {
    Finalizado, // the run did all it had to
    Detenido,   // an expected situation stopped it; its message was shown
    Error       // a failure ended it; `mensaje` is for the error box
};

// Why a run stopped without an error: the front ends tell some apart (host
// mode, exit statuses, closing the window).
enum class Detencion {
    Ninguna,
    ArchivoInexistente, // no file at the exchange file's path
    SinNivelcan,        // NIVELCAN.DBF missing from the program folder (export)
    SinPeriodos,        // PERIODOS.DBF missing from the working directory (import)
    ProfesorIncompleto, // a teacher still lacks X_EMPLEADO or F_TOMAPOS (import)
    SolucNoCorresponde  // SOLUC.DBF was not made on the exported tables (import)
};

// The outcome every run gives; each run adds what it has to tell.
struct ResultadoCorrida {
    Desenlace desenlace = Desenlace::Error;
    Detencion detencion = Detencion::Ninguna;
    std::string mensaje; // UTF-8: the stop's message, or the error's text; empty when finished
};

// What every run is handed. Folders left empty take the system's own:
// DirectorioTrabajo(), CarpetaPrograma(), the user's folder of backups.
struct OpcionesCorrida {
    std::filesystem::path archivoXml; // the exchange file (ArchivoXML)
    std::filesystem::path directorioTrabajo;
    std::filesystem::path carpetaPrograma;
    std::filesystem::path carpetaCopias;
    const Reloj* reloj = nullptr; // what a run dates by; null: the system's clock

    std::filesystem::path DirectorioTrabajoEfectivo() const;
    std::filesystem::path CarpetaProgramaEfectiva() const;
    const Reloj& RelojEfectivo() const { return reloj ? *reloj : RelojDelSistema(); }
};

// How one run is named in the texts of its failures.
struct TextosCorrida {
    const char* nombre;       // "la exportación"
    const char* interrumpida; // the whole message when the person stopped it
};

// A stop: the busy indication goes off and the message is shown (a plain
// message box, or standard error), then the outcome tells it.
inline void Detener(ResultadoCorrida& resultado, Interaccion& interaccion, IndicacionOcupado& ocupado,
                    Detencion detencion, std::string mensaje)
{
    ocupado.Apagar();
    interaccion.Mensaje(mensaje);
    resultado.desenlace = Desenlace::Detenido;
    resultado.detencion = detencion;
    resultado.mensaje = std::move(mensaje);
}

// Runs the body of a run, which fills in the outcome as it goes, and turns
// whatever it throws into an Error outcome that keeps what was filled in (an
// export's backup folder, say). The body's own objects (busy indication, open
// tables, staging folder) are undone by the time the error's text is set.
template <typename Resultado, typename Cuerpo>
Resultado ProtegerCorrida(const TextosCorrida& textos, Cuerpo&& cuerpo)
{
    Resultado resultado;
    const auto fallo = [&](std::string mensaje) {
        resultado.desenlace = Desenlace::Error;
        resultado.detencion = Detencion::Ninguna;
        resultado.mensaje = std::move(mensaje);
    };
    try {
        cuerpo(resultado);
    } catch (const ErrorInterrupcion&) {
        fallo(textos.interrumpida);
    } catch (const Error& e) {
        fallo(e.what());
    } catch (const std::bad_alloc&) {
        fallo(std::string("No hay memoria suficiente para terminar ") + textos.nombre);
    } catch (const std::exception& e) {
        fallo(std::string("Error inesperado durante ") + textos.nombre + ": " + e.what());
    } catch (...) {
        fallo(std::string("Error inesperado durante ") + textos.nombre);
    }
    return resultado;
}

} // namespace durlavex
