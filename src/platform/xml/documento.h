#pragma once
// The libxml2 wrapper: a loaded XML document.
//
// Loading never reaches the network and expands no external entity or DTD
// (XML_PARSE_NONET, libxml2's default expansion limits). Whitespace-only text
// nodes between elements are dropped, as the platform DOM the exchange format
// comes from did by default.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

typedef struct _xmlDoc xmlDoc;
typedef struct _xmlNode xmlNode;

namespace durlavex {

class DocumentoXml {
  public:
    // Parses the file. Throws Error (naming the file, with libxml2's line and
    // reason) when it cannot be read or is not well-formed.
    static std::unique_ptr<DocumentoXml> Cargar(const std::filesystem::path& ruta);
    // Parses bytes held in memory (tests, fuzzing); `nombre` names it in errors.
    static std::unique_ptr<DocumentoXml> CargarMemoria(std::string_view bytes, const std::string& nombre);

    ~DocumentoXml();
    DocumentoXml(const DocumentoXml&) = delete;
    DocumentoXml& operator=(const DocumentoXml&) = delete;

    xmlDoc* Crudo() const { return doc_; }
    const std::filesystem::path& Ruta() const { return ruta_; }

  private:
    DocumentoXml(xmlDoc* doc, std::filesystem::path ruta);
    xmlDoc* doc_;
    std::filesystem::path ruta_;
};

// libxml2 prints some errors (a failed write, an input it cannot convert)
// straight to stderr, beside the error we raise in Spanish: this stops that
// for the calling thread. Loading calls it itself; saving calls it too.
void CallarAvisosDeLibxml2();

// Before libxml2 loads or saves anything: initialises it once (on Windows,
// with the Windows code pages, platform/xml/codificaciones_windows.h) and
// calls CallarAvisosDeLibxml2.
void PrepararLibxml2();

// A node's text as the platform DOM gave it: the text and CDATA of the node
// and its descendants (not comments or processing instructions), a
// whitespace-only text node between elements counting as one blank, XML
// whitespace removed from both ends. UTF-8.
std::string TextoNodo(const xmlNode* nodo);

// The same text without a copy, for the usual datum: an element holding one
// text node, or nothing. Nothing for any other node; it lives as long as the
// node's text is not changed.
std::optional<std::string_view> TextoNodoSimple(const xmlNode* nodo);

} // namespace durlavex
