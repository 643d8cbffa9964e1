#include "exchange/roles_datos.h"

namespace durlavex {

namespace {

// The names in the order real files give them, which is also the order the
// steps count positions in, except in MATERIAS: real files give D_MATERIAC,
// X_MATERIAOMG, N_HORAS (minutes, whatever the name says) and no long code.
constexpr RolesGrupo kRoles[] = {
    {"MATERIAS", {"X_OFERTAMATRIG", "X_MATERIAOMG", "D_MATERIAC", "", "N_HORAS"}, 5},
    {"ACTIVIDADES", {"L_REGULAR", "X_ACTIVIDAD", "D_ACTIVIDAD", "L_REQUNIDAD", "L_REQMATERIA"}, 5},
    {"EMPLEADOS", {"X_EMPLEADO", "F_TOMAPOS", "D_PUESTO", "APELLIDO1", "APELLIDO2", "NOMBRE", ""}, 7},
    {"DEPENDENCIAS", {"X_DEPENDENCIA", "D_DEPENDENCIA"}, 2},
    {"CURSOS_DEL_CENTRO", {"X_OFERTAMATRIG", "D_OFERTAMATRIG"}, 2},
    {"UNIDADES", {"X_UNIDAD", "T_NOMBRE", "X_OFERTAMATRIG"}, 3},
    {"JORNADAS_ESCOLARES", {"X_PLAJORESCCEN", "C_NOMBRE", "F_INIHORREG", "F_FINHORREG"}, 4},
    {"TRAMOS_HORARIOS", {"X_TRAMO", "T_HORCEN", "N_INICIO", "N_FIN", "X_PLAJORESCCEN"}, 5},
};

} // namespace

const RolesGrupo* RolesDe(std::string_view grupo)
{
    for (const RolesGrupo& roles : kRoles)
        if (roles.grupo == grupo)
            return &roles;
    return nullptr;
}

int RolDeNombre(const RolesGrupo& roles, std::string_view nombre)
{
    if (nombre.empty())
        return -1;
    for (std::size_t p = 0; p < roles.roles; ++p)
        if (roles.nombres[p] == nombre)
            return static_cast<int>(p);
    return -1;
}

int PosicionDe(std::string_view grupo, std::string_view nombre)
{
    const RolesGrupo* roles = RolesDe(grupo);
    return roles ? RolDeNombre(*roles, nombre) : -1;
}

std::span<const RolesGrupo> TodosLosRoles()
{
    return kRoles;
}

} // namespace durlavex
