#include "exchange/lectura.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cstring>

#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/interrupcion.h"
#include "platform/rutas.h"
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

template <typename Accion> void PorCadaHijo(const xmlNode* padre, const char* nombre, Accion accion)
{
    for (xmlNode* hijo = padre->children; hijo; hijo = hijo->next)
        if (EsElemento(hijo, nombre))
            accion(hijo);
}

// /SERVICIO/BLOQUE_DATOS: every BLOQUE_DATOS under the root SERVICIO.
template <typename Accion> void PorCadaBloque(const DocumentoXml& documento, Accion accion)
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

// The nombre_dato attribute of a datum, read where libxml2 keeps it; empty
// when the datum has none. An attribute whose value is not one plain text
// (an entity reference in it) names no role.
std::string_view NombreDato(const xmlNode* dato)
{
    for (const xmlAttr* atributo = dato->properties; atributo; atributo = atributo->next) {
        if (atributo->ns != nullptr ||
            std::strcmp(reinterpret_cast<const char*>(atributo->name), "nombre_dato") != 0)
            continue;
        const xmlNode* valor = atributo->children;
        if (valor && valor->type == XML_TEXT_NODE && valor->next == nullptr && valor->content)
            return reinterpret_cast<const char*>(valor->content);
        return {};
    }
    return {};
}

std::string Nombre(const DocumentoXml& documento)
{
    return Entre(TextoRuta(documento.Ruta()));
}

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
    roles_ = RolesDe(grupo);
    grupo_ = std::string(grupo);
    indiceRegistro_ = -1;
    if (!DocumentoXML)
        return 0;
    PorCadaBloque(*DocumentoXML, [&](xmlNode* bloque) {
        PorCadaHijo(bloque, "grupo_datos", [&](xmlNode* datos) {
            if (SeqIgual(datos, grupo))
                PorCadaHijo(datos, "grupo_datos",
                            [&](xmlNode* registro) { ListaRegistros.push_back(registro); });
        });
    });
    return static_cast<int>(ListaRegistros.size());
}

int LecturaIntercambio::AbrirRegistro(int i)
{
    ListaDatos.clear();
    datoDeRol_.fill(-1);
    NodoDato = nullptr;
    if (i < 0 || static_cast<std::size_t>(i) >= ListaRegistros.size())
        throw Error("No existe el registro " + std::to_string(i) + " del grupo de datos seleccionado");
    ComprobarInterrupcion();
    NodoRegistro = ListaRegistros[static_cast<std::size_t>(i)];
    indiceRegistro_ = i;
    // Steps open the records in order, and the parser laid each record's
    // nodes out one after another: asking for the next record's memory now
    // lets it arrive while this one is read.
    if (static_cast<std::size_t>(i) + 1 < ListaRegistros.size())
        PedirMemoria(ListaRegistros[static_cast<std::size_t>(i) + 1]);
    PorCadaHijo(NodoRegistro, "dato", [&](xmlNode* dato) { ListaDatos.push_back(dato); });
    if (roles_)
        ResolverRoles();
    return static_cast<int>(ListaDatos.size());
}

void LecturaIntercambio::ResolverRoles()
{
    datoDeRol_.fill(-1);
    rolDeDato_.assign(ListaDatos.size(), -1);
    for (std::size_t i = 0; i < ListaDatos.size(); ++i) {
        const int rol = RolDeNombre(*roles_, NombreDato(ListaDatos[i]));
        rolDeDato_[i] = rol;
        if (rol >= 0 && datoDeRol_[static_cast<std::size_t>(rol)] < 0)
            datoDeRol_[static_cast<std::size_t>(rol)] = static_cast<int>(i);
    }
    // A role no datum names falls back on its position, unless the datum
    // there is named as another role's.
    for (std::size_t p = 0; p < roles_->roles && p < ListaDatos.size(); ++p)
        if (datoDeRol_[p] < 0 && rolDeDato_[p] < 0)
            datoDeRol_[p] = static_cast<int>(p);
}

xmlNode* LecturaIntercambio::DatoDeRol(int p)
{
    if (p < 0)
        return nullptr;
    const auto posicion = static_cast<std::size_t>(p);
    if (roles_ && posicion < roles_->roles) {
        const int indice = datoDeRol_[posicion];
        return indice < 0 || static_cast<std::size_t>(indice) >= ListaDatos.size()
                   ? nullptr
                   : ListaDatos[static_cast<std::size_t>(indice)];
    }
    return posicion < ListaDatos.size() ? ListaDatos[posicion] : nullptr;
}

