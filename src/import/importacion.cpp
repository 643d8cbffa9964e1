#include "import/importacion.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <system_error>

#include "exchange/lectura.h"
#include "import/archivo_resultado.h"
#include "import/claves_vorna.h"
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

constexpr TextosCorrida kTextos{
    "la importación",
    "Importación interrumpida a petición del usuario: no se ha escrito el archivo de resultado"};

class Importacion {
  public:
    Importacion(const OpcionesCorrida& opciones, Interaccion& interaccion)
        : opciones_(opciones), ArchivoXML(opciones.archivoXml),
          directorioTrabajo_(opciones.DirectorioTrabajoEfectivo()), interaccion_(interaccion),
          ocupado_(interaccion), abiertas_(directorioTrabajo_)
    {
    }

    void Importar(ResultadoImportacion& resultado)
    {
        if (!ExisteArchivo(ArchivoXML))
            return Detener(resultado, Detencion::ArchivoInexistente, kNoExisteArchivo);
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
            return Detener(resultado, Detencion::SinPeriodos, kSinPeriodos);
        const FechasPeriodo fechas = LeerFechasPeriodo();
        if (const auto ajeno = SolucNoCorresponde(abiertas_.tablas))
            return Detener(resultado, Detencion::SolucNoCorresponde, *ajeno);

        xmlNode* bloqueDatos = SustituirRaiz(documento, opciones_.RelojEfectivo().FechaHora(), anno);

        interaccion_.Paso("Comprobando los datos de los profesores en PROFT.DBF");
        if (!ComprobarProfesores())
            return Detener(resultado, Detencion::ProfesorIncompleto, kMensajeProfesorIncompleto);

        interaccion_.Paso("Escribiendo el horario de cada profesor");
        const std::string tareaDocencia = BuscarTareaDocencia(directorioTrabajo_);
        // Each teacher's records go to the file as they are made: the result
        // never stands whole in memory.
        const std::filesystem::path archivoResultado = NombreArchivoResultado(ArchivoXML);
        GuardadoPorPartes guardado(documento, archivoResultado);
        ComprobacionClaves comprobacion(claves, AnsiAUtf8(VistaAnsi(tareaDocencia)));
        const RecuentoHorarios recuento = EscribirHorariosRegulares(
            documento, bloqueDatos, abiertas_.tablas, fechas, tareaDocencia, &guardado, &comprobacion);
        abiertas_.Cerrar();

        interaccion_.Paso("Guardando " + TextoRuta(archivoResultado));
        guardado.Terminar();

        resultado.desenlace = Desenlace::Finalizado;
        resultado.profesores = recuento.profesores;
        resultado.actividades = recuento.actividades;
        resultado.claves = comprobacion.Informe();
    }

  private:
    // The tables close before the message is shown.
    void Detener(ResultadoImportacion& resultado, Detencion detencion, const std::string& mensaje)
    {
        abiertas_.Cerrar();
        durlavex::Detener(resultado, interaccion_, ocupado_, detencion, mensaje);
    }

    FechasPeriodo LeerFechasPeriodo()
    {
        Tabla periodos(directorioTrabajo_, "PERIODOS", TipoTabla::DBase, false);
        periodos.Abrir();
        FechasPeriodo fechas;
        periodos.Primero();
        if (!periodos.Fin())
            fechas = {periodos.LeerTexto("FECINI").Bytes(), periodos.LeerTexto("FECFIN").Bytes()};
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

    const OpcionesCorrida& opciones_;
    std::filesystem::path ArchivoXML;
    std::filesystem::path directorioTrabajo_;
    Interaccion& interaccion_;
    IndicacionOcupado ocupado_;
    TablasAbiertas abiertas_;
};

} // namespace

ResultadoImportacion EjecutarImportacion(const OpcionesCorrida& opciones, Interaccion& interaccion)
{
    ResultadoImportacion resultado = ProtegerCorrida<ResultadoImportacion>(
        kTextos, [&](ResultadoImportacion& r) { Importacion(opciones, interaccion).Importar(r); });
    resultado.archivoResultado = NombreArchivoResultado(opciones.archivoXml);
    return resultado;
}

} // namespace durlavex
