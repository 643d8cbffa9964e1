#include "exchange/lectura.h"

#include <libxml/tree.h>

#include <cstring>

#include "platform/error.h"
#include "platform/texto.h"

namespace durlavex {

namespace {

// An element of that name outside any namespace, as the selection paths
// name them.
bool EsElemento(const xmlNode* nodo, const char* nombre)
{
    return nodo->type == XML_ELEMENT_NODE && nodo->ns == nullptr &&
           std::strcmp(reinterpret_cast<const char*>(nodo->name), nombre) == 0;
}

template <typename Accion>
void PorCadaHijo(const xmlNode* padre, const char* nombre, Accion accion)
{
    for (xmlNode* hijo = padre->children; hijo; hijo = hijo->next)
        if (EsElemento(hijo, nombre))
            accion(hijo);
}

// /SERVICIO/BLOQUE_DATOS: every BLOQUE_DATOS under the root SERVICIO.
template <typename Accion>
void PorCadaBloque(const DocumentoXml& documento, Accion accion)
{
    const xmlNode* raiz = xmlDocGetRootElement(documento.Crudo());
    if (raiz && EsElemento(raiz, "SERVICIO"))
        PorCadaHijo(raiz, "BLOQUE_DATOS", accion);
}

// The seq attribute as XPath's @seq reads it: outside any namespace, its
// references expanded, compared byte for byte (with case).
bool SeqIgual(const xmlNode* grupo, std::string_view nombre)
{
    xmlChar* valor = xmlGetNoNsProp(grupo, reinterpret_cast<const xmlChar*>("seq"));
    const bool igual = valor && std::string_view(reinterpret_cast<const char*>(valor)) == nombre;
    xmlFree(valor);
    return igual;
}

bool EsTextoBlanco(const xmlNode* nodo)
{
    if (nodo->type != XML_TEXT_NODE)
        return false;
    for (const xmlChar* p = nodo->content; p && *p; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r')
            return false;
    return true;
}

// A hint to the processor, no effect on what is read.
void PedirMemoria(const xmlNode* registro)
{
#if defined(__GNUC__) || defined(__clang__)
    constexpr std::size_t kBytes = 4096; // about one record of the exchange file
    const char* inicio = reinterpret_cast<const char*>(registro);
    for (std::size_t desplazamiento = 0; desplazamiento < kBytes; desplazamiento += 64)
        __builtin_prefetch(inicio + desplazamiento);
#else
    (void)registro;
#endif
}

std::string Nombre(const DocumentoXml& documento) { return "«" + documento.Ruta().string() + "»"; }

} // namespace

void LecturaIntercambio::CargarDocumento(const std::filesystem::path& ruta)
{
    UsarDocumento(DocumentoXml::Cargar(ruta));
}

void LecturaIntercambio::UsarDocumento(std::shared_ptr<DocumentoXml> documento)
{
    bool tieneBloque = false;
    PorCadaBloque(*documento, [&](xmlNode*) { tieneBloque = true; });
    if (!tieneBloque)
        throw Error("El archivo " + Nombre(*documento) +
                    " no es un archivo de intercambio de Vorna: le falta el elemento /SERVICIO/BLOQUE_DATOS");
    ListaRegistros.clear();
    ListaDatos.clear();
    NodoRegistro = nullptr;
    NodoDato = nullptr;
    DocumentoXML = std::move(documento);
}

int LecturaIntercambio::SeleccionarGrupo(std::string_view grupo)
{
    ListaRegistros.clear();
    ListaDatos.clear();
    NodoRegistro = nullptr;
    NodoDato = nullptr;
    if (!DocumentoXML)
        return 0;
    PorCadaBloque(*DocumentoXML, [&](xmlNode* bloque) {
        PorCadaHijo(bloque, "grupo_datos", [&](xmlNode* datos) {
            if (SeqIgual(datos, grupo))
                PorCadaHijo(datos, "grupo_datos", [&](xmlNode* registro) { ListaRegistros.push_back(registro); });
        });
    });
    return static_cast<int>(ListaRegistros.size());
}

int LecturaIntercambio::AbrirRegistro(int i)
{
    ListaDatos.clear();
    NodoDato = nullptr;
    if (i < 0 || static_cast<std::size_t>(i) >= ListaRegistros.size())
        throw Error("No existe el registro " + std::to_string(i) + " del grupo de datos seleccionado");
    NodoRegistro = ListaRegistros[static_cast<std::size_t>(i)];
    // Steps open the records in order, and the parser laid each record's
    // nodes out one after another: asking for the next record's memory now
    // lets it arrive while this one is read.
    if (static_cast<std::size_t>(i) + 1 < ListaRegistros.size())
        PedirMemoria(ListaRegistros[static_cast<std::size_t>(i) + 1]);
    PorCadaHijo(NodoRegistro, "dato", [&](xmlNode* dato) { ListaDatos.push_back(dato); });
    return static_cast<int>(ListaDatos.size());
}

std::string LecturaIntercambio::LeerDatoSinRecortar(int p)
{
    if (p < 0 || static_cast<std::size_t>(p) >= ListaDatos.size()) {
        NodoDato = nullptr;
        return {};
    }
    NodoDato = ListaDatos[static_cast<std::size_t>(p)];
    if (const auto simple = TextoNodoSimple(NodoDato))
        return Utf8AAnsi(*simple);
    return Utf8AAnsi(TextoNodo(NodoDato));
}

std::string LecturaIntercambio::LeerDato(int p)
{
    if (p < 0 || static_cast<std::size_t>(p) >= ListaDatos.size()) {
        NodoDato = nullptr;
        return {};
    }
    NodoDato = ListaDatos[static_cast<std::size_t>(p)];
    if (const auto simple = TextoNodoSimple(NodoDato))
        return Utf8AAnsi(Recortar(*simple));
    return Utf8AAnsi(Recortar(TextoNodo(NodoDato)));
}

std::string LeerAnnoAcademico(const DocumentoXml& documento)
{
    const xmlNode* bloque = nullptr;
    PorCadaBloque(documento, [&](xmlNode* b) {
        if (!bloque)
            bloque = b;
    });
    if (!bloque)
        throw Error("El archivo " + Nombre(documento) + " no tiene el elemento /SERVICIO/BLOQUE_DATOS");
    for (const xmlNode* hijo = bloque->children; hijo; hijo = hijo->next) {
        if (EsTextoBlanco(hijo))
            continue;
        return Utf8AAnsi(TextoNodo(hijo)).substr(0, 4);
    }
    throw Error("El archivo " + Nombre(documento) +
                " no tiene ningún dato en /SERVICIO/BLOQUE_DATOS, ni siquiera el año académico");
}

} // namespace durlavex
