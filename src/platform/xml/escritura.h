#pragma once
// Building and saving an XML document: the result file of the import.
//
// Elements carry no namespace; texts and attribute values are UTF-8 and
// written as given (the serializer escapes them), so a value holding "&" or
// "<" needs no care from the caller. No whitespace is ever added.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/xml/documento.h"

namespace durlavex {

// A new element of the document, not yet placed anywhere.
xmlNode* CrearElemento(const DocumentoXml& documento, std::string_view nombre);

// Appends `hijo` after the existing children of `padre` (an element, or the
// document node itself to add a top-level node).
void AgregarHijo(xmlNode* padre, xmlNode* hijo);

// Creates an element and appends it to `padre`; returns it.
xmlNode* AgregarElemento(const DocumentoXml& documento, xmlNode* padre, std::string_view nombre);

// Adds an attribute after those the element already has: attributes are
// written in the order in which they were set.
void FijarAtributo(xmlNode* elemento, std::string_view nombre, std::string_view valor);

// The text as the document holds it once set: XML 1.0 cannot hold the
// control characters below the blank other than tab, line feed and carriage
// return, not even as references, so each becomes a blank (UTF-8).
std::string TextoAdmitido(std::string_view texto);

// Replaces the element's content by the text (as TextoAdmitido gives it); an
// empty text leaves it empty.
void FijarTexto(xmlNode* elemento, std::string_view texto);

// Saves the whole document, the nodes outside the root element included, in
// the encoding its XML declaration names (UTF-8 when it names none).
// Characters that encoding cannot hold are written as character references.
// The bytes go to a temporary file beside `destino` that then replaces it, so
// a save that fails leaves an earlier file of that name as it was. Throws
// Error naming the file.
void GuardarDocumento(const DocumentoXml& documento, const std::filesystem::path& destino);

// The temporary file GuardarDocumento writes before renaming it to `destino`.
std::filesystem::path RutaTemporalGuardado(const std::filesystem::path& destino);

} // namespace durlavex
