// Activities: appended to ASIGNOMT after the subjects, as tasks.

#include <string>

#include "export/contexto_exportacion.h"
#include "tables/esquemas.h"
#include "tables/tarea_docencia.h"

namespace durlavex {

void ExportarActividades(ContextoExportacion& ctx)
{
    ctx.HayTarea513 = 0;
    ctx.TareaDocencia.clear();
    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("ACTIVIDADES");

    TareaDocencia docencia;
    Tabla asignomt(ctx.directorioTrabajo, esquemas::ASIGNOMT.nombre);
    asignomt.Abrir();
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        const std::string nombre = lectura.LeerDato(2);
        const std::string codigo = lectura.LeerDato(1);

        // The activity's own code, as it comes: not made unique.
        asignomt.Agregar();
        asignomt.FijarTexto("COD", VistaAnsi(codigo));
        asignomt.FijarTexto("CODLARGO", VistaAnsi(nombre.substr(0, 10)));
        asignomt.FijarTexto("NOMBRE", VistaAnsi(nombre));
        asignomt.FijarTexto("CODTAREA", VistaAnsi(codigo));
        asignomt.FijarLogico("ESTAREA", true);
        asignomt.Grabar();

        docencia.Ver(codigo, nombre);
    }
    asignomt.Cerrar();
    ctx.HayTarea513 = docencia.Hay513() ? 1 : 0;
    ctx.TareaDocencia = docencia.Codigo();

    // The subject step's lists have done their work.
    ctx.ListaCodigos.Vaciar();
    ctx.ListaCodLargos.Vaciar();
    ctx.ListaNombres.Vaciar();
    ctx.ListaCodNombres.Vaciar();
}

} // namespace durlavex
