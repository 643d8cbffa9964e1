#include "import/importacion.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <system_error>

#include "exchange/lectura.h"
#include "import/archivo_resultado.h"
#include "import/claves_vorna.h"
#include "import/fecha.h"
#include "import/profesores_completos.h"
#include "import/registros_horario.h"
#include "import/soluc_corresponde.h"
#include "platform/bloqueo_trabajo.h"
#include "platform/error.h"
#include "platform/indicacion_ocupado.h"
#include "platform/interrupcion.h"
#include "platform/rutas.h"
#include "platform/texto.h"
#include "platform/xml/escritura.h"
#include "tables/preparacion.h"
#include "tables/tabla.h"
#include "tables/tablas_principales.h"

namespace durlavex {

const char* const kMensajeProfesorIncompleto =
    "¡Atención! Sigue habiendo algún Profesor sin todos los DATOS.\n\r"
    "Este proceso se dentendrá y deberá volver a ejecutar\n\r"
    "la Importación, para poder corregir la incidencia";

namespace {

constexpr const char* kNoExisteArchivo = "No existe archivo";
constexpr const char* kSinPeriodos = "ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VORNA.";

// The nine tables of the run, closed however it ends.
class TablasAbiertas {
  public:
    explicit TablasAbiertas(const std::filesystem::path& directorioTrabajo)
        : tablas(directorioTrabajo, std::filesystem::path())
    {
    }
    ~TablasAbiertas() { Cerrar(); }
    TablasAbiertas(const TablasAbiertas&) = delete;
    TablasAbiertas& operator=(const TablasAbiertas&) = delete;

    // SOLUC, GRUPOST, CURSOST, PROFT (shared), AULAT, ASIGNOMT, ASIGNOMT2,
    // DIASHORAST, ASIGT; CURSOST and AULAT are not read, but must be there.
    void Abrir()
    {
        for (Tabla* tabla : {&tablas.wwTableSoluc, &tablas.wwTableGrupos, &tablas.wwTableCursos,
                             &tablas.wwTableProfesor, &tablas.wwTableAulas, &tablas.wwTableNomAsg,
                             &tablas.wwTableNomAsg_2, &tablas.wwTableTramos, &tablas.wwTableAsig})
            tabla->Abrir();
    }
    void Cerrar() noexcept
    {
        try {
            tablas.CerrarTodas();
        } catch (...) {
        }
    }

    TablasPrincipales tablas;
};

class Importacion {
  public:
    Importacion(std::filesystem::path archivoXml, std::filesystem::path directorioTrabajo,
                Interaccion& interaccion, std::function<std::string()> fecha)
        : ArchivoXML(std::move(archivoXml)), directorioTrabajo_(std::move(directorioTrabajo)),
          interaccion_(interaccion), fecha_(std::move(fecha)), ocupado_(interaccion),
          abiertas_(directorioTrabajo_)
    {
    }

    ResultadoImportacion Ejecutar()
    {
        resultado_.archivoResultado = NombreArchivoResultado(ArchivoXML);
        if (!ExisteArchivo(ArchivoXML))
            return Detener(MotivoDetencion::ArchivoInexistente, kNoExisteArchivo);
        std::error_code ec;
        if (!std::filesystem::is_directory(directorioTrabajo_, ec))
            throw Error("No existe el directorio de trabajo de Talvorin «" + TextoRuta(directorioTrabajo_) +
                        "»: no se ha abierto ni escrito nada");

        // One run at a time in the folder; an export that died half-way
        // through putting its tables in place is rolled back first.
        const BloqueoDirectorioTrabajo bloqueo(directorioTrabajo_, BloqueoDirectorioTrabajo::Uso::Importar);
        if (RecuperarExportacionInterrumpida(directorioTrabajo_))
            interaccion_.Paso(
                "Se han vuelto a poner las tablas que una exportación interrumpida dejó a medias");

        ocupado_.Encender();
        interaccion_.Paso("Abriendo las tablas de " + TextoRuta(directorioTrabajo_));
        abiertas_.Abrir();

        interaccion_.Paso("Leyendo " + TextoRuta(ArchivoXML));
        LecturaIntercambio lectura;
        lectura.CargarDocumento(ArchivoXML);
        DocumentoXml& documento = *lectura.Documento();
        BloqueDatosConContenido(documento);
        const std::string anno = AnsiAUtf8(LeerAnnoAcademico(documento));
        // Vorna's keys, for checking the lessons as they are written: read
        // now, while the exchange file's data groups are still in the
        // document whose root the result's replaces.
        const ClavesVorna claves = LeerClavesVorna(lectura);

        if (!BuscarArchivo(directorioTrabajo_, "PERIODOS.DBF"))
            return Detener(MotivoDetencion::SinPeriodos, kSinPeriodos);
        const FechasPeriodo fechas = LeerFechasPeriodo();
        if (const auto ajeno = SolucNoCorresponde(abiertas_.tablas))
            return Detener(MotivoDetencion::SolucNoCorresponde, *ajeno);

        xmlNode* bloqueDatos = SustituirRaiz(documento, fecha_ ? fecha_() : FechaHoraActual(), anno);

        interaccion_.Paso("Comprobando los datos de los profesores en PROFT.DBF");
        if (!ComprobarProfesores())
            return Detener(MotivoDetencion::ProfesorIncompleto, kMensajeProfesorIncompleto);

        interaccion_.Paso("Escribiendo el horario de cada profesor");
        const std::string tareaDocencia = BuscarTareaDocencia(directorioTrabajo_);
        // Each teacher's records go to the file as they are made: the result
        // never stands whole in memory.
        GuardadoPorPartes guardado(documento, resultado_.archivoResultado);
        ComprobacionClaves comprobacion(claves, AnsiAUtf8(tareaDocencia));
        const RecuentoHorarios recuento = EscribirHorariosRegulares(documento, bloqueDatos, abiertas_.tablas,
                                                                    fechas, tareaDocencia, &guardado, &comprobacion);
        abiertas_.Cerrar();

        interaccion_.Paso("Guardando " + TextoRuta(resultado_.archivoResultado));
        guardado.Terminar();

        resultado_.desenlace = Desenlace::Finalizado;
        resultado_.profesores = recuento.profesores;
        resultado_.actividades = recuento.actividades;
        resultado_.claves = comprobacion.Informe();
        return resultado_;
    }

