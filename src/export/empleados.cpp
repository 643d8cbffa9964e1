// Teachers: PROFT, one row per employee record, each with a unique code.

#include <string>

#include "export/codigos.h"
#include "export/contexto_exportacion.h"
#include "tables/esquemas.h"

namespace durlavex {

namespace {

// The first character of a datum as the document gives it, before trimming;
// nothing for an empty datum.
std::string Inicial(LecturaIntercambio& lectura, int posicion)
{
    return lectura.LeerDatoSinRecortar(posicion).substr(0, 1);
}

} // namespace

void ExportarEmpleados(ContextoExportacion& ctx)
{
    BorrarTabla(ctx.directorioTrabajo, esquemas::PROFT.nombre);
    auto proft = CrearTabla(ctx.directorioTrabajo, esquemas::PROFT);

    // Teacher codes are one code whatever their letter case.
    ConjuntoTextos codigos(Caso::Ignora);
    ContadoresCodigo contadores;

    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("EMPLEADOS");
    proft->Abrir();
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        const std::string empleado = lectura.LeerDato(0);
        const std::string tomaPosesion = lectura.LeerDato(1);
        const std::string departamento = lectura.LeerDato(2);
        const std::string nombre =
            lectura.LeerDato(3) + " " + lectura.LeerDato(4) + ", " + lectura.LeerDato(5);
        const std::string iniciales = Inicial(lectura, 3) + Inicial(lectura, 4) + Inicial(lectura, 5);
        const std::string abreviatura = lectura.LeerDato(6);

        // A given abbreviation longer than the field keeps its first ten
        // characters; only counted codes are shortened.
        const std::string codigo = lectura.EnDato(6, [&] {
            return GenerarCodigoCorto(abreviatura.empty() ? iniciales : abreviatura, codigos, contadores,
                                      FormaCodigo::Cortar);
        });

        proft->Agregar();
        proft->FijarTexto("ABREV", VistaAnsi(codigo));
        proft->FijarTexto("NOMBRE", VistaAnsi(nombre));
        proft->FijarTexto("DEPART", VistaAnsi(departamento));
        proft->FijarTexto("X_EMPLEADO", VistaAnsi(empleado));
        proft->FijarTexto("F_TOMAPOS", VistaAnsi(tomaPosesion));
        proft->Grabar();
    }
    proft->Cerrar();
}

} // namespace durlavex
