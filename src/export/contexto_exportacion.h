#pragma once
// The state of one export run, shared by its seven steps.
//
// Each step is a function on this object, so that it can run alone in a test:
// the loaded exchange document and its reading state, the four code lists of
// the subject step, HayTarea513, the chosen template and the main window's
// handles that the steps read (ASIGNOMT, GRUPOST, NIVELCAN.dbf).

#include <cstdint>
#include <filesystem>
#include <string>

#include "exchange/lectura.h"
#include "platform/cotejo.h"
#include "platform/interaccion.h"
#include "tables/tablas_principales.h"

namespace durlavex {

struct ContextoExportacion {
    ContextoExportacion(std::filesystem::path directorioTrabajo,
                        std::filesystem::path carpetaPrograma,
                        std::filesystem::path archivoXml,
                        Interaccion& interaccion)
        : directorioTrabajo(std::move(directorioTrabajo)),
          carpetaPrograma(std::move(carpetaPrograma)),
          ArchivoXML(std::move(archivoXml)),
          interaccion(interaccion),
          tablas(this->directorioTrabajo, this->carpetaPrograma) {}

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

    std::int32_t HayTarea513 = 0;
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