  private:
    // The message is shown with the normal cursor; the tables close as the
    // run returns.
    ResultadoImportacion Detener(MotivoDetencion motivo, const std::string& mensaje)
    {
        abiertas_.Cerrar();
        ocupado_.Apagar();
        interaccion_.Mensaje(mensaje);
        resultado_.desenlace = Desenlace::Detenido;
        resultado_.motivo = motivo;
        resultado_.mensaje = mensaje;
        return resultado_;
    }

    FechasPeriodo LeerFechasPeriodo()
    {
        Tabla periodos(directorioTrabajo_, "PERIODOS", TipoTabla::DBase, false);
        periodos.Abrir();
        FechasPeriodo fechas;
        periodos.Primero();
        if (!periodos.Fin())
            fechas = {periodos.LeerTexto("FECINI"), periodos.LeerTexto("FECFIN")};
        periodos.Cerrar();
        return fechas;
    }

    // The person may complete the teachers once; false when one is still
    // incomplete afterwards.
    bool ComprobarProfesores()
    {
        if (ProfesoresCompletos(directorioTrabajo_))
            return true;
        ocupado_.Apagar();
        interaccion_.CompletarProfesores(directorioTrabajo_);
        ocupado_.Encender();
        // The records read PROFT through the run's handle: it must show what
        // was saved meanwhile.
        abiertas_.tablas.wwTableProfesor.Refrescar();
        return ProfesoresCompletos(directorioTrabajo_);
    }

    std::filesystem::path ArchivoXML;
    std::filesystem::path directorioTrabajo_;
    Interaccion& interaccion_;
    std::function<std::string()> fecha_;
    ResultadoImportacion resultado_;
    IndicacionOcupado ocupado_;
    TablasAbiertas abiertas_;
};

} // namespace

ResultadoImportacion EjecutarImportacion(const std::filesystem::path& archivoXml,
                                         const std::filesystem::path& directorioTrabajo,
                                         Interaccion& interaccion, const std::function<std::string()>& fecha)
{
    // A failure unwinds the run: its tables close and the busy indication goes
    // off before the outcome is built here.
    ResultadoImportacion fallo;
    try {
        return Importacion(archivoXml, directorioTrabajo, interaccion, fecha).Ejecutar();
    } catch (const ErrorInterrupcion&) {
        fallo.mensaje =
            "Importación interrumpida a petición del usuario: no se ha escrito el archivo de resultado";
    } catch (const Error& e) {
        fallo.mensaje = e.what();
    } catch (const std::bad_alloc&) {
        fallo.mensaje = "No hay memoria suficiente para terminar la importación";
    } catch (const std::exception& e) {
        fallo.mensaje = std::string("Error inesperado durante la importación: ") + e.what();
    } catch (...) {
        fallo.mensaje = "Error inesperado durante la importación";
    }
    fallo.desenlace = Desenlace::Error;
    fallo.archivoResultado = NombreArchivoResultado(archivoXml);
    return fallo;
}

} // namespace durlavex
