#pragma once
// The state of one export run, shared by its seven steps.
//
// Each step is a function on this object, so that it can run alone in a test:
// the loaded exchange document and its reading state, the four code lists of
// the subject step, HayTarea513 and the teaching activity, the chosen template and the main window's
// handles that the steps read (ASIGNOMT, GRUPOST, NIVELCAN.dbf).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "exchange/lectura.h"
#include "export/niveles_por_nombre.h"
#include "platform/cotejo.h"
#include "platform/interaccion.h"
#include "platform/rutas.h"
#include "tables/tablas_principales.h"

namespace durlavex {

struct ContextoExportacion {
    ContextoExportacion(std::filesystem::path directorioTrabajo, std::filesystem::path carpetaPrograma,
                        std::filesystem::path archivoXml, Interaccion& interaccion)
        : directorioTrabajo(std::move(directorioTrabajo)), carpetaPrograma(std::move(carpetaPrograma)),
          ArchivoXML(std::move(archivoXml)), interaccion(interaccion),
          tablas(this->directorioTrabajo, this->carpetaPrograma)
    {
    }

    std::filesystem::path directorioTrabajo;
    std::filesystem::path carpetaPrograma;
    std::filesystem::path ArchivoXML;
    Interaccion& interaccion;
    TablasPrincipales tablas;

    LecturaIntercambio lectura; // DocumentoXML and the reading state

    // The code lists of the subject step; every run starts with them empty.
    ConjuntoTextos ListaCodigos{Caso::Distingue};
    ConjuntoTextos ListaCodLargos{Caso::Distingue};
    ConjuntoTextos ListaNombres{Caso::Distingue};
    ConjuntoTextos ListaCodNombres{Caso::Distingue};

    // The levels course names tell (NIVELES.TXT beside the program), read
    // once: by the run before it touches anything, or on first use.
    const NivelesPorNombre& NivelesPorNombreCurso()
    {
        if (!nivelesPorNombre)
            nivelesPorNombre =
                NivelesPorNombre::Cargar(RutaArchivo(carpetaPrograma, kArchivoNivelesPorNombre));
        return *nivelesPorNombre;
    }
    std::optional<NivelesPorNombre> nivelesPorNombre;

    std::int32_t HayTarea513 = 0;
    // The ordinary teaching activity's code, which every ASIGT row carries:
    // "513", else the code of the first activity named "Docencia", else empty.
    std::string TareaDocencia;
    std::string JornadaElegida;
};

void ExportarMaterias(ContextoExportacion& ctx);       // ASIGNOMT, ASIGNOMT2
void ExportarActividades(ContextoExportacion& ctx);    // activities into ASIGNOMT
void ExportarEmpleados(ContextoExportacion& ctx);      // PROFT
void ExportarDependencias(ContextoExportacion& ctx);   // AULAT
void ExportarCursosUnidades(ContextoExportacion& ctx); // CURSOST, GRUPOST
void ExportarAsignaciones(ContextoExportacion& ctx);   // ASIGT
void ExportarJornadasTramos(ContextoExportacion& ctx); // DIASHORAST(2), PERIODOS

} // namespace durlavex
