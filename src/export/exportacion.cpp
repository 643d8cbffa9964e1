#include "export/exportacion.h"

#include <exception>
#include <new>
#include <system_error>
#include <unordered_set>

#include "export/contexto_exportacion.h"
#include "export/copia_seguridad.h"
#include "platform/bloqueo_trabajo.h"
#include "platform/error.h"
#include "platform/indicacion_ocupado.h"
#include "platform/interrupcion.h"
#include "platform/rutas.h"
#include "tables/esquemas.h"
#include "tables/preparacion.h"
#include "tables/tabla.h"

namespace durlavex {

const char* const kMensajeNoExisteArchivo = "No existe archivo";
const char* const kMensajeSinNivelcan = "ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale DURLAVEX";

namespace {

struct Paso {
    const char* descripcion;
    void (*ejecutar)(ContextoExportacion&);
};

// The seven steps, in the order in which later ones read what earlier ones
// wrote.
constexpr Paso kPasos[] = {
    {"Materias (ASIGNOMT, ASIGNOMT2)", ExportarMaterias},
    {"Actividades (ASIGNOMT)", ExportarActividades},
    {"Profesores (PROFT)", ExportarEmpleados},
    {"Dependencias (AULAT)", ExportarDependencias},
    {"Cursos y unidades (CURSOST, GRUPOST)", ExportarCursosUnidades},
    {"Asignaciones (ASIGT)", ExportarAsignaciones},
    {"Jornadas y tramos horarios (DIASHORAST, DIASHORAST2, PERIODOS)", ExportarJornadasTramos},
};

std::vector<FilasTabla> ContarFilas(const std::filesystem::path& directorioTrabajo)
{
    std::vector<FilasTabla> filas;
    for (const Esquema* esquema : esquemas::Todos()) {
        Tabla tabla(directorioTrabajo, esquema->nombre);
        tabla.Abrir();
        filas.push_back({esquema->nombre, tabla.NumeroFilas()});
        tabla.Cerrar();
    }
    return filas;
}

class Corrida {
  public:
    Corrida(const OpcionesExportacion& opciones, Interaccion& interaccion)
        : opciones_(opciones), interaccion_(interaccion), ocupado_(interaccion)
    {
    }

    ResultadoCorrida Ejecutar()
    {
        try {
            return Exportar();
        } catch (const std::bad_alloc&) {
            return Fallo("No hay memoria suficiente para terminar la exportación");
        } catch (const ErrorInterrupcion&) {
            return Fallo("Exportación interrumpida a petición del usuario: no ha cambiado ninguna tabla del "
                         "directorio de trabajo");
        } catch (const Error& e) {
            return Fallo(e.what());
        } catch (const std::exception& e) {
            return Fallo(std::string("Error inesperado durante la exportación: ") + e.what());
        }
    }

