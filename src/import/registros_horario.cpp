#include "import/registros_horario.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "import/indices_busqueda.h"
#include "platform/comillas.h"
#include "platform/interrupcion.h"
#include "platform/numeros.h"
#include "platform/texto.h"
#include "platform/xml/escritura.h"
#include "tables/tabla.h"
#include "tables/tarea_docencia.h"

namespace durlavex {

namespace {

struct FilaProfesor {
    std::string X_EMPLEADO;
    std::string F_TOMAPOS;
    std::string ABREV;
    std::string NOMBRE;
};

// A SOLUC row that Talvorin placed (DIA other than 0).
struct Leccion {
    std::int32_t DIA = 0;
    std::int32_t HORA = 0;
    std::string ASIG;
    std::string CODGRUPO;
    std::string TAREA;
    std::string AULA;
};

std::vector<FilaProfesor> LeerProfesores(Tabla& proft)
{
    std::vector<FilaProfesor> filas;
    for (proft.Primero(); !proft.Fin(); proft.Siguiente())
        filas.push_back({proft.LeerTexto("X_EMPLEADO").Bytes(), proft.LeerTexto("F_TOMAPOS").Bytes(),
                         proft.LeerTexto("ABREV").Bytes(), proft.LeerTexto("NOMBRE").Bytes()});
    return filas;
}

// The placed lessons of every teacher of PROFT, in SOLUC's table order, keyed
// by PROF compared exactly and with case: one pass instead of a filter on
// SOLUC for each teacher. As with the filter, DIA is read only from rows of
// known teachers, and the other fields only from placed rows.
std::unordered_map<std::string, std::vector<Leccion>>
AgruparLecciones(Tabla& soluc, const std::vector<FilaProfesor>& profesores)
{
    std::unordered_map<std::string, std::vector<Leccion>> porProfesor;
    for (const auto& profesor : profesores)
        porProfesor.try_emplace(profesor.ABREV);
    soluc.QuitarFiltro();
    for (soluc.Primero(); !soluc.Fin(); soluc.Siguiente()) {
        const auto it = porProfesor.find(soluc.LeerTexto("PROF").Bytes());
        if (it == porProfesor.end())
            continue;
        const std::int32_t dia = soluc.LeerEntero("DIA");
        if (dia == 0)
            continue;
        it->second.push_back({dia, soluc.LeerEntero("HORA"), soluc.LeerTexto("ASIG").Bytes(),
                              soluc.LeerTexto("CODGRUPO").Bytes(), soluc.LeerTexto("TAREA").Bytes(),
                              soluc.LeerTexto("AULA").Bytes()});
    }
    return porProfesor;
}

xmlNode* AgregarGrupo(const DocumentoXml& documento, xmlNode* padre, const std::string& seq)
{
    xmlNode* grupo = CrearElemento(documento, "grupo_datos");
    FijarAtributo(grupo, "seq", seq);
    AgregarHijo(padre, grupo);
    return grupo;
}

void AgregarDatoUtf8(const DocumentoXml& documento, xmlNode* registro, std::string_view nombre,
                     std::string_view valorUtf8)
{
    xmlNode* dato = CrearElemento(documento, "dato");
    FijarAtributo(dato, "nombre_dato", nombre);
    FijarTexto(dato, valorUtf8);
    AgregarHijo(registro, dato);
}

// A datum of a record; table text is single-byte and becomes Unicode here.
void AgregarDato(const DocumentoXml& documento, xmlNode* registro, std::string_view nombre,
                 std::string_view valorAnsi)
{
    AgregarDatoUtf8(documento, registro, nombre, AnsiAUtf8(VistaAnsi(valorAnsi)));
}

// What every lesson record of a run reads besides its SOLUC row.
struct ContextoLecciones {
    const DocumentoXml& documento;
    const IndicesBusqueda& indices;
    const FechasPeriodo& fechas;
    const std::string& tareaDocencia;
    ComprobacionClaves* comprobacion; // null: the keys are not checked
};

// A key as the result file will hold it: in Unicode, and in the text XML
// admits. The check sees the same text Vorna will read.
std::string Clave(std::string_view ansi)
{
    return TextoAdmitido(AnsiAUtf8(VistaAnsi(ansi)));
}

// "GLA (García López, Ana); en SOLUC.DBF DIA 1, HORA 2, ASIG «MAT», ...":
// the lesson as the person finds it in Talvorin.
std::string DescribirLeccion(const FilaProfesor& profesor, const Leccion& leccion)
{
    const auto texto = [](std::string_view ansi) { return Entre(Clave(Recortar(ansi))); };
    std::string nombre = AnsiAUtf8(VistaAnsi(Recortar(profesor.NOMBRE)));
    return "profesor " + AnsiAUtf8(VistaAnsi(Recortar(profesor.ABREV))) +
           (nombre.empty() ? "" : " (" + nombre + ")") + "; en SOLUC.DBF DIA " + std::to_string(leccion.DIA) +
           ", HORA " + std::to_string(leccion.HORA) + ", ASIG " + texto(leccion.ASIG) + ", CODGRUPO " +
           texto(leccion.CODGRUPO) + ", AULA " + texto(leccion.AULA) + ", TAREA " + texto(leccion.TAREA);
}

// One lesson record; every value starts empty for each lesson.
void EscribirLeccion(const ContextoLecciones& ctx, xmlNode* profesorXml, const FilaProfesor& profesor,
                     int numero, const Leccion& leccion)
{
    const DocumentoXml& documento = ctx.documento;
    xmlNode* registro = AgregarGrupo(documento, profesorXml, "ACTIVIDAD_" + std::to_string(numero));

    std::string claveMateria;
    std::string claveCurso;
    if (const Asignacion* asignacion = ctx.indices.BuscarAsignacion(leccion.ASIG, leccion.CODGRUPO)) {
        claveMateria = asignacion->CLAVE;
        claveCurso = asignacion->CLAVECURSO;
    }

    std::string tarea = leccion.TAREA;
    if (EsBlanco(tarea))
        if (const std::string* codTarea = ctx.indices.BuscarCodTarea(leccion.ASIG))
            tarea = *codTarea;

    // The time slot's key: the day followed by the hour, day 3 hour 2 is "32".
    Tramo tramo;
    if (const Tramo* encontrado =
            ctx.indices.BuscarTramo(std::to_string(leccion.DIA) + std::to_string(leccion.HORA)))
        tramo = *encontrado;
    const std::string X_TRAMO = Clave(tramo.CODDIHO);
    const std::string X_DEPENDENCIA = EsBlanco(leccion.AULA) ? std::string() : Clave(leccion.AULA);
    AgregarDato(documento, registro, "N_DIASEMANA", tramo.DIA);
    AgregarDatoUtf8(documento, registro, "X_TRAMO", X_TRAMO);
    AgregarDatoUtf8(documento, registro, "X_DEPENDENCIA", X_DEPENDENCIA);

    std::string claveUnidad;
    if (const Grupo* grupo = ctx.indices.BuscarGrupo(leccion.CODGRUPO)) {
        claveUnidad = grupo->CLAVE;
        if (EsBlanco(claveCurso))
            claveCurso = grupo->CLAVECURSO;
    }
    if (EsBlanco(claveMateria))
        if (const std::string* materia = ctx.indices.BuscarMateria(leccion.ASIG, claveCurso))
            claveMateria = *materia;

    const std::string X_UNIDAD = Clave(claveUnidad);
    const std::string X_OFERTAMATRIG = Clave(claveCurso);
    const std::string X_MATERIAOMG = Clave(claveMateria);
    AgregarDatoUtf8(documento, registro, "X_UNIDAD", X_UNIDAD);
    AgregarDatoUtf8(documento, registro, "X_OFERTAMATRIG", X_OFERTAMATRIG);
    AgregarDatoUtf8(documento, registro, "X_MATERIAOMG", X_MATERIAOMG);
    AgregarDato(documento, registro, "F_INICIO", ctx.fechas.FECINI);
    AgregarDato(documento, registro, "F_FIN", ctx.fechas.FECFIN);
    AgregarDato(documento, registro, "N_HORINI", std::to_string(MinutosDeReloj(tramo.HORADESDE)));
    AgregarDato(documento, registro, "N_HORFIN", std::to_string(MinutosDeReloj(tramo.HORAHASTA)));

    if (EsBlanco(tarea) && !EsBlanco(ctx.tareaDocencia))
        tarea = ctx.tareaDocencia;
    const std::string X_ACTIVIDAD = Clave(tarea);
    AgregarDatoUtf8(documento, registro, "X_ACTIVIDAD", X_ACTIVIDAD);

    if (ctx.comprobacion)
        ctx.comprobacion->Ver({X_TRAMO, X_DEPENDENCIA, X_UNIDAD, X_OFERTAMATRIG, X_MATERIAOMG, X_ACTIVIDAD},
                              [&] { return DescribirLeccion(profesor, leccion); });
}

} // namespace

std::string BuscarTareaDocencia(const std::filesystem::path& directorioTrabajo)
{
    Tabla asignomt(directorioTrabajo, "ASIGNOMT", TipoTabla::DBase, false);
    asignomt.Abrir();
    bool hay513 = asignomt.Localizar("COD", {ValorClave{std::string(kTarea513)}});
    std::string docencia;
    for (asignomt.Primero(); !hay513 && !asignomt.Fin(); asignomt.Siguiente()) {
        if (asignomt.LeerTexto("ESTAREA") == "T" && EsNombreDocencia(asignomt.LeerTexto("NOMBRE").Bytes())) {
            docencia = asignomt.LeerTexto("CODTAREA").Bytes();
            break;
        }
    }
    asignomt.Cerrar();
    return hay513 ? kTarea513 : docencia;
}

std::int32_t MinutosDeReloj(std::string_view texto)
{
    std::string t(texto);
    if (t.size() < 5)
        t.insert(0, "0");
    const std::string horas = t.substr(0, 2);
    const std::string minutos = t.size() < 2 ? t : t.substr(t.size() - 2);
    return TextoAEntero(horas) * 60 + TextoAEntero(minutos);
}

RecuentoHorarios EscribirHorariosRegulares(const DocumentoXml& documento, xmlNode* bloqueDatos,
                                           TablasPrincipales& tablas, const FechasPeriodo& fechas,
                                           const std::string& tareaDocencia, GuardadoPorPartes* guardado,
                                           ComprobacionClaves* comprobacion)
{
    Tabla& proft = tablas.wwTableProfesor;
    const std::vector<FilaProfesor> profesores = LeerProfesores(proft);
    const auto lecciones = AgruparLecciones(tablas.wwTableSoluc, profesores);

    xmlNode* horarios = AgregarGrupo(documento, bloqueDatos, "HORARIOS_REGULARES");
    FijarAtributo(horarios, "registros", std::to_string(proft.NumeroFilas()));
    if (guardado)
        guardado->Comenzar(horarios);

    // A run without lessons reads none of the lookup tables.
    std::optional<IndicesBusqueda> indices;
    if (std::any_of(lecciones.begin(), lecciones.end(), [](const auto& par) { return !par.second.empty(); }))
        indices.emplace(tablas);

    RecuentoHorarios recuento;
    for (const FilaProfesor& profesor : profesores) {
        ComprobarInterrupcion();
        const std::vector<Leccion>& suyas = lecciones.at(profesor.ABREV);
        xmlNode* registro = CrearElemento(documento, "grupo_datos");
        FijarAtributo(registro, "seq", "HORARIO_REGULAR_PROFESOR_" + std::to_string(++recuento.profesores));
        FijarAtributo(registro, "registros", std::to_string(suyas.size()));
        AgregarHijo(horarios, registro);
        AgregarDato(documento, registro, "X_EMPLEADO", profesor.X_EMPLEADO);
        AgregarDato(documento, registro, "F_TOMAPOS", profesor.F_TOMAPOS);

        int numero = 0;
        for (const Leccion& leccion : suyas) {
            EscribirLeccion({documento, *indices, fechas, tareaDocencia, comprobacion}, registro, profesor,
                            ++numero, leccion);
            ++recuento.actividades;
        }
        if (guardado)
            guardado->Escribir(registro);
    }
    return recuento;
}

} // namespace durlavex
