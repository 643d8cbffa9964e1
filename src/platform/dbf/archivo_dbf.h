#pragma once
// The dBase engine: one table file, read whole into memory when opened.
//
// Reads dBase III, IV, level 7 and FoxPro/Visual FoxPro tables; writes dBase
// level 7 tables (68-byte header, language driver DBWINES0, 48-byte field
// descriptors) and the production index of a numeric field as a level 7 .MDX
// file. Rows are appended and rewritten through to the file at once, so what
// was posted before an error stays on disk; a table written in bulk may defer
// its appends to one write (DiferirEscritura). Every structural inconsistency of
// a file is an Error whose text names the file and the broken rule.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace durlavex::dbf {

namespace fs = std::filesystem;

enum class Version { DBase3, DBase4, DBase7, FoxPro, VisualFoxPro };

struct Campo {
    std::string nombre;      // as stored, single-byte text
    char tipo = 'C';         // C N F L D I O B @ + (and others, read as text)
    std::uint16_t ancho = 0; // bytes in the record
    std::uint8_t decimales = 0;
    bool indiceProduccion = false;  // level 7: a production index tag is on it
    std::size_t desplazamiento = 0; // offset in the record; the deletion flag is byte 0, so fields start at 1
};

// A production index tag: ascending, not unique, over one numeric field.
struct Indice {
    std::string etiqueta;
    std::string campo;
};

enum class Acceso { Compartido, Exclusivo };

class ArchivoDbf {
  public:
    // Writes a new, empty level 7 table (and its .MDX when `indices` is not
    // empty), replacing existing files of the same name. Integer fields are
    // passed as N(11,0), floats as N(20,4), logical as L(1), text as C(width).
    static void Crear(const fs::path& ruta, const std::vector<Campo>& campos,
                      const std::vector<Indice>& indices = {});

    // Opens a table. Handles of this process on the same file share one
    // object (a second handle sees what the first posted) and never block each
    // other; an exclusive opening takes an exclusive advisory lock that keeps
    // other processes out, a shared one a shared lock. A table another process
    // holds exclusively, or that is held here while another process asks for
    // it exclusively, is an Error naming the table.
    static std::shared_ptr<ArchivoDbf> Abrir(const fs::path& ruta, Acceso acceso);

    // Before a table file is deleted to be written anew: an Error naming it
    // when another process holds it open (any lock), since deleting it would
    // leave that process working on a file no one sees any more. A file this
    // process has open, or one that cannot be opened, passes.
    static void ComprobarLibreParaBorrar(const fs::path& ruta);

    // Decodes a whole table held in memory, without a file (tests, fuzzing).
    // `nombre` names it in errors.
    static std::shared_ptr<ArchivoDbf> Decodificar(std::span<const std::uint8_t> bytes,
                                                   const std::string& nombre);

    virtual ~ArchivoDbf() = default;

    virtual Version VersionArchivo() const = 0;
    virtual const std::vector<Campo>& Campos() const = 0;
    // Index into Campos() of a field, found without regard to ASCII case.
    virtual std::optional<std::size_t> BuscarCampo(std::string_view nombre) const = 0;
    virtual const std::vector<Indice>& Indices() const = 0;
    virtual const fs::path& Ruta() const = 0;

    // Rows in file order, deleted ones included (see Borrado).
    virtual std::size_t NumRegistros() const = 0;
    virtual bool Borrado(std::size_t fila) const = 0;

    // A field's value as text: C without the padding blanks at the end; N and F
    // trimmed; L "T", "F" or "" (never set); D "YYYYMMDD"; binary numbers (I,
    // +, O, B, @ as a number) in decimal; "" for a value never set.
    virtual std::string Texto(std::size_t fila, std::size_t campo) const = 0;
    // A field's value as a number; nothing when blank. Throws Error when the
    // stored text is not a number.
    virtual std::optional<double> Numero(std::size_t fila, std::size_t campo) const = 0;
    virtual std::optional<bool> Logico(std::size_t fila, std::size_t campo) const = 0;

    // Writing. A record is the whole record's bytes, deletion flag first.
    virtual std::string RegistroVacio() const = 0;
    // Text cut to the field's width and padded with blanks.
    virtual void PonerTexto(std::string& registro, std::size_t campo, std::string_view valor) const = 0;
    virtual void PonerLogico(std::string& registro, std::size_t campo, bool valor) const = 0;
    // A number that does not fit the field is an Error naming the field.
    virtual void PonerNumero(std::string& registro, std::size_t campo, double valor) const = 0;
    virtual std::string Registro(std::size_t fila) const = 0;

    // Appends a row (written through, header count and date updated, index
    // kept consistent); returns its row number.
    virtual std::size_t Agregar(const std::string& registro) = 0;
    virtual void Reemplazar(std::size_t fila, const std::string& registro) = 0;

    // Rows appended while deferral is on stay in memory and reach the file
    // together (rows, end mark, then the header's count, then the index) when
    // it is turned off, or when the table object goes away, an error
    // unwinding included: a table written in bulk costs a few writes instead
    // of several per row, and the file never counts a row it does not hold.
    // A rewrite of a row already on disk writes the pending rows first and is
    // written through. When writing the pending rows fails they are dropped
    // from memory too, and the error is thrown.
    virtual void DiferirEscritura(bool activar) = 0;
    // How many rows have been rewritten since the table was opened: handles
    // sharing this object compare it to know when a lookup built on the rows
    // has gone stale (appends show in the row count).
    virtual std::uint64_t Reescrituras() const = 0;

    // Rows in the order of an index tag: ascending key, ties in row order.
    virtual std::vector<std::size_t> OrdenIndice(std::string_view etiqueta) const = 0;
};

} // namespace durlavex::dbf
