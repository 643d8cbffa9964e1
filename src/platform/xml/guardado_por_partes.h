#pragma once
// Saving a document whose last element is written child by child, each child
// leaving memory as soon as it is written: a result of hundreds of thousands
// of records never stands whole as a tree.
//
// The bytes are those GuardarDocumento would write for the finished document,
// into the same temporary file that replaces the destination only once
// everything is written. Documents it cannot split exactly (one with a DTD,
// or in an encoding such as UTF-16 or ISO-2022) keep their children in memory
// and are saved whole by Terminar.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/xml/archivo_temporal.h"
#include "platform/xml/documento.h"

struct _xmlSaveCtxt;

namespace durlavex {

class GuardadoPorPartes {
  public:
    GuardadoPorPartes(const DocumentoXml& documento, std::filesystem::path destino);
    // Not finished: the temporary file is removed, the destination untouched.
    ~GuardadoPorPartes();
    GuardadoPorPartes(const GuardadoPorPartes&) = delete;
    GuardadoPorPartes& operator=(const GuardadoPorPartes&) = delete;

    // Everything of the document up to where the children of `contenedor`
    // go is written now; `contenedor` has its attributes and no children yet,
    // and from here on only its children change. Throws Error naming the file.
    void Comenzar(xmlNode* contenedor);

    // A finished child of the container: written, then removed from the
    // document and freed.
    void Escribir(xmlNode* hijo);

    // Writes the rest of the document and puts the file in its place.
    void Terminar();

  private:
    void Fallo();
    [[noreturn]] void FallarEscritura();

    const DocumentoXml& documento_;
    std::filesystem::path destino_;
    std::optional<ArchivoTemporal> temporal_;
    _xmlSaveCtxt* guardado_ = nullptr;
    std::string codificacion_; // the encoding written
    std::string resto_;        // what follows the container's children
    bool porPartes_ = false;   // false: saved whole by Terminar
};

} // namespace durlavex
