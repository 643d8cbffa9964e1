#pragma once
// Reading the exchange file: data groups, records and data by their role.
//
//   SERVICIO / BLOQUE_DATOS / grupo_datos[@seq=NAME] (a data group)
//     / grupo_datos (a record) / dato (a datum)
//
// A step selects a group once, opens each record in turn and reads the data it
// needs by the position its group gives each role (MATERIAS 2: the name). The
// datum of a role is the first one whose nombre_dato is that role's name
// (roles_datos.h); without one, the datum at the role's position, unless that
// datum carries the name of another role of the group, when the role is
// missing. A file without names is so read by position alone. The state behind
// the four operations carries the names the rest of the system uses for it.

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/roles_datos.h"
#include "platform/error.h"
#include "platform/texto_ansi.h"
#include "platform/xml/documento.h"

namespace durlavex {

class LecturaIntercambio {
  public:
    // Loads the exchange file into DocumentoXML. Throws Error naming the file
    // when it is missing, unreadable, not well-formed, or has no
    // /SERVICIO/BLOQUE_DATOS element: a run then stops before it touches
    // anything.
    void CargarDocumento(const std::filesystem::path& ruta);
    // The same on a document already loaded (tests, the import).
    void UsarDocumento(std::shared_ptr<DocumentoXml> documento);

    // Selects the records of every data group whose seq is exactly `grupo`
    // (with case), in document order; returns their number (0 when absent).
    int SeleccionarGrupo(std::string_view grupo);

    // Makes record i the current one; returns its number of data (its direct
    // `dato` children).
    int AbrirRegistro(int i);

    // The text of the datum of role p of the current record, trimmed of code
    // units <= 32 at both ends and converted to the ANSI code page. A missing
    // role reads as empty text.
    std::string LeerDato(int p);

    // The same text before the trim (the document's text of the node already
    // has its surrounding XML whitespace removed), converted to ANSI.
    std::string LeerDatoSinRecortar(int p);

    // The same text trimmed but left in UTF-8, as Vorna wrote it: a key is
    // compared with what a result file gives back in this form, where the
    // code page's substitutes ("?" for what it lacks) would hide a difference.
    std::string LeerDatoUtf8(int p);

    const std::shared_ptr<DocumentoXml>& Documento() const { return DocumentoXML; }

    // Where the datum of role p of the current record stands, for messages:
    // "MATERIAS, registro 12, dato N_HORAS, línea 345" (the record counted
    // from 1 in its group; the datum by its nombre_dato, or by its position;
    // a missing datum by its role, on its record's line).
    std::string Lugar(int p);

    // Runs `accion`, a use of the datum of role p of the current record; an
    // Error it throws (a conversion above all) ends the run with the datum's
    // place after its own text: "'abc' no es un valor entero válido
    // (MATERIAS, registro 12, dato N_HORAS, línea 345).".
    template <typename Accion> auto EnDato(int p, Accion&& accion) -> decltype(accion())
    {
        try {
            return accion();
        } catch (const ErrorConversion& e) {
            throw ErrorConversion(ConLugar(e.what(), p));
        } catch (const Error& e) {
            throw Error(ConLugar(e.what(), p));
        }
    }

  private:
    // The place closes the sentence, before its full stop: after ")" the
    // error box adds none.
    std::string ConLugar(std::string texto, int p)
    {
        if (!texto.empty() && texto.back() == '.')
            texto.pop_back();
        return texto + " (" + Lugar(p) + ").";
    }

    // The datum of role p of the current record, or nullptr when it is missing.
    xmlNode* DatoDeRol(int p);
    void ResolverRoles();

    std::shared_ptr<DocumentoXml> DocumentoXML;
    std::vector<xmlNode*> ListaRegistros;
    xmlNode* NodoRegistro = nullptr;
    std::vector<xmlNode*> ListaDatos;
    xmlNode* NodoDato = nullptr;

    std::string grupo_;                           // the selected data group
    int indiceRegistro_ = -1;                     // the current record, from 0
    const RolesGrupo* roles_ = nullptr;           // of the selected group; null: by position
    std::array<int, kMaxRolesGrupo> datoDeRol_{}; // index into ListaDatos, -1: missing
    std::vector<int> rolDeDato_;                  // the role each datum's name gives, -1: none
};

// The academic year of an exchange document: the first four characters of the
// text of the first child node of /SERVICIO/BLOQUE_DATOS (whitespace-only text
// nodes do not count as nodes), as table text. Throws Error when the document
// has no such element.
TextoAnsi LeerAnnoAcademico(const DocumentoXml& documento);

// Refuses a document that holds none of the data groups an export reads
// (MATERIAS, ACTIVIDADES, EMPLEADOS, DEPENDENCIAS, CURSOS_DEL_CENTRO,
// UNIDADES, JORNADAS_ESCOLARES, TRAMOS_HORARIOS): an export of it would only
// empty Talvorin's tables. Throws Error naming the file; a result file written
// by an import (root tipo "I") is called so.
void ComprobarDatosParaExportar(const DocumentoXml& documento);

} // namespace durlavex
