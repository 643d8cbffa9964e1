#include "import/claves_vorna.h"

#include "exchange/roles_datos.h"
#include "platform/texto.h"
#include "tables/tarea_docencia.h"

namespace durlavex {

namespace {

// Reads every record of a group, handing `leer` a function that gives a
// datum of the record by its name.
template <typename Leer> void PorCadaRegistro(LecturaIntercambio& lectura, std::string_view grupo, Leer leer)
{
    const int registros = lectura.SeleccionarGrupo(grupo);
    for (int i = 0; i < registros; ++i) {
        lectura.AbrirRegistro(i);
        leer([&](std::string_view nombre) { return lectura.LeerDatoUtf8(PosicionDe(grupo, nombre)); });
    }
}

void Agregar(ClavesTexto& claves, std::string clave)
{
    if (!clave.empty())
        claves.insert(std::move(clave));
}

} // namespace

bool ClavesVorna::Vacias() const
{
    return unidades.empty() && cursos.empty() && tramos.empty() && dependencias.empty() &&
           actividades.empty() && materiasPorCurso.empty();
}

bool ClavesVorna::MateriaDelCurso(std::string_view curso, std::string_view materia) const
{
    const auto it = materiasPorCurso.find(curso);
    return it != materiasPorCurso.end() && it->second.find(materia) != it->second.end();
}

ClavesVorna LeerClavesVorna(LecturaIntercambio& lectura, bool conNombresEmpleados)
{
    ClavesVorna claves;
    PorCadaRegistro(lectura, "UNIDADES", [&](auto dato) { Agregar(claves.unidades, dato("X_UNIDAD")); });
    PorCadaRegistro(lectura, "CURSOS_DEL_CENTRO",
                    [&](auto dato) { Agregar(claves.cursos, dato("X_OFERTAMATRIG")); });
    PorCadaRegistro(lectura, "TRAMOS_HORARIOS", [&](auto dato) { Agregar(claves.tramos, dato("X_TRAMO")); });
    PorCadaRegistro(lectura, "DEPENDENCIAS",
                    [&](auto dato) { Agregar(claves.dependencias, dato("X_DEPENDENCIA")); });
    PorCadaRegistro(lectura, "MATERIAS", [&](auto dato) {
        std::string materia = dato("X_MATERIAOMG");
        if (!materia.empty())
            claves.materiasPorCurso[dato("X_OFERTAMATRIG")].insert(std::move(materia));
    });
    TareaDocencia docencia;
    PorCadaRegistro(lectura, "ACTIVIDADES", [&](auto dato) {
        std::string codigo = dato("X_ACTIVIDAD");
        // The name is compared as the export compared it, in the code page.
        docencia.Ver(codigo, Utf8AAnsi(dato("D_ACTIVIDAD")).Bytes());
        Agregar(claves.actividades, std::move(codigo));
    });
    claves.tareaDocencia = docencia.Codigo();
    if (conNombresEmpleados) {
        PorCadaRegistro(lectura, "EMPLEADOS", [&](auto dato) {
            std::string empleado = dato("X_EMPLEADO");
            if (!empleado.empty())
                claves.nombresEmpleados.try_emplace(
                    std::move(empleado), dato("APELLIDO1") + " " + dato("APELLIDO2") + ", " + dato("NOMBRE"));
        });
    }
    return claves;
}

} // namespace durlavex
