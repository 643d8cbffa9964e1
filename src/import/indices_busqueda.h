#pragma once
// In-memory indexes over the tables an import reads lesson by lesson. Each is
// filled by one pass over its table in table order and keeps the first row of
// every key, so a lookup answers what a walk from the first row would.

#include <string>
#include <string_view>
#include <unordered_map>

#include "tables/tablas_principales.h"

namespace durlavex {

// An ASIGT row: the subject key and course key of a subject taught to a group.
struct Asignacion {
    std::string CLAVE;
    std::string CLAVECURSO;
};

// A DIASHORAST row: Vorna's day, its time-slot code and the clock texts.
struct Tramo {
    std::string DIA;
    std::string CODDIHO;
    std::string HORADESDE;
    std::string HORAHASTA;
};

// A GRUPOST row: the group key and the key of the group's course.
struct Grupo {
    std::string CLAVE;
    std::string CLAVECURSO;
};

class IndicesBusqueda {
  public:
    // Reads ASIGT, ASIGNOMT, DIASHORAST, GRUPOST and ASIGNOMT2 through the
    // run's open handles, from their first rows.
    explicit IndicesBusqueda(TablasPrincipales& tablas);

    // Texts are compared exactly, with case; nullptr when no row matches.
    const Asignacion* BuscarAsignacion(std::string_view CASIG, std::string_view CGRUP) const;
    const std::string* BuscarCodTarea(std::string_view COD) const; // ASIGNOMT
    const Tramo* BuscarTramo(std::string_view DIHO) const;
    const Grupo* BuscarGrupo(std::string_view ABREV) const;
    // MATERIA of ASIGNOMT2 by COD and OFERTAMATRI, compared as the table
    // store's Localizar compares: each value cut to its field's width,
    // trailing blanks not significant.
    const std::string* BuscarMateria(std::string_view COD, std::string_view OFERTAMATRI) const;

  private:
    std::unordered_map<std::string, Asignacion> asignaciones_;
    std::unordered_map<std::string, std::string> codTareas_;
    std::unordered_map<std::string, Tramo> tramos_;
    std::unordered_map<std::string, Grupo> grupos_;
    std::unordered_map<std::string, std::string> materias_;
    std::size_t anchoCod_;
    std::size_t anchoOfertaMatri_;
};

} // namespace durlavex