std::string LecturaIntercambio::Lugar(int p)
{
    std::string lugar = grupo_ + ", registro " + std::to_string(indiceRegistro_ + 1);
    const xmlNode* dato = indiceRegistro_ < 0 ? nullptr : DatoDeRol(p);
    std::string_view nombre = dato ? NombreDato(dato) : std::string_view();
    if (!dato && roles_ && p >= 0 && static_cast<std::size_t>(p) < roles_->roles)
        nombre = roles_->nombres[static_cast<std::size_t>(p)];
    if (!nombre.empty()) {
        lugar += ", dato " + std::string(nombre);
    } else {
        const auto posicion =
            dato ? std::find(ListaDatos.begin(), ListaDatos.end(), dato) - ListaDatos.begin() : p;
        lugar += ", dato en la posición " + std::to_string(posicion);
    }
    const xmlNode* nodo = dato ? dato : NodoRegistro;
    if (nodo)
        lugar += ", línea " + std::to_string(xmlGetLineNo(nodo));
    return lugar;
}

std::string LecturaIntercambio::LeerDatoSinRecortar(int p)
{
    NodoDato = DatoDeRol(p);
    if (!NodoDato)
        return {};
    if (const auto simple = TextoNodoSimple(NodoDato))
        return Utf8AAnsi(*simple).Bytes();
    return Utf8AAnsi(TextoNodo(NodoDato)).Bytes();
}

std::string LecturaIntercambio::LeerDato(int p)
{
    NodoDato = DatoDeRol(p);
    if (!NodoDato)
        return {};
    if (const auto simple = TextoNodoSimple(NodoDato))
        return Utf8AAnsi(Recortar(*simple)).Bytes();
    return Utf8AAnsi(Recortar(TextoNodo(NodoDato))).Bytes();
}

std::string LecturaIntercambio::LeerDatoUtf8(int p)
{
    NodoDato = DatoDeRol(p);
    if (!NodoDato)
        return {};
    if (const auto simple = TextoNodoSimple(NodoDato))
        return std::string(Recortar(*simple));
    return std::string(Recortar(TextoNodo(NodoDato)));
}

TextoAnsi LeerAnnoAcademico(const DocumentoXml& documento)
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
        return TextoAnsi(Utf8AAnsi(TextoNodo(hijo)).Bytes().substr(0, 4));
    }
    throw Error("El archivo " + Nombre(documento) +
                " no tiene ningún dato en /SERVICIO/BLOQUE_DATOS, ni siquiera el año académico");
}

void ComprobarDatosParaExportar(const DocumentoXml& documento)
{
    bool hayDatos = false;
    PorCadaBloque(documento, [&](xmlNode* bloque) {
        PorCadaHijo(bloque, "grupo_datos", [&](xmlNode* grupo) {
            // The groups the role table knows are the groups the steps read.
            for (const RolesGrupo& roles : TodosLosRoles())
                hayDatos = hayDatos || SeqIgual(grupo, roles.grupo);
        });
    });
    if (hayDatos)
        return;
    std::string mensaje = "El archivo " + Nombre(documento) +
                          " no tiene datos que exportar: no trae ninguno de los grupos de datos "
                          "MATERIAS, ACTIVIDADES, EMPLEADOS, DEPENDENCIAS, CURSOS_DEL_CENTRO, UNIDADES, "
                          "JORNADAS_ESCOLARES ni TRAMOS_HORARIOS";
    const xmlNode* raiz = xmlDocGetRootElement(documento.Crudo());
    xmlChar* tipo = raiz ? xmlGetNoNsProp(raiz, reinterpret_cast<const xmlChar*>("tipo")) : nullptr;
    if (tipo && std::strcmp(reinterpret_cast<const char*>(tipo), "I") == 0)
        mensaje += "; parece un archivo de resultado de una importación (tipo=\"I\"), no un archivo de "
                   "intercambio exportado por Vorna";
    xmlFree(tipo);
    mensaje += ". No se ha borrado ni escrito nada";
    throw Error(mensaje);
}

} // namespace durlavex