  private:
    ResultadoCorrida Exportar()
    {
        const std::filesystem::path& archivo = opciones_.archivoXml;
        if (!ExisteArchivo(archivo))
            return Detener(ParadaExportacion::ArchivoInexistente, kMensajeNoExisteArchivo);
        const std::filesystem::path programa =
            opciones_.carpetaPrograma.empty() ? CarpetaPrograma() : opciones_.carpetaPrograma;
        if (!BuscarArchivo(programa, "NIVELCAN.DBF"))
            return Detener(ParadaExportacion::SinNivelcan, kMensajeSinNivelcan);
        const std::filesystem::path trabajo =
            opciones_.directorioTrabajo.empty() ? DirectorioTrabajo() : opciones_.directorioTrabajo;
        std::error_code ec;
        if (!std::filesystem::is_directory(trabajo, ec))
            throw Error("No existe el directorio de trabajo de Talvorin «" + TextoRuta(trabajo) +
                        "»: no se ha borrado ni escrito nada");
        const std::filesystem::path copias =
            opciones_.carpetaCopias.empty() ? CarpetaCopias() : opciones_.carpetaCopias;

        // One run at a time in the folder; what a run that died left there
        // goes before anything is read from it.
        const BloqueoDirectorioTrabajo bloqueo(trabajo, BloqueoDirectorioTrabajo::Uso::Exportar);
        if (RecuperarExportacionInterrumpida(trabajo))
            interaccion_.Paso(
                "Se han vuelto a poner las tablas que una exportación interrumpida dejó a medias");

        interaccion_.Paso("Leyendo " + TextoRuta(archivo));
        LecturaIntercambio lectura;
        if (opciones_.documento)
            lectura.UsarDocumento(opciones_.documento);
        else
            lectura.CargarDocumento(archivo);
        ComprobarDatosParaExportar(*lectura.Documento());
        NivelesPorNombre niveles = NivelesPorNombre::Cargar(RutaArchivo(programa, kArchivoNivelesPorNombre));
        ocupado_.Encender();

        const CopiaSeguridad copia = CopiarTablasReemplazadas(trabajo, copias);
        resultado_.copiaSeguridad = copia.carpeta;
        resultado_.archivosCopiados = copia.archivos;
        if (!copia.carpeta.empty())
            interaccion_.Paso("Copia de seguridad de las tablas anteriores en " + TextoRuta(copia.carpeta));

        // The steps write into the staging folder; the working directory
        // changes only in the final stage, all tables at once.
        TablasEnPreparacion preparacion(trabajo);
        ContextoExportacion ctx(preparacion.Carpeta(), programa, archivo, interaccion_);
        ctx.lectura = std::move(lectura);
        ctx.nivelesPorNombre = std::move(niveles);
        for (const Paso& paso : kPasos) {
            ComprobarInterrupcion();
            interaccion_.Paso(paso.descripcion);
            paso.ejecutar(ctx);
        }
        resultado_.JornadaElegida = ctx.JornadaElegida;
        ctx.tablas.CerrarTodas();
        ComprobarInterrupcion();
        interaccion_.Paso("Poniendo las tablas nuevas en su sitio");
        preparacion.Colocar();
        resultado_.filas = ContarFilas(trabajo);

        ocupado_.Apagar();
        resultado_.estado = EstadoCorrida::Finalizado;
        return resultado_;
    }

    // The message is shown with the normal cursor.
    ResultadoCorrida Detener(ParadaExportacion parada, const char* mensaje)
    {
        ocupado_.Apagar();
        interaccion_.Mensaje(mensaje);
        resultado_.estado = EstadoCorrida::Detenido;
        resultado_.parada = parada;
        resultado_.mensaje = mensaje;
        return resultado_;
    }

    // The caller shows the error box once the busy indication is off.
    ResultadoCorrida Fallo(std::string mensaje)
    {
        ocupado_.Apagar();
        resultado_.estado = EstadoCorrida::Error;
        resultado_.mensaje = std::move(mensaje);
        return resultado_;
    }

    const OpcionesExportacion& opciones_;
    Interaccion& interaccion_;
    IndicacionOcupado ocupado_;
    ResultadoCorrida resultado_;
};

} // namespace

ResultadoCorrida EjecutarExportacion(const OpcionesExportacion& opciones, Interaccion& interaccion)
{
    return Corrida(opciones, interaccion).Ejecutar();
}

std::vector<std::string> CodigosPlantilla(LecturaIntercambio& lectura)
{
    std::vector<std::string> codigos;
    std::unordered_set<std::string> vistos;
    const int registros = lectura.SeleccionarGrupo("JORNADAS_ESCOLARES");
    for (int i = 0; i < registros; ++i) {
        lectura.AbrirRegistro(i);
        std::string codigo = lectura.LeerDato(0);
        if (vistos.insert(codigo).second)
            codigos.push_back(std::move(codigo));
    }
    return codigos;
}

} // namespace durlavex
