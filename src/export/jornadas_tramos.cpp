// School days, time slots and periods: the chosen template's slots spread
// over the seven days of the week (DIASHORAST2, in slot order), numbered as
// hours of the day by their start (DIASHORAST), and the template itself
// (PERIODOS). JORNADAS.DBF goes away.

#include <cstdint>
#include <string>

#include "export/contexto_exportacion.h"
#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/numeros.h"
#include "platform/rutas.h"
#include "platform/texto.h"
#include "tables/esquemas.h"

namespace durlavex {

namespace {

constexpr int kDiasSemana = 7;

// Two digits at least: 5 gives "05", 100 stays "100".
std::string DosCifras(std::int64_t valor)
{
    std::string texto = std::to_string(valor);
    return texto.size() < 2 ? "0" + texto : texto;
}

// "hh:mm" of a minute count; hours are not limited to a day (6000 gives
// "100:00"), since the import reads the hours back up to the colon.
std::string TextoReloj(std::int32_t minutos)
{
    return DosCifras(minutos / 60) + ":" + DosCifras(minutos % 60);
}

// A start or end of a slot: minutes after midnight. A negative count has no
// clock text the import could read back, so it stops the run here.
std::int32_t MinutoDelTramo(const std::string& texto, const std::string& codigoTramo, const char* cual)
{
    const std::int32_t minuto = TextoAEntero(texto);
    if (minuto < 0)
        throw Error("El tramo horario " + EntreAnsi(codigoTramo) + " " + cual + " en el minuto " +
                    std::to_string(minuto) +
                    ": los minutos se cuentan desde la medianoche y no pueden ser "
                    "negativos");
    return minuto;
}

// Settles JornadaElegida: the only template's code, or the person's pick
// among several. False when the file holds no template at all: then there is
// nothing to build the day-hour grid from.
bool ElegirJornada(ContextoExportacion& ctx)
{
    LecturaIntercambio& lectura = ctx.lectura;
    const int plantillas = lectura.SeleccionarGrupo("JORNADAS_ESCOLARES");
    ctx.JornadaElegida.clear();
    if (plantillas == 0)
        return false;
    if (plantillas == 1) {
        lectura.AbrirRegistro(0);
        ctx.JornadaElegida = lectura.LeerDato(0);
    } else {
        ctx.JornadaElegida = std::string(Recortar(ctx.interaccion.ElegirPlantilla(ctx.ArchivoXML)));
    }
    return true;
}

// One row per day for every slot of the chosen template, in document order.
// The slot number counts every slot record of the file, of any template.
void LlenarTramos(ContextoExportacion& ctx, Tabla& diashorast2)
{
    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("TRAMOS_HORARIOS");
    diashorast2.Abrir();
    int tramo = 1;
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        const std::string codigo = lectura.LeerDato(0);
        const std::string texto = lectura.LeerDato(1);
        const std::string desde = lectura.LeerDato(2);
        const std::string hasta = lectura.LeerDato(3);
        const std::string jornada = lectura.LeerDato(4);
        if (jornada == ctx.JornadaElegida) {
            const std::int32_t inicio =
                lectura.EnDato(2, [&] { return MinutoDelTramo(desde, codigo, "empieza"); });
            const std::int32_t fin =
                lectura.EnDato(3, [&] { return MinutoDelTramo(hasta, codigo, "termina"); });
            const std::string hora = std::to_string(tramo);
            for (int dia = 1; dia <= kDiasSemana; ++dia) {
                const std::string textoDia = std::to_string(dia);
                diashorast2.Agregar();
                diashorast2.FijarTexto("DIHO", VistaAnsi(textoDia + hora));
                diashorast2.FijarTexto("DIA", VistaAnsi(textoDia));
                diashorast2.FijarTexto("HORA", VistaAnsi(hora));
                diashorast2.FijarTexto("TEXTOHOR", VistaAnsi(texto));
                diashorast2.FijarTexto("CODDIHO", VistaAnsi(codigo));
                diashorast2.FijarTexto("HORADESDE", VistaAnsi(TextoReloj(inicio)));
                diashorast2.FijarTexto("HORAHASTA", VistaAnsi(TextoReloj(fin)));
                diashorast2.FijarTexto("MINUTOS", VistaAnsi(std::to_string(std::int64_t{fin} - inicio)));
                diashorast2.FijarEntero("ORDEN", inicio);
                diashorast2.Grabar();
            }
        }
        ++tramo;
    }
}

// The hours of the day numbered 1, 2, 3 ... by ascending start, without gaps;
// slots that start at the same minute share their hour.
void NumerarHoras(Tabla& diashorast2, Tabla& diashorast)
{
    diashorast2.OrdenarPorIndice("ORDEN");
    diashorast.Abrir();
    int hora = 0;
    std::int32_t inicioActual = 0;
    for (diashorast2.Primero(); !diashorast2.Fin(); diashorast2.Siguiente()) {
        const std::int32_t inicio = diashorast2.LeerEntero("ORDEN");
        if (hora == 0 || inicio > inicioActual) {
            ++hora;
            inicioActual = inicio;
        }
        const std::string dia = diashorast2.LeerTexto("DIA").Bytes();
        diashorast.Agregar();
        diashorast.FijarTexto("DIHO", VistaAnsi(dia + std::to_string(hora)));
        diashorast.FijarTexto("DIA", VistaAnsi(dia));
        diashorast.FijarTexto("HORA", VistaAnsi(std::to_string(hora)));
        for (const char* campo : {"TEXTOHOR", "CODDIHO", "HORADESDE", "HORAHASTA", "MINUTOS"})
            diashorast.FijarTexto(campo, diashorast2.LeerTexto(campo));
        diashorast.Grabar();
    }
}

// Every template record that carries the chosen code, in document order.
void EscribirPeriodos(ContextoExportacion& ctx, Tabla& periodos)
{
    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("JORNADAS_ESCOLARES");
    periodos.Abrir();
    for (int i = 0; i < registros; ++i) {
        lectura.AbrirRegistro(i);
        const std::string codigo = lectura.LeerDato(0);
        const std::string nombre = lectura.LeerDato(1);
        const std::string inicio = lectura.LeerDato(2);
        const std::string fin = lectura.LeerDato(3);
        if (codigo != ctx.JornadaElegida)
            continue;
        periodos.Agregar();
        periodos.FijarTexto("CJORNADA", VistaAnsi(codigo));
        periodos.FijarTexto("JORNADA", VistaAnsi(nombre));
        periodos.FijarTexto("FECINI", VistaAnsi(inicio));
        periodos.FijarTexto("FECFIN", VistaAnsi(fin));
        periodos.Grabar();
    }
}

} // namespace

void ExportarJornadasTramos(ContextoExportacion& ctx)
{
    const auto& directorio = ctx.directorioTrabajo;
    BorrarTabla(directorio, esquemas::DIASHORAST.nombre);
    BorrarTabla(directorio, esquemas::DIASHORAST2.nombre);
    // JORNADAS.DBF is only removed; its .MDX stays.
    if (auto jornadas = BuscarArchivo(directorio, "JORNADAS.DBF"))
        BorrarArchivo(*jornadas);
    auto diashorast = CrearTabla(directorio, esquemas::DIASHORAST);
    auto diashorast2 = CrearTabla(directorio, esquemas::DIASHORAST2);
    auto periodos = CrearTabla(directorio, esquemas::PERIODOS);

    if (ElegirJornada(ctx)) {
        LlenarTramos(ctx, *diashorast2);
        NumerarHoras(*diashorast2, *diashorast);
        diashorast->Cerrar();
        diashorast2->Cerrar();
        EscribirPeriodos(ctx, *periodos);
        periodos->Cerrar();
    }
}

} // namespace durlavex
