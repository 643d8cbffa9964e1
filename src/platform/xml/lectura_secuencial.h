#pragma once
// Reading an XML file element by element as it goes by, without building a
// tree: a result file of hundreds of megabytes is read in a few megabytes of
// memory and at the speed of the parser alone.
//
// As careful as DocumentoXml::Cargar: the file is read here, never through a
// name libxml2 could take for an address; no network, no external DTD; and
// no entity beyond XML's own five (&amp; &lt; &gt; &quot; &apos;). A
// reference to any other is refused, declared or not: the files read this
// way have no use for one, and a text that silently lost it could read as
// another text.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace durlavex {

// An element as it begins.
class ElementoXml {
  public:
    ElementoXml(std::string_view nombre, bool enEspacioDeNombres, int linea, const unsigned char** atributos,
                int numeroAtributos)
        : nombre(nombre), enEspacioDeNombres(enEspacioDeNombres), linea(linea), atributos_(atributos),
          numeroAtributos_(numeroAtributos)
    {
    }

    std::string_view nombre; // its local name
    bool enEspacioDeNombres; // it is in a namespace (the names sought are in none)
    int linea;               // where its start tag ends

    // The value of its attribute of that name outside any namespace, its
    // references resolved; nothing when it has none.
    std::optional<std::string> Atributo(std::string_view nombre) const;

  private:
    const unsigned char** atributos_; // libxml2's five pointers per attribute
    int numeroAtributos_;
};

class ReceptorXml {
  public:
    virtual ~ReceptorXml() = default;
    virtual void Inicio(const ElementoXml& elemento) = 0;
    // Character data (text, CDATA, references) of the innermost element
    // open, in UTF-8, in as many pieces as the parser likes.
    virtual void Texto(std::string_view utf8) = 0;
    // The innermost element open ends.
    virtual void Fin() = 0;
};

// Reads the file, telling `receptor` what it meets. Throws Error naming the
// file when it is missing, cannot be read or is not well-formed (with the
// line and the reason, as DocumentoXml::Cargar says them). What the receptor
// throws stops the reading and reaches the caller unchanged; so does a
// request to stop the run (ErrorInterrupcion).
void LeerXmlSecuencial(const std::filesystem::path& ruta, ReceptorXml& receptor);

} // namespace durlavex
