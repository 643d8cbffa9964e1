// Courses and groups: CURSOST (one row per course, with its education level
// from NIVELCAN.DBF) and GRUPOST (one row per group, linked to its course by
// the course key, each with a unique code).

#include <string>
#include <unordered_map>

#include "export/codigos.h"
#include "export/contexto_exportacion.h"
#include "platform/numeros.h"
#include "platform/texto.h"
#include "tables/esquemas.h"

namespace durlavex {

namespace {

constexpr std::size_t kAnchoCodigo = 10;
constexpr const char* kNivelDesconocido = "Niv";

// What a group takes from its course, as CURSOST reads it back.
struct DatosCurso {
    std::string NIVEL;
    std::string CURSO;
    std::string ESTUD;
};

// The level of a course: its short and full name in NIVELCAN.DBF by the
// course key. When the key is not there, or its short name is blank, the
// level the course's name tells (NIVELES.TXT) stands in, full name and all;
// "Niv" only when the name tells none either, with the full name NIVELCAN.DBF
// gave, if any.
struct Nivel {
    std::string abreviatura;
    std::string nombre;
    bool encontrado = false;
};

Nivel BuscarNivel(Tabla& nivelcan, const NivelesPorNombre& porNombre, std::int32_t clave,
                  const std::string& nombreCurso)
{
    Nivel nivel;
    // The handle answers repeated locates from an index it builds once, so
    // the first row of the key, in table order, costs no walk of the table.
    if (nivelcan.Localizar("X_OFERTAMATRIG", {clave})) {
        nivel.encontrado = true;
        nivel.abreviatura = nivelcan.LeerTexto("NIVEL_ABREV").Bytes();
        nivel.nombre = nivelcan.LeerTexto("NIVEL").Bytes();
    }
    if (nivel.abreviatura.empty()) {
        if (const NivelPorNombre* deducido = porNombre.Buscar(nombreCurso))
            return Nivel{deducido->nivel, deducido->nombre, true};
        nivel.abreviatura = kNivelDesconocido;
    }
    return nivel;
}

void ExportarCursos(ContextoExportacion& ctx, Tabla& cursost)
{
    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("CURSOS_DEL_CENTRO");
    Tabla& nivelcan = ctx.tablas.wwTableNIVELEX;
    nivelcan.FijarDirectorio(ctx.carpetaPrograma);
    nivelcan.Abrir();
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        const std::string clave = lectura.LeerDato(0);
        const std::int32_t numero = lectura.EnDato(0, [&] { return TextoAEntero(clave); });
        const std::string nombre = lectura.LeerDato(1);

        const Nivel nivel = BuscarNivel(nivelcan, ctx.NivelesPorNombreCurso(), numero, nombre);
        const std::string estud = nivel.encontrado ? nombre + " (" + nivel.nombre + ")" : nombre;
        const std::string curso = nombre.substr(0, 1);

        cursost.Agregar();
        cursost.FijarTexto("CLAVE", VistaAnsi(clave));
        cursost.FijarTexto("NIVEL", VistaAnsi(nivel.abreviatura));
        cursost.FijarTexto("CURSO", VistaAnsi(curso));
        cursost.FijarTexto("ESTUD", VistaAnsi(estud));
        cursost.FijarTexto("ABREV", VistaAnsi(nivel.abreviatura.substr(0, 1) + curso));
        cursost.Grabar();
    }
    nivelcan.Cerrar();
}

// The courses by CLAVE as the table holds them, the first row of each key
// kept: what a walk of CURSOST from its first row would find.
std::unordered_map<std::string, DatosCurso> IndiceCursos(Tabla& cursost)
{
    std::unordered_map<std::string, DatosCurso> cursos;
    for (cursost.Primero(); !cursost.Fin(); cursost.Siguiente())
        cursos.try_emplace(cursost.LeerTexto("CLAVE").Bytes(),
                           DatosCurso{cursost.LeerTexto("NIVEL").Bytes(), cursost.LeerTexto("CURSO").Bytes(),
                                      cursost.LeerTexto("ESTUD").Bytes()});
    return cursos;
}

// The group's name without its blanks, at most ten characters of it.
std::string CodigoDeNombre(const std::string& nombre)
{
    std::string codigo;
    for (char c : nombre) {
        if (codigo.size() == kAnchoCodigo)
            break;
        if (c != ' ')
            codigo += c;
    }
    return std::string(Recortar(codigo));
}

void ExportarUnidades(ContextoExportacion& ctx, Tabla& cursost, Tabla& grupost)
{
    const auto cursos = IndiceCursos(cursost);
    const DatosCurso sinCurso;

    // Group codes are one code whatever their letter case.
    ConjuntoTextos codigos(Caso::Ignora);
    ContadoresCodigo contadores;

    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("UNIDADES");
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        const std::string clave = lectura.LeerDato(0);
        const std::string nombre = lectura.LeerDato(1);
        const std::string claveCurso = lectura.LeerDato(2);

        const auto encontrado = cursos.find(claveCurso);
        const DatosCurso& curso = encontrado == cursos.end() ? sinCurso : encontrado->second;
        const std::string grupo = nombre.empty() ? std::string() : nombre.substr(nombre.size() - 1);
        const std::string codigo = lectura.EnDato(1, [&] {
            return GenerarCodigoCorto(CodigoDeNombre(nombre), codigos, contadores, FormaCodigo::Acortar);
        });
        // A group of an unknown course is still described, by its letter.
        const std::string descripcion = curso.ESTUD.empty()
                                            ? " " + curso.NIVEL + " " + curso.CURSO + " " + grupo
                                            : "(" + nombre + ") " + curso.ESTUD;

        grupost.Agregar();
        grupost.FijarTexto("ABREV", VistaAnsi(codigo));
        grupost.FijarTexto("TURNO", "");
        grupost.FijarTexto("NIVEL", VistaAnsi(curso.NIVEL));
        grupost.FijarTexto("CURSO", VistaAnsi(curso.CURSO));
        grupost.FijarTexto("GRUPO", VistaAnsi(grupo));
        grupost.FijarTexto("CLAVE", VistaAnsi(clave));
        grupost.FijarTexto("CLAVECURSO", VistaAnsi(claveCurso));
        grupost.FijarTexto("DESCRIP", VistaAnsi(descripcion));
        grupost.Grabar();
    }
}

} // namespace

void ExportarCursosUnidades(ContextoExportacion& ctx)
{
    BorrarTabla(ctx.directorioTrabajo, esquemas::GRUPOST.nombre);
    BorrarTabla(ctx.directorioTrabajo, esquemas::CURSOST.nombre);
    auto cursost = CrearTabla(ctx.directorioTrabajo, esquemas::CURSOST);
    auto grupost = CrearTabla(ctx.directorioTrabajo, esquemas::GRUPOST);

    cursost->Abrir();
    ExportarCursos(ctx, *cursost);
    grupost->Abrir();
    ExportarUnidades(ctx, *cursost, *grupost);
    grupost->Cerrar();
    cursost->Cerrar();
}

} // namespace durlavex
