#include "tables/esquemas.h"

#include "platform/dbf/archivo_dbf.h"
#include "platform/rutas.h"

namespace durlavex {

namespace esquemas {

namespace {

DefinicionCampo Texto(std::string nombre, int ancho)
{
    return {std::move(nombre), TipoCampo::Texto, ancho};
}
DefinicionCampo Logico(std::string nombre)
{
    return {std::move(nombre), TipoCampo::Logico, 0};
}
DefinicionCampo Entero(std::string nombre)
{
    return {std::move(nombre), TipoCampo::Entero, 0};
}
DefinicionCampo Flotante(std::string nombre)
{
    return {std::move(nombre), TipoCampo::Flotante, 0};
}

std::vector<DefinicionCampo> CamposDiasHoras()
{
    return {Texto("DIHO", 10),     Texto("CODDIHO", 10),  Texto("DIA", 20),
            Texto("TEXTODIA", 20), Texto("HORA", 8),      Texto("TEXTOHOR", 15),
            Texto("HORADESDE", 8), Texto("HORAHASTA", 8), Texto("MINUTOS", 8)};
}

std::vector<DefinicionCampo> CamposDiasHoras2()
{
    auto campos = CamposDiasHoras();
    campos.push_back(Entero("ORDEN"));
    return campos;
}

} // namespace

const Esquema ASIGNOMT{
    "ASIGNOMT",
    {Texto("COD", 10), Texto("CODLARGO", 10), Texto("NOMBRE", 80), Texto("CODTAREA", 12), Logico("ESTAREA")},
    {}};

const Esquema ASIGNOMT2{"ASIGNOMT2",
                        {Texto("COD", 10), Texto("CODLARGO", 10), Texto("NOMBRE", 80), Texto("MATERIA", 20),
                         Texto("OFERTAMATRI", 20), Texto("CODTAREA", 12), Logico("ESTAREA")},
                        {}};

const Esquema PROFT{"PROFT",
                    {Texto("ABREV", 10), Texto("NOMBRE", 80), Texto("DEPART", 40), Entero("DNI"),
                     Texto("X_EMPLEADO", 10), Texto("F_TOMAPOS", 10)},
                    {}};

const Esquema AULAT{"AULAT",
                    {Texto("ABREV", 10), Texto("NOMBRE", 80), Texto("EDIFICIO", 1), Entero("MAXALUM"),
                     Texto("DEPCENTRO", 10)},
                    {}};

const Esquema CURSOST{"CURSOST",
                      {Texto("ABREV", 3), Texto("TURNO", 1), Texto("NIVEL", 5), Texto("CURSO", 3),
                       Texto("CLAVE", 10), Texto("ESTUD", 80)},
                      {}};

const Esquema GRUPOST{"GRUPOST",
                      {Texto("ABREV", 10), Texto("TURNO", 1), Texto("NIVEL", 5), Texto("CURSO", 3),
                       Texto("GRUPO", 2), Texto("CLAVE", 10), Texto("CLAVECURSO", 10), Texto("DESCRIP", 80)},
                      {}};

const Esquema ASIGT{"ASIGT",
                    {Texto("CASIG", 10), Texto("CPROF", 10), Texto("CGRUP", 10), Texto("CAULA", 10),
                     Texto("TURNO", 10), Texto("NIVEL", 5), Texto("CURSO", 3), Texto("GRUPO", 2),
                     Flotante("HORAS"), Texto("SESIONES", 20), Texto("NCONEX", 4), Texto("CLAVE", 10),
                     Texto("CLAVECURSO", 10), Texto("CTAREA", 10)},
                    {}};

const Esquema DIASHORAST{"DIASHORAST", CamposDiasHoras(), {}};

// The one index of the store: the school-day step reads this grid back by ORDEN.
const Esquema DIASHORAST2{"DIASHORAST2", CamposDiasHoras2(), {{"ORDEN", "ORDEN"}}};

const Esquema PERIODOS{
    "PERIODOS", {Texto("CJORNADA", 10), Texto("JORNADA", 40), Texto("FECINI", 10), Texto("FECFIN", 10)}, {}};

const std::vector<const Esquema*>& Todos()
{
    static const std::vector<const Esquema*> todos{&ASIGNOMT,    &ASIGNOMT2, &PROFT, &AULAT,
                                                   &CURSOST,     &GRUPOST,   &ASIGT, &DIASHORAST,
                                                   &DIASHORAST2, &PERIODOS};
    return todos;
}

} // namespace esquemas

void BorrarTabla(const std::filesystem::path& directorio, std::string_view nombre)
{
    // Both files are checked before either goes.
    for (const char* extension : {".DBF", ".MDX"}) {
        if (auto ruta = BuscarArchivo(directorio, std::string(nombre) + extension))
            dbf::ArchivoDbf::ComprobarLibreParaBorrar(*ruta);
    }
    for (const char* extension : {".DBF", ".MDX"}) {
        if (auto ruta = BuscarArchivo(directorio, std::string(nombre) + extension))
            BorrarArchivo(*ruta);
    }
}

std::unique_ptr<Tabla> CrearTabla(const std::filesystem::path& directorio, const Esquema& esquema)
{
    auto tabla = std::make_unique<Tabla>(directorio, esquema.nombre + ".DBF", TipoTabla::DBase);
    tabla->DefinirCampos(esquema.campos);
    tabla->DefinirIndices(esquema.indices);
    tabla->Crear();
    // A new table is written whole by one step.
    tabla->AgruparEscrituras();
    return tabla;
}

} // namespace durlavex
