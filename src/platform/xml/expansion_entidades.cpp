#include "platform/xml/expansion_entidades.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_map>

#include "platform/error.h"

namespace durlavex {

namespace {

// The text references may add: ten times the file, and never less than the
// longest text node libxml2 itself accepts without XML_PARSE_HUGE.
constexpr std::uint64_t kExpansionMinima = 10'000'000;
constexpr std::uint64_t kFactorExpansion = 10;

// Marks an entity whose size is being computed: met again, it refers to itself.
constexpr std::uint64_t kEnCurso = std::numeric_limits<std::uint64_t>::max();

std::uint64_t Sumar(std::uint64_t a, std::uint64_t b)
{
    return a > kEnCurso - 1 - b ? kEnCurso - 1 : a + b;
}

class Medidor {
  public:
    Medidor(std::uint64_t limite, const std::string& nombre) : limite_(limite), nombre_(nombre) {}

    // The text of the list that starts at `primero` and its descendants
    // (attribute values included), references expanded, counted in bytes.
    std::uint64_t MedirLista(const xmlNode* primero)
    {
        std::uint64_t total = 0;
        int profundidad = 0;
        for (const xmlNode* n = primero; n;) {
            if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE)
                total = Sumar(total, static_cast<std::uint64_t>(xmlStrlen(n->content)));
            else if (n->type == XML_ENTITY_REF_NODE)
                total = Sumar(total, MedirEntidad(EntidadReferida(n)));
            else if (n->type == XML_ELEMENT_NODE)
                for (const xmlAttr* atributo = n->properties; atributo; atributo = atributo->next)
                    total = Sumar(total, MedirLista(atributo->children));
            if (total > limite_)
                Rechazar();
            if (n->type == XML_ELEMENT_NODE && n->children) {
                n = n->children;
                ++profundidad;
                continue;
            }
            while (!n->next) {
                if (profundidad == 0)
                    return total;
                n = n->parent;
                --profundidad;
            }
            n = n->next;
        }
        return total;
    }

  private:
    std::uint64_t MedirEntidad(const xmlEntity* entidad)
    {
        if (!entidad)
            return 0;
        auto [it, nueva] = medidas_.try_emplace(entidad, kEnCurso);
        if (!nueva) {
            if (it->second == kEnCurso)
                Rechazar();
            return it->second;
        }
        const std::uint64_t medida = MedirLista(entidad->children);
        medidas_[entidad] = medida;
        return medida;
    }

    [[noreturn]] void Rechazar() const
    {
        throw Error("El archivo «" + nombre_ +
                    "» no se puede leer: las entidades declaradas en su DTD se expanden a un texto demasiado "
                    "grande para su tamaño");
    }

    std::uint64_t limite_;
    const std::string& nombre_;
    std::unordered_map<const xmlEntity*, std::uint64_t> medidas_;
};

} // namespace

const xmlEntity* EntidadReferida(const xmlNode* referencia)
{
    return xmlGetDocEntity(referencia->doc, referencia->name);
}

void ComprobarExpansionEntidades(const xmlDoc* doc, std::size_t tamanoArchivo, const std::string& nombre)
{
    // Without an internal DTD there is nothing to expand: no walk.
    if (!doc->intSubset || !doc->intSubset->entities)
        return;
    const std::uint64_t limite =
        std::max(kExpansionMinima, static_cast<std::uint64_t>(tamanoArchivo) * kFactorExpansion);
    Medidor(limite, nombre).MedirLista(xmlDocGetRootElement(doc));
}

} // namespace durlavex
