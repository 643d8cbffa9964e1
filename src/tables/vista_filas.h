#pragma once
// The rows a handle shows, in its current order and under its filter, with
// the in-memory lookups that make locating and filtering cheap.
//
// Everything is built lazily from the engine's rows and kept while the file
// only grows: rows appended since (through any handle) are taken in at the
// end, which keeps table order and first-match answers right without a
// rebuild. A rewritten row makes everything start afresh.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/dbf/archivo_dbf.h"

namespace durlavex {

class VistaFilas {
  public:
    explicit VistaFilas(const dbf::ArchivoDbf& archivo);

    // Takes in the rows appended to the file since the last call, or starts
    // afresh when `reescrita` (a row was rewritten). True when rows already
    // shown may have moved.
    bool Actualizar(bool reescrita);

    // The rows shown (row numbers of the file), deleted rows left out.
    const std::vector<std::size_t>& Filas();

    // Table order, or ascending by the values of these fields with ties in
    // table order (through the file's index tag when it has one on the field).
    void Ordenar(std::vector<std::size_t> campos);

    // Only the rows whose field has this key (ClaveDeFila); no key: no row.
    void Filtrar(std::size_t campo, std::optional<std::string> clave);
    void QuitarFiltro();

    // Position in Filas() of the first row whose key over these fields is
    // `clave` (the fragments of ClaveDeFila, joined).
    std::optional<std::size_t> Buscar(const std::vector<std::size_t>& campos, const std::string& clave);

  private:
    using Grupos = std::unordered_map<std::string, std::vector<std::size_t>>;

    std::optional<std::string> ClaveFila(std::size_t fila, const std::vector<std::size_t>& campos) const;
    bool PasaFiltro(std::size_t fila) const;
    Grupos& GruposDe(std::size_t campo);
    const std::vector<std::size_t>& OrdenIndice();
    std::vector<std::size_t> OrdenarPorValores() const;
    void OlvidarOrden();

    const dbf::ArchivoDbf& archivo_;
    std::size_t conocidas_ = 0; // rows of the file taken in so far

    std::vector<std::size_t> camposOrden_; // empty: table order
    std::optional<std::vector<std::size_t>> ordenIndice_;
    std::optional<std::vector<std::size_t>> rango_; // row -> place in ordenIndice_

    struct Filtro {
        std::size_t campo;
        std::optional<std::string> clave;
    };
    std::optional<Filtro> filtro_;

    std::optional<std::vector<std::size_t>> filas_;
    // Rows by value of a filter field, in table order: built once per field,
    // so each filter costs only the rows it keeps.
    std::unordered_map<std::size_t, Grupos> grupos_;
    // Key over some fields -> position of the first row in filas_ with it.
    std::map<std::vector<std::size_t>, std::unordered_map<std::string, std::size_t>> busquedas_;
};

} // namespace durlavex
