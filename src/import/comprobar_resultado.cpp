#include "import/comprobar_resultado.h"

#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/lectura.h"
#include "import/claves_vorna.h"
#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"
#include "platform/xml/lectura_secuencial.h"

namespace durlavex {

namespace {

// The datums of a lesson record, in the order the import writes them; a
// datum is found by its nombre_dato, by this position in a record without
// names.
constexpr std::array<std::string_view, 11> kDatosLeccion = {
    "N_DIASEMANA", "X_TRAMO", "X_DEPENDENCIA", "X_UNIDAD", "X_OFERTAMATRIG", "X_MATERIAOMG",
    "F_INICIO",    "F_FIN",   "N_HORINI",      "N_HORFIN", "X_ACTIVIDAD"};
enum DatoLeccion {
    N_DIASEMANA,
    X_TRAMO,
    X_DEPENDENCIA,
    X_UNIDAD,
    X_OFERTAMATRIG,
    X_MATERIAOMG,
    N_HORINI = 8,
    N_HORFIN,
    X_ACTIVIDAD
};

int RolDe(std::string_view nombre)
{
    for (std::size_t r = 0; r < kDatosLeccion.size(); ++r)
        if (kDatosLeccion[r] == nombre)
            return static_cast<int>(r);
    return -1;
}

// A key is a few characters; a datum far longer is kept cut, and marked so
// that it can never pass for a key.
constexpr std::size_t kLargoMaximoDato = 4096;

struct DatoLeido {
    std::string texto;
    int rol = -1; // the role its nombre_dato names, -1 none
    bool conNombre = false;
    bool cortado = false;
};

// "485" as "08:05"; any other text as it is.
std::string Reloj(std::string_view minutos)
{
    if (minutos.empty() || minutos.size() > 6 ||
        minutos.find_first_not_of("0123456789") != std::string_view::npos)
        return std::string(minutos);
    const int m = std::stoi(std::string(minutos));
    char texto[16];
    std::snprintf(texto, sizeof texto, "%02d:%02d", m / 60, m % 60);
    return texto;
}

std::string AtributoRaiz(const DocumentoXml& documento, const char* nombre)
{
    const xmlNode* raiz = xmlDocGetRootElement(documento.Crudo());
    xmlChar* valor = raiz ? xmlGetNoNsProp(raiz, reinterpret_cast<const xmlChar*>(nombre)) : nullptr;
    std::string texto = valor ? reinterpret_cast<const char*>(valor) : "";
    xmlFree(valor);
    return texto;
}

// Follows SERVICIO / BLOQUE_DATOS / grupo_datos HORARIOS_REGULARES / teacher
// record / lesson record / dato, and checks each lesson as it ends.
class LecturaResultado : public ReceptorXml {
  public:
    LecturaResultado(const std::filesystem::path& ruta, const ClavesVorna& claves)
        : ruta_(ruta), claves_(claves), comprobacion_(claves, claves.tareaDocencia)
    {
    }

    void Inicio(const ElementoXml& e) override
    {
        ++profundidad_;
        const auto es = [&](std::string_view nombre) { return !e.enEspacioDeNombres && e.nombre == nombre; };
        switch (profundidad_) {
        case 1:
            if (!es("SERVICIO"))
                throw Error("El archivo " + Entre(TextoRuta(ruta_)) +
                            " no es un archivo de resultado: su elemento raíz es <" + std::string(e.nombre) +
                            ">, no <SERVICIO>");
            tipo_ = e.Atributo("tipo").value_or("");
            break;
        case 2:
            enBloque_ = es("BLOQUE_DATOS");
            break;
        case 3:
            enHorarios_ = enBloque_ && es("grupo_datos") && e.Atributo("seq") == "HORARIOS_REGULARES";
            hayHorarios_ = hayHorarios_ || enHorarios_;
            break;
        case 4:
            enProfesor_ = enHorarios_ && es("grupo_datos");
            if (enProfesor_) {
                profesor_ = e.Atributo("seq").value_or("");
                empleado_.clear();
                datosProfesor_ = 0;
            }
            break;
        case 5:
            enLeccion_ = enProfesor_ && es("grupo_datos");
            if (enLeccion_) {
                leccion_ = e.Atributo("seq").value_or("");
                lineaLeccion_ = e.linea;
                datos_ = 0;
            } else if (enProfesor_ && es("dato")) {
                // The teacher's X_EMPLEADO: by its name, or first without names.
                const auto nombre = e.Atributo("nombre_dato");
                if ((nombre ? *nombre == "X_EMPLEADO" : datosProfesor_ == 0) && empleado_.empty())
                    Recoger(empleadoDato_);
                ++datosProfesor_;
            }
            break;
        case 6:
            if (enLeccion_ && es("dato")) {
                if (datos_ == leidos_.size())
                    leidos_.emplace_back();
                DatoLeido& dato = leidos_[datos_++];
                const auto nombre = e.Atributo("nombre_dato");
                dato.conNombre = nombre.has_value();
                dato.rol = nombre ? RolDe(*nombre) : -1;
                Recoger(dato);
            }
            break;
        default:
            break;
        }
    }

    void Texto(std::string_view texto) override
    {
        if (!recogiendo_)
            return;
        std::string& destino = recogiendo_->texto;
        if (destino.size() + texto.size() > kLargoMaximoDato) {
            texto = texto.substr(0, kLargoMaximoDato - std::min(destino.size(), kLargoMaximoDato));
            recogiendo_->cortado = true;
        }
        destino.append(texto);
    }

