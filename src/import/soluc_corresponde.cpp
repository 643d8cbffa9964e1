#include "import/soluc_corresponde.h"

#include <string_view>
#include <unordered_set>

#include "platform/rutas.h"
#include "platform/texto.h"

namespace durlavex {

namespace {

// Two texts as one key; the length prefix keeps ("ab","c") apart from ("a","bc").
std::string Par(std::string_view a, std::string_view b)
{
    return std::to_string(a.size()) + ':' + std::string(a) + std::string(b);
}

std::unordered_set<std::string> Columna(Tabla& tabla, std::string_view campo)
{
    std::unordered_set<std::string> valores;
    for (tabla.Primero(); !tabla.Fin(); tabla.Siguiente())
        valores.insert(tabla.LeerTexto(campo).Bytes());
    return valores;
}

template <typename Condicion> bool AlgunaFila(Tabla& tabla, Condicion condicion)
{
    for (tabla.Primero(); !tabla.Fin(); tabla.Siguiente())
        if (condicion(tabla))
            return true;
    return false;
}

// "... ninguna de sus 30 filas es de un profesor de PROFT.DBF ..."
std::string Mensaje(const Tabla& soluc, int filas, const char* predicado)
{
    const std::string sujeto =
        filas == 1 ? "su única fila no " : "ninguna de sus " + std::to_string(filas) + " filas ";
    return "SOLUC.DBF no corresponde a las tablas exportadas: " + sujeto + predicado +
           ". Exporte de nuevo desde Vorna, o compruebe que el directorio de trabajo «" +
           TextoRuta(soluc.Directorio()) +
           "» es el de este instituto. No se ha escrito el archivo de resultado";
}

} // namespace

std::optional<std::string> SolucNoCorresponde(TablasPrincipales& tablas)
{
    Tabla& soluc = tablas.wwTableSoluc;
    soluc.QuitarFiltro();
    const int filas = soluc.NumeroFilas();
    if (filas == 0)
        return std::nullopt;

    const std::unordered_set<std::string> profesores = Columna(tablas.wwTableProfesor, "ABREV");
    if (!AlgunaFila(soluc, [&](Tabla& t) { return profesores.count(t.LeerTexto("PROF").Bytes()) != 0; }))
        return Mensaje(soluc, filas, "es de un profesor de PROFT.DBF");

    std::unordered_set<std::string> asignaciones;
    Tabla& asigt = tablas.wwTableAsig;
    for (asigt.Primero(); !asigt.Fin(); asigt.Siguiente())
        asignaciones.insert(Par(asigt.LeerTexto("CASIG").Bytes(), asigt.LeerTexto("CGRUP").Bytes()));
    std::unordered_set<std::string> actividades;
    Tabla& asignomt = tablas.wwTableNomAsg;
    for (asignomt.Primero(); !asignomt.Fin(); asignomt.Siguiente())
        if (asignomt.LeerTexto("ESTAREA") == "T" || !EsBlanco(asignomt.LeerTexto("CODTAREA").Bytes()))
            actividades.insert(asignomt.LeerTexto("COD").Bytes());
    const bool alguna = AlgunaFila(soluc, [&](Tabla& t) {
        const std::string asig = t.LeerTexto("ASIG").Bytes();
        return actividades.count(asig) != 0 ||
               asignaciones.count(Par(asig, t.LeerTexto("CODGRUPO").Bytes())) != 0;
    });
    if (!alguna)
        return Mensaje(soluc, filas,
                       "tiene una materia y un grupo de ASIGT.DBF ni una actividad de ASIGNOMT.DBF");
    return std::nullopt;
}

} // namespace durlavex
