// Subjects: ASIGNOMT (one row per distinct subject, with its unique short
// code) and ASIGNOMT2 (one row per subject key and enrolment offer).

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "export/codigos.h"
#include "export/contexto_exportacion.h"
#include "platform/texto.h"
#include "tables/esquemas.h"

namespace durlavex {

namespace {

constexpr std::size_t kAnchoCodigo = 10;
constexpr std::size_t kAnchoNombre = 80;
constexpr std::size_t kAnchoClave = 20; // MATERIA and OFERTAMATRI

// Two stored field values that a row is looked up by.
using ParClaves = std::pair<std::string, std::string>;

struct HashPar {
    std::size_t operator()(const ParClaves& par) const
    {
        const std::size_t a = std::hash<std::string>{}(par.first);
        return a ^ (std::hash<std::string>{}(par.second) + 0x9e3779b97f4a7c15ULL + (a << 6) + (a >> 2));
    }
};

// What the step has written, indexed as a locate on the tables would find it:
// keys in their stored form (cut to the field, trailing blanks not
// significant), the first row in table order kept.
class IndicesEscritos {
  public:
    bool HayMateriaEnOferta(const std::string& materia, const std::string& oferta) const
    {
        return materiasOfertas_.count(ClaveMateria(materia, oferta)) != 0;
    }
    const std::string* CodigoDe(const std::string& codLargo, const std::string& nombre) const
    {
        auto it = codigos_.find(ClaveAsignatura(codLargo, nombre));
        return it == codigos_.end() ? nullptr : &it->second;
    }
    void FilaAsignomt(const std::string& codLargo, const std::string& nombre, const std::string& cod)
    {
        codigos_.try_emplace(ClaveAsignatura(codLargo, nombre), cod);
    }
    void FilaAsignomt2(const std::string& materia, const std::string& oferta)
    {
        materiasOfertas_.insert(ClaveMateria(materia, oferta));
    }

  private:
    static ParClaves ClaveMateria(const std::string& materia, const std::string& oferta)
    {
        return {TextoGuardado(materia, kAnchoClave), TextoGuardado(oferta, kAnchoClave)};
    }
    static ParClaves ClaveAsignatura(const std::string& codLargo, const std::string& nombre)
    {
        return {TextoGuardado(codLargo, kAnchoCodigo), TextoGuardado(nombre, kAnchoNombre)};
    }

    std::unordered_set<ParClaves, HashPar> materiasOfertas_;      // ASIGNOMT2
    std::unordered_map<ParClaves, std::string, HashPar> codigos_; // ASIGNOMT: COD
};

struct Materia {
    std::string oferta;   // datum 0
    std::string materia;  // datum 1
    std::string nombre;   // datum 2
    std::string codLargo; // datum 3, or the name's first ten characters
};

void EscribirAsignomt(Tabla& tabla, const Materia& m, const std::string& cod)
{
    tabla.Agregar();
    tabla.FijarTexto("COD", VistaAnsi(cod));
    tabla.FijarTexto("CODLARGO", VistaAnsi(m.codLargo));
    tabla.FijarTexto("NOMBRE", VistaAnsi(m.nombre));
    tabla.FijarLogico("ESTAREA", false);
    tabla.Grabar();
}

void EscribirAsignomt2(Tabla& tabla, const Materia& m, const std::string& cod)
{
    tabla.Agregar();
    tabla.FijarTexto("COD", VistaAnsi(cod));
    tabla.FijarTexto("CODLARGO", VistaAnsi(m.codLargo));
    tabla.FijarTexto("NOMBRE", VistaAnsi(m.nombre));
    tabla.FijarTexto("MATERIA", VistaAnsi(m.materia));
    tabla.FijarTexto("OFERTAMATRI", VistaAnsi(m.oferta));
    tabla.FijarLogico("ESTAREA", false);
    tabla.Grabar();
}

} // namespace

void ExportarMaterias(ContextoExportacion& ctx)
{
    BorrarTabla(ctx.directorioTrabajo, esquemas::ASIGNOMT.nombre);
    auto asignomt = CrearTabla(ctx.directorioTrabajo, esquemas::ASIGNOMT);
    BorrarTabla(ctx.directorioTrabajo, esquemas::ASIGNOMT2.nombre);
    auto asignomt2 = CrearTabla(ctx.directorioTrabajo, esquemas::ASIGNOMT2);

    LecturaIntercambio& lectura = ctx.lectura;
    const int registros = lectura.SeleccionarGrupo("MATERIAS");
    asignomt->Abrir();
    asignomt2->Abrir();

    IndicesEscritos escritos;
    ContadoresCodigo contadores;
    for (int i = 0; i < registros; ++i) {
        if (lectura.AbrirRegistro(i) < 2)
            continue;
        Materia m;
        m.codLargo = lectura.LeerDato(3);
        m.nombre = lectura.LeerDato(2);
        m.materia = lectura.LeerDato(1);
        m.oferta = lectura.LeerDato(0);
        if (m.codLargo.empty())
            m.codLargo = m.nombre.substr(0, kAnchoCodigo);

        const std::string nombreMayusculas = MayusculasAscii(m.nombre);
        const std::string codNombre = m.codLargo + m.nombre;
        const bool vista = ctx.ListaNombres.Contiene(nombreMayusculas) &&
                           ctx.ListaCodLargos.Contiene(m.codLargo) && ctx.ListaCodNombres.Contiene(codNombre);

        if (vista) {
            // A subject met before: only a new key or offer adds a row, and
            // that row carries the short code the subject already has.
            if (escritos.HayMateriaEnOferta(m.materia, m.oferta))
                continue;
            if (const std::string* cod = escritos.CodigoDe(m.codLargo, m.nombre)) {
                EscribirAsignomt2(*asignomt2, m, *cod);
                escritos.FilaAsignomt2(m.materia, m.oferta);
                continue;
            }
            // The lists matched pieces of other subjects (one long code and
            // name run together equal to another's), and this subject has no
            // row: it is new, not to be dropped.
        }

        ctx.ListaNombres.Agregar(nombreMayusculas);
        ctx.ListaCodLargos.Agregar(m.codLargo);
        ctx.ListaCodNombres.Agregar(codNombre);
        const std::string cod = lectura.EnDato(3, [&] {
            return GenerarCodigoCorto(m.codLargo.substr(0, kAnchoCodigo), ctx.ListaCodigos, contadores);
        });

        EscribirAsignomt(*asignomt, m, cod);
        escritos.FilaAsignomt(m.codLargo, m.nombre, cod);
        EscribirAsignomt2(*asignomt2, m, cod);
        escritos.FilaAsignomt2(m.materia, m.oferta);
    }

    asignomt->Cerrar();
    asignomt2->Cerrar();
}

} // namespace durlavex
