#include "import/indices_busqueda.h"

#include "platform/error.h"
#include "platform/texto.h"
#include "tables/esquemas.h"

namespace durlavex {

namespace {

// Two texts as one key; the length prefix keeps ("ab","c") apart from ("a","bc").
std::string ClaveDoble(std::string_view a, std::string_view b)
{
    std::string clave = std::to_string(a.size());
    clave += ':';
    clave += a;
    clave += b;
    return clave;
}

std::size_t AnchoCampo(const Esquema& esquema, std::string_view campo)
{
    for (const auto& definicion : esquema.campos)
        if (definicion.nombre == campo)
            return static_cast<std::size_t>(definicion.ancho);
    throw Error("La tabla " + esquema.nombre + " no define el campo " + std::string(campo));
}

std::string ComoLocalizar(std::string_view valor, std::size_t ancho)
{
    return std::string(QuitarBlancosFinales(valor.substr(0, ancho)));
}

template <typename Mapa> const typename Mapa::mapped_type* Buscar(const Mapa& mapa, const std::string& clave)
{
    const auto it = mapa.find(clave);
    return it == mapa.end() ? nullptr : &it->second;
}

} // namespace

IndicesBusqueda::IndicesBusqueda(TablasPrincipales& tablas)
    : anchoCod_(AnchoCampo(esquemas::ASIGNOMT2, "COD")),
      anchoOfertaMatri_(AnchoCampo(esquemas::ASIGNOMT2, "OFERTAMATRI"))
{
    // try_emplace leaves an existing key alone: the first row in table order wins.
    Tabla& asig = tablas.wwTableAsig;
    for (asig.Primero(); !asig.Fin(); asig.Siguiente())
        asignaciones_.try_emplace(
            ClaveDoble(asig.LeerTexto("CASIG").Bytes(), asig.LeerTexto("CGRUP").Bytes()),
            Asignacion{asig.LeerTexto("CLAVE").Bytes(), asig.LeerTexto("CLAVECURSO").Bytes()});

    Tabla& nomAsg = tablas.wwTableNomAsg;
    for (nomAsg.Primero(); !nomAsg.Fin(); nomAsg.Siguiente())
        codTareas_.try_emplace(nomAsg.LeerTexto("COD").Bytes(), nomAsg.LeerTexto("CODTAREA").Bytes());

    Tabla& tramos = tablas.wwTableTramos;
    for (tramos.Primero(); !tramos.Fin(); tramos.Siguiente())
        tramos_.try_emplace(tramos.LeerTexto("DIHO").Bytes(),
                            Tramo{tramos.LeerTexto("DIA").Bytes(), tramos.LeerTexto("CODDIHO").Bytes(),
                                  tramos.LeerTexto("HORADESDE").Bytes(),
                                  tramos.LeerTexto("HORAHASTA").Bytes()});

    Tabla& grupos = tablas.wwTableGrupos;
    for (grupos.Primero(); !grupos.Fin(); grupos.Siguiente())
        grupos_.try_emplace(grupos.LeerTexto("ABREV").Bytes(),
                            Grupo{grupos.LeerTexto("CLAVE").Bytes(), grupos.LeerTexto("CLAVECURSO").Bytes()});

    Tabla& nomAsg2 = tablas.wwTableNomAsg_2;
    for (nomAsg2.Primero(); !nomAsg2.Fin(); nomAsg2.Siguiente())
        materias_.try_emplace(
            ClaveDoble(ComoLocalizar(nomAsg2.LeerTexto("COD").Bytes(), anchoCod_),
                       ComoLocalizar(nomAsg2.LeerTexto("OFERTAMATRI").Bytes(), anchoOfertaMatri_)),
            nomAsg2.LeerTexto("MATERIA").Bytes());
}

const Asignacion* IndicesBusqueda::BuscarAsignacion(std::string_view CASIG, std::string_view CGRUP) const
{
    return Buscar(asignaciones_, ClaveDoble(CASIG, CGRUP));
}

const std::string* IndicesBusqueda::BuscarCodTarea(std::string_view COD) const
{
    return Buscar(codTareas_, std::string(COD));
}

const Tramo* IndicesBusqueda::BuscarTramo(std::string_view DIHO) const
{
    return Buscar(tramos_, std::string(DIHO));
}

const Grupo* IndicesBusqueda::BuscarGrupo(std::string_view ABREV) const
{
    return Buscar(grupos_, std::string(ABREV));
}

const std::string* IndicesBusqueda::BuscarMateria(std::string_view COD, std::string_view OFERTAMATRI) const
{
    return Buscar(materias_,
                  ClaveDoble(ComoLocalizar(COD, anchoCod_), ComoLocalizar(OFERTAMATRI, anchoOfertaMatri_)));
}

} // namespace durlavex