    void Fin() override
    {
        if (recogiendo_ && profundidad_ == profundidadRecogida_) {
            if (recogiendo_ == &empleadoDato_)
                empleado_ = std::string(Recortar(empleadoDato_.texto));
            recogiendo_ = nullptr;
        }
        if (profundidad_ == 5 && enLeccion_) {
            Comprobar();
            enLeccion_ = false;
        }
        if (profundidad_ == 4)
            enProfesor_ = false;
        if (profundidad_ == 3)
            enHorarios_ = false;
        --profundidad_;
    }

    // After the whole file: it was a result file.
    InformeClaves Terminar() const
    {
        if (!hayHorarios_) {
            std::string mensaje =
                "El archivo " + Entre(TextoRuta(ruta_)) +
                " no es un archivo de resultado: no tiene el grupo de datos HORARIOS_REGULARES";
            if (tipo_ == "E")
                mensaje += " (es un archivo de intercambio exportado por Vorna: se da primero el archivo de "
                           "resultado y después el de intercambio)";
            throw Error(mensaje);
        }
        return comprobacion_.Informe();
    }

  private:
    void Recoger(DatoLeido& dato)
    {
        dato.texto.clear();
        dato.cortado = false;
        recogiendo_ = &dato;
        profundidadRecogida_ = profundidad_;
    }

    // The datum of role r: the first one named so, or the one at position
    // r when it carries no name of another role.
    const DatoLeido* Dato(int r) const
    {
        for (std::size_t i = 0; i < datos_; ++i)
            if (leidos_[i].rol == r)
                return &leidos_[i];
        const auto posicion = static_cast<std::size_t>(r);
        if (posicion < datos_ && leidos_[posicion].rol < 0)
            return &leidos_[posicion];
        return nullptr;
    }

    std::string_view Valor(int r)
    {
        const DatoLeido* dato = Dato(r);
        if (!dato)
            return {};
        if (!dato->cortado)
            return dato->texto;
        // A cut text shows as cut and matches no key.
        cortados_[static_cast<std::size_t>(r)] = std::string(Recortar(dato->texto)) + "…";
        return cortados_[static_cast<std::size_t>(r)];
    }

    void Comprobar()
    {
        const ClavesLeccion claves{Valor(X_TRAMO),        Valor(X_DEPENDENCIA), Valor(X_UNIDAD),
                                   Valor(X_OFERTAMATRIG), Valor(X_MATERIAOMG),  Valor(X_ACTIVIDAD)};
        comprobacion_.Ver(claves, [&] { return Describir(); });
    }

    // "profesor 4471 (García López, Ana), día 1 de 08:00 a 08:55 (ACTIVIDAD_5
    // de HORARIO_REGULAR_PROFESOR_3, línea 1234)"
    std::string Describir()
    {
        std::string texto = empleado_.empty() ? "profesor sin X_EMPLEADO" : "profesor " + empleado_;
        if (const auto nombre = claves_.nombresEmpleados.find(empleado_);
            nombre != claves_.nombresEmpleados.end())
            texto += " (" + nombre->second + ")";
        const std::string dia(Recortar(Valor(N_DIASEMANA)));
        const std::string desde(Recortar(Valor(N_HORINI)));
        const std::string hasta(Recortar(Valor(N_HORFIN)));
        if (dia.empty())
            texto += ", sin día";
        else
            texto += ", día " + dia;
        if (!(desde.empty() || desde == "0") || !(hasta.empty() || hasta == "0"))
            texto += " de " + Reloj(desde) + " a " + Reloj(hasta);
        return texto + " (" + leccion_ + " de " + profesor_ + ", línea " + std::to_string(lineaLeccion_) +
               ")";
    }

    const std::filesystem::path& ruta_;
    const ClavesVorna& claves_;
    ComprobacionClaves comprobacion_;

    int profundidad_ = 0;
    std::string tipo_; // of the root
    bool enBloque_ = false;
    bool enHorarios_ = false;
    bool hayHorarios_ = false;
    bool enProfesor_ = false;
    bool enLeccion_ = false;

    std::string profesor_; // seq of the teacher record
    std::string empleado_; // its X_EMPLEADO
    DatoLeido empleadoDato_;
    int datosProfesor_ = 0;

    std::string leccion_; // seq of the lesson record
    int lineaLeccion_ = 0;
    std::vector<DatoLeido> leidos_; // reused from lesson to lesson
    std::size_t datos_ = 0;         // of them, this lesson's
    std::array<std::string, kDatosLeccion.size()> cortados_;

    DatoLeido* recogiendo_ = nullptr; // the datum whose text is being read
    int profundidadRecogida_ = 0;
};

} // namespace

InformeClaves ComprobarArchivoResultado(const std::filesystem::path& resultado,
                                        const std::filesystem::path& intercambio)
{
    LecturaIntercambio lectura;
    lectura.CargarDocumento(intercambio);
    if (AtributoRaiz(*lectura.Documento(), "tipo") == "I")
        throw Error(
            "El archivo " + Entre(TextoRuta(intercambio)) +
            " es un archivo de resultado de una importación (tipo=\"I\"), no el archivo de intercambio "
            "que exportó Vorna");
    const ClavesVorna claves = LeerClavesVorna(lectura, true);
    lectura = LecturaIntercambio(); // the exchange document is no longer needed

    LecturaResultado lecturaResultado(resultado, claves);
    LeerXmlSecuencial(resultado, lecturaResultado);
    return lecturaResultado.Terminar();
}

} // namespace durlavex
