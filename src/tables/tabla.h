#pragma once
// A table handle: how the rest of the system reads and writes a table of the
// store. Field names are passed as text and matched without regard to ASCII
// letter case, as the dBase engine does. Field text is TextoAnsi.
//
// A handle is closed until it is opened. Reading walks the rows in table order
// (the order they were appended), or in the order of an index when one was
// chosen, skipping deleted rows and, while a filter is on, rows outside it.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/texto_ansi.h"

namespace durlavex {

namespace dbf {
class ArchivoDbf;
}

enum class TipoCampo { Texto, Logico, Entero, Flotante };

struct DefinicionCampo {
    std::string nombre;
    TipoCampo tipo = TipoCampo::Texto;
    int ancho = 0; // text fields only
};

struct DefinicionIndice {
    std::string nombre;
    std::string campos; // field names joined by ";"
};

// dBase: a name without extension gets ".DBF"; PorExtension: the name is taken
// as it stands.
enum class TipoTabla { DBase, PorExtension };

// One value of a Localizar key: text, or a number compared as a number.
using ValorClave = std::variant<std::string, std::int32_t, double>;

// A picture mask checked when a row is posted ("#" one decimal digit, "*" any
// number of repetitions of what follows, any other character itself).
struct MascaraCampo {
    std::string campo;
    std::string mascara;
};

// A field of an open table, found by BuscarCampo.
struct CampoTabla {
    std::size_t indice = 0;
};

class Tabla {
  public:
    Tabla(std::filesystem::path directorio, std::string nombre, TipoTabla tipo = TipoTabla::DBase,
          bool exclusiva = false);
    ~Tabla();
    Tabla(const Tabla&) = delete;
    Tabla& operator=(const Tabla&) = delete;

    void FijarDirectorio(std::filesystem::path directorio);
    const std::filesystem::path& Directorio() const;
    const std::string& Nombre() const;
    // The table's file: found in the directory without regard to letter case,
    // or the upper-case name when it does not exist yet.
    std::filesystem::path Ruta() const;

    // Table definition, for Crear.
    void DefinirCampos(std::vector<DefinicionCampo> campos);
    void DefinirIndices(std::vector<DefinicionIndice> indices);
    // Writes the new, empty table (and its index file when it has an index),
    // replacing an existing one. The handle stays closed.
    void Crear();

    void Abrir();
    void Cerrar(); // a row still being appended or edited is dropped
    // For a table written whole in one go: from the next opening until this
    // handle closes, rows appended wait in memory and reach the file together
    // when it closes (or when an error drops the table), a few writes instead
    // of several for each row. Closing then reports a failed write.
    void AgruparEscrituras();
    bool Abierta() const;

    // Rows.
    void Agregar();  // a new row at the end becomes the current row, in editing
    void Editar();   // the current row becomes editable
    void Grabar();   // stores the row being appended or edited (checks masks)
    void Cancelar(); // drops the changes of the row being appended or edited
    bool EnEdicion() const;

    // Setting fields of the row being appended or edited. Text longer than the
    // field is stored cut to its width; empty text leaves the field blank.
    void FijarTexto(std::string_view campo, VistaAnsi valor);
    // The same for a field found once by its name: a table written row after
    // row with many fields then spends no time finding them again. Valid while
    // the table stays open.
    CampoTabla BuscarCampo(std::string_view campo) const;
    void FijarTexto(CampoTabla campo, VistaAnsi valor);
    void FijarFlotante(CampoTabla campo, double valor);
    void FijarLogico(std::string_view campo, bool valor);
    void FijarEntero(std::string_view campo, std::int32_t valor);
    void FijarFlotante(std::string_view campo, double valor);

    // Reading fields of the current row. Text comes without its padding
    // blanks; a field never set reads as empty text, and as 0 as a number.
    // Reading a text that is not a whole number as an integer throws the
    // conversion error.
    TextoAnsi LeerTexto(std::string_view campo) const;
    std::int32_t LeerEntero(std::string_view campo) const;
    double LeerFlotante(std::string_view campo) const;
    bool TieneCampo(std::string_view campo) const;

    // Moving. Fin is true when the last move went past the last row or there
    // are no rows; Inicio when a move went before the first row.
    void Primero();
    void Siguiente();
    void Anterior();
    void Ultimo();
    void Mover(int filas); // forward (positive) or back, stopping at the ends
    bool Fin() const;
    bool Inicio() const;
    // Position of the current row among the visible rows, from 0.
    int Posicion() const;
    // Number of visible rows (the filter applies).
    int NumeroFilas() const;

    // The first row, in the current order, whose fields (names joined by ";")
    // equal the values: text exact and with case, cut to the field's width,
    // trailing blanks not significant on either side; numbers as numbers. The
    // row found becomes the current one. False when none matches.
    bool Localizar(std::string_view campos, const std::vector<ValorClave>& valores);

    // Reads in the order of the index on these fields (ascending, ties in the
    // order the rows were appended). An empty text returns to table order.
    void OrdenarPorIndice(std::string_view campos);

    // Restricts the rows to those that satisfy the expression. The form read
    // is FIELD= 'literal' (a single-quoted literal, quotes inside doubled);
    // anything else is an Error.
    void Filtrar(std::string_view expresion);
    void QuitarFiltro();

    // Picture masks checked on Grabar; a value that does not fit is an Error
    // naming the field, and the row stays in editing.
    void DefinirMascaras(std::vector<MascaraCampo> mascaras);

    // Reads the table again from its file.
    void Refrescar();

  private:
    struct Estado;
    std::unique_ptr<Estado> estado_;
};

} // namespace durlavex
