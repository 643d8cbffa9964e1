#pragma once
// The layout of every table that export creates, held once as data, and the
// procedure by which a step recreates one.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tables/tabla.h"

namespace durlavex {

struct Esquema {
    std::string nombre; // table name, e.g. "ASIGNOMT"; the file is NAME.DBF
    std::vector<DefinicionCampo> campos;
    std::vector<DefinicionIndice> indices;
};

namespace esquemas {
extern const Esquema ASIGNOMT;
extern const Esquema ASIGNOMT2;
extern const Esquema PROFT;
extern const Esquema AULAT;
extern const Esquema CURSOST;
extern const Esquema GRUPOST;
extern const Esquema ASIGT;
extern const Esquema DIASHORAST;
extern const Esquema DIASHORAST2;
extern const Esquema PERIODOS;
// Every layout, in the order above.
const std::vector<const Esquema*>& Todos();
} // namespace esquemas

// Deletes NAME.DBF and then NAME.MDX in the directory, each when it exists;
// an Error, deleting neither, when another program holds either open.
void BorrarTabla(const std::filesystem::path& directorio, std::string_view nombre);

// A new, closed handle on NAME.DBF in the directory with the layout's fields
// and indexes, after creating the empty table (steps 2 to 5 of recreating a
// table; the files are deleted first with BorrarTabla where the step says so).
// Its appends are grouped (Tabla::AgruparEscrituras): they reach the file when
// the handle closes.
std::unique_ptr<Tabla> CrearTabla(const std::filesystem::path& directorio, const Esquema& esquema);

} // namespace durlavex
