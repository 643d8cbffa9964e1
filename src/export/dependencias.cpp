// Rooms: AULAT, one row per room record, each with a unique code.

#include <string>

#include "export/codigos.h"
#include "export/contexto_exportacion.h"
#include "tables/esquemas.h"

namespace durlavex {

void ExportarDependencias(ContextoExportacion& ctx)
{
    BorrarTabla(ctx.directorioTrabajo, esquemas::AULAT.nombre);
    auto aulat = CrearTabla(ctx.directorioTrabajo, esquemas::AULAT);

    // Room codes are one code whatever their letter case.
    ConjuntoTextos codigos(Caso::Ignora);
    ContadoresCodigo contadores;

    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("DEPENDENCIAS");
    aulat->Abrir();
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        std::string codigo = lectura.LeerDato(0);
        const std::string nombre = lectura.LeerDato(1);
        // A room without a code of its own is named by its name.
        if (codigo.empty())
            codigo = nombre.substr(0, 10);
        codigo = lectura.EnDato(
            0, [&] { return GenerarCodigoCorto(codigo, codigos, contadores, FormaCodigo::Acortar); });

        aulat->Agregar();
        aulat->FijarTexto("ABREV", VistaAnsi(codigo));
        aulat->FijarTexto("NOMBRE", VistaAnsi(nombre));
        aulat->FijarTexto("DEPCENTRO", "");
        aulat->Grabar();
    }
    aulat->Cerrar();
}

} // namespace durlavex
