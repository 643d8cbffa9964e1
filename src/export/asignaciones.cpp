// Subject assignments: ASIGT, one row for every subject record and every
// group of its course, with the hours to place and their split into sessions.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/contexto_exportacion.h"
#include "platform/numeros.h"
#include "platform/texto.h"
#include "tables/esquemas.h"

namespace durlavex {

namespace {

constexpr std::size_t kAnchoNombre = 80;
constexpr const char* kMinutosPorDefecto = "240";
constexpr std::int64_t kSesionesSencillas = 13;

// What an ASIGT row takes from its group.
struct Grupo {
    TextoAnsi ABREV;
    TextoAnsi NIVEL;
    TextoAnsi CURSO;
    TextoAnsi GRUPO;
};

// How a subject name is matched against ASIGNOMT: ASCII letters upper-cased,
// blanks and control characters at both ends ignored.
std::string ClaveNombre(std::string_view nombre)
{
    return std::string(Recortar(MayusculasAscii(nombre)));
}

// The code of the first ASIGNOMT row of each name, in table order.
std::unordered_map<std::string, TextoAnsi> CodigosPorNombre(Tabla& asignomt)
{
    std::unordered_map<std::string, TextoAnsi> codigos;
    for (asignomt.Primero(); !asignomt.Fin(); asignomt.Siguiente())
        codigos.try_emplace(ClaveNombre(asignomt.LeerTexto("NOMBRE").Bytes()), asignomt.LeerTexto("COD"));
    return codigos;
}

// The groups of each course key (CLAVECURSO as stored), in table order.
std::unordered_map<std::string, std::vector<Grupo>> GruposPorCurso(Tabla& grupost)
{
    std::unordered_map<std::string, std::vector<Grupo>> grupos;
    for (grupost.Primero(); !grupost.Fin(); grupost.Siguiente())
        grupos[grupost.LeerTexto("CLAVECURSO").Bytes()].push_back(
            Grupo{grupost.LeerTexto("ABREV"), grupost.LeerTexto("NIVEL"), grupost.LeerTexto("CURSO"),
                  grupost.LeerTexto("GRUPO")});
    return grupos;
}

// ASIGT's fields, found once: a large school writes hundreds of thousands of
// its rows.
struct CamposAsigt {
    explicit CamposAsigt(const Tabla& asigt)
        : CASIG(asigt.BuscarCampo("CASIG")), CGRUP(asigt.BuscarCampo("CGRUP")),
          CAULA(asigt.BuscarCampo("CAULA")), TURNO(asigt.BuscarCampo("TURNO")),
          NIVEL(asigt.BuscarCampo("NIVEL")), CURSO(asigt.BuscarCampo("CURSO")),
          GRUPO(asigt.BuscarCampo("GRUPO")), HORAS(asigt.BuscarCampo("HORAS")),
          SESIONES(asigt.BuscarCampo("SESIONES")), CLAVE(asigt.BuscarCampo("CLAVE")),
          CLAVECURSO(asigt.BuscarCampo("CLAVECURSO")), CTAREA(asigt.BuscarCampo("CTAREA"))
    {
    }
    CampoTabla CASIG, CGRUP, CAULA, TURNO, NIVEL, CURSO, GRUPO, HORAS, SESIONES, CLAVE, CLAVECURSO, CTAREA;
};

std::int64_t HorasDeMinutos(std::int32_t minutos)
{
    // Whole hours rounded up; a subject always gets at least one.
    const std::int64_t m = minutos;
    const std::int64_t horas = m > 0 ? (m + 59) / 60 : m / 60;
    return horas < 1 ? 1 : horas;
}

std::string SesionesDeHoras(std::int64_t horas)
{
    // Thirteen single sessions at most; the hours beyond them are written as
    // one number in front.
    if (horas <= kSesionesSencillas)
        return std::string(static_cast<std::size_t>(horas), '1');
    return std::to_string(horas - kSesionesSencillas) + std::string(kSesionesSencillas, '1');
}

} // namespace

void ExportarAsignaciones(ContextoExportacion& ctx)
{
    BorrarTabla(ctx.directorioTrabajo, esquemas::ASIGT.nombre);
    auto asigt = CrearTabla(ctx.directorioTrabajo, esquemas::ASIGT);

    Tabla& grupost = ctx.tablas.wwTableGrupos;
    Tabla& asignomt = ctx.tablas.wwTableNomAsg;
    asigt->Abrir();
    grupost.Abrir();
    asignomt.Abrir();
    const auto codigos = CodigosPorNombre(asignomt);
    const auto gruposPorCurso = GruposPorCurso(grupost);
    const CamposAsigt campos(*asigt);

    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("MATERIAS");
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        const std::string claveCurso = lectura.LeerDato(0);
        const std::string clave = lectura.LeerDato(1);
        const std::string nombre = lectura.LeerDato(2);
        const std::string tiempo = lectura.LeerDato(4);

        const auto codigo = codigos.find(ClaveNombre(std::string_view(nombre).substr(0, kAnchoNombre)));
        if (codigo == codigos.end() || EsBlanco(codigo->second.Bytes()))
            continue;
        const auto grupos = gruposPorCurso.find(claveCurso);
        if (grupos == gruposPorCurso.end())
            continue;

        // Converted only now that a row is to be written: a bad time of a
        // subject that yields no row stops nothing.
        const std::int64_t horas = HorasDeMinutos(
            lectura.EnDato(4, [&] { return TextoAEntero(tiempo.empty() ? kMinutosPorDefecto : tiempo); }));
        const std::string sesiones = SesionesDeHoras(horas);
        for (const Grupo& grupo : grupos->second) {
            asigt->Agregar();
            asigt->FijarTexto(campos.CASIG, codigo->second);
            asigt->FijarTexto(campos.CGRUP, grupo.ABREV);
            asigt->FijarTexto(campos.CAULA, "");
            asigt->FijarTexto(campos.TURNO, "");
            asigt->FijarTexto(campos.NIVEL, grupo.NIVEL);
            asigt->FijarTexto(campos.CURSO, grupo.CURSO);
            asigt->FijarTexto(campos.GRUPO, grupo.GRUPO);
            asigt->FijarFlotante(campos.HORAS, static_cast<double>(horas));
            asigt->FijarTexto(campos.SESIONES, VistaAnsi(sesiones));
            asigt->FijarTexto(campos.CLAVE, VistaAnsi(clave));
            asigt->FijarTexto(campos.CLAVECURSO, VistaAnsi(claveCurso));
            if (!ctx.TareaDocencia.empty())
                asigt->FijarTexto(campos.CTAREA, VistaAnsi(ctx.TareaDocencia));
            asigt->Grabar();
        }
    }
    asigt->Cerrar();
    grupost.Cerrar();
    asignomt.Cerrar();
}

} // namespace durlavex
