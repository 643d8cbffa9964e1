#pragma once
// The role of each datum a step reads, and the names real exchange files give
// it in their `nombre_dato` attribute.
//
// A step asks for the datum at a position of its record (MATERIAS 0: the
// offer, 1: the subject key, 2: the name...). Files that name their data do
// not always give them in that order (MATERIAS gives the name before the
// key, and no long code), so a datum is found by its name first and by its
// position only when no datum carries that name. Here is the one place that
// knows the names: a line per data group, a name per position, an empty name
// where files give that role none.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace durlavex {

inline constexpr std::size_t kMaxRolesGrupo = 8;

struct RolesGrupo {
    std::string_view grupo;                               // seq of the data group
    std::array<std::string_view, kMaxRolesGrupo> nombres; // by position; empty: no known name
    std::size_t roles;                                    // positions the line covers
};

// The line of a data group; nullptr for a group whose data are read by
// position only.
const RolesGrupo* RolesDe(std::string_view grupo);

// The role whose name is `nombre`, or -1 when no role of the group has it.
int RolDeNombre(const RolesGrupo& roles, std::string_view nombre);

// The position of the datum named `nombre` in the line of `grupo`: how a
// step asks for a datum by its name. -1 when the line has no such name.
int PosicionDe(std::string_view grupo, std::string_view nombre);

// Every line, for tests.
std::span<const RolesGrupo> TodosLosRoles();

} // namespace durlavex
