#pragma once
// Entities of a document's own DTD, inside the XML wrapper.
//
// Loading substitutes no entity, so a reference to one declared in the
// document's internal DTD stays a reference node in the tree and its text is
// produced each time a node's text is read.

#include <cstddef>
#include <string>

#include <libxml/entities.h>
#include <libxml/tree.h>

namespace durlavex {

// The entity a reference node names, or null when the document declares none
// of that name. Its children are its parsed replacement content.
const xmlEntity* EntidadReferida(const xmlNode* referencia);

// A few hundred bytes of DTD can declare an entity that reads as megabytes,
// and a file can hold a hundred thousand references to it. Throws Error naming
// the file when its references add up to far more text than the file itself
// (the work of reading the document's text must stay in proportion to it).
void ComprobarExpansionEntidades(const xmlDoc* doc, std::size_t tamanoArchivo, const std::string& nombre);

} // namespace durlavex
