#pragma once
// The frame of the result file: its name, the new root element that replaces
// the exchange file's, and its header.
//
//   SERVICIO modulo="HORARIOS" tipo="I" autor="HORARIOS" fecha="…"
//     BLOQUE_DATOS
//       grupo_datos seq="ANNO_ACADEMICO" / dato nombre_dato="C_ANNO"
//       grupo_datos seq="HORARIOS_REGULARES" (the records, registros_horario.h)

#include <filesystem>
#include <string_view>

#include "platform/xml/documento.h"

namespace durlavex {

// "ResultadoTalvos" followed by the exchange file's name, in its folder:
// /datos/horario.xml gives /datos/ResultadoTalvoshorario.xml.
std::filesystem::path NombreArchivoResultado(const std::filesystem::path& archivoXml);

// The first /SERVICIO/BLOQUE_DATOS element of the exchange document, checked
// to have a child node (the academic year is read from it). Throws Error
// naming the file when there is no such element or it is empty.
xmlNode* BloqueDatosConContenido(const DocumentoXml& documento);

// Throws the exchange document's root element away and appends a new
// SERVICIO after every node that remained outside it (declaration, comments,
// processing instructions), with its header and the data group
// ANNO_ACADEMICO. `fecha` and `anno` are UTF-8. Returns the new BLOQUE_DATOS.
xmlNode* SustituirRaiz(DocumentoXml& documento, std::string_view fecha, std::string_view anno);

} // namespace durlavex
