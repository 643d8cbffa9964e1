#pragma once
// A small school built in code for import runs: the store's tables written
// with our engine, SOLUC in dBase III form as Talvorin writes it, an exchange
// file, a scripted person, and the result file read back.
//
//   EntornoImportacion e;
//   e.escuela.soluc.push_back({"P1", "3", "2", "MAT", "1A", "", "A1"});
//   e.Preparar();
//   auto r = e.Ejecutar();
//   auto doc = e.Leer(); // doc.profesores[0].lecciones[0].datos ...
//
// Test texts are UTF-8; they are stored in the tables' single-byte code page.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "comun/directorio_temporal.h"
#include "comun/interaccion_guionada.h"
#include "comun/intercambio.h"
#include "import/dbase3.h"
#include "import/importacion.h"
#include "platform/reloj.h"
#include "platform/texto.h"
#include "tables/esquemas.h"
#include "tables/tabla.h"

namespace durlavex::pruebas {

using FilaCampos = std::map<std::string, std::string>; // field name → UTF-8 text

// A SOLUC row, every field as the text stored in the file.
struct FilaSoluc {
    std::string PROF, DIA, HORA, ASIG, CODGRUPO, TAREA, AULA;
};

struct Escuela {
    std::vector<FilaCampos> proft, asigt, grupost, asignomt, asignomt2, diashorast, periodos;
    std::vector<FilaSoluc> soluc;
};

// One teacher P1, two groups, a subject MAT taught to 1A, an activity GUA,
// two time slots, a school year.
inline Escuela EscuelaBase()
{
    Escuela e;
    e.proft = {
        {{"ABREV", "P1"}, {"NOMBRE", "Ana Pérez"}, {"X_EMPLEADO", "1001"}, {"F_TOMAPOS", "01/09/2015"}}};
    e.grupost = {{{"ABREV", "1A"}, {"CLAVE", "U1A"}, {"CLAVECURSO", "C1"}},
                 {{"ABREV", "2B"}, {"CLAVE", "U2B"}, {"CLAVECURSO", "C2"}}};
    e.asigt = {{{"CASIG", "MAT"}, {"CGRUP", "1A"}, {"CLAVE", "M-MAT"}, {"CLAVECURSO", "C1-A"}}};
    e.asignomt = {{{"COD", "MAT"}, {"NOMBRE", "Matemáticas"}},
                  {{"COD", "GUA"}, {"NOMBRE", "Guardia"}, {"CODTAREA", "376"}}};
    e.asignomt2 = {{{"COD", "MAT"}, {"OFERTAMATRI", "C2"}, {"MATERIA", "M-MAT-2"}}};
    e.diashorast = {
        {{"DIHO", "32"}, {"DIA", "3"}, {"CODDIHO", "T-32"}, {"HORADESDE", "09:00"}, {"HORAHASTA", "09:55"}},
        {{"DIHO", "11"}, {"DIA", "1"}, {"CODDIHO", "T-11"}, {"HORADESDE", "08:00"}, {"HORAHASTA", "08:55"}}};
    e.periodos = {{{"CJORNADA", "J1"}, {"FECINI", "01/09/2023"}, {"FECFIN", "30/06/2024"}}};
    return e;
}

inline void EscribirTabla(const std::filesystem::path& directorio, const Esquema& esquema,
                          const std::vector<FilaCampos>& filas)
{
    BorrarTabla(directorio, esquema.nombre);
    auto tabla = CrearTabla(directorio, esquema);
    tabla->Abrir();
    for (const auto& fila : filas) {
        tabla->Agregar();
        for (const auto& [campo, valor] : fila)
            tabla->FijarTexto(campo, Utf8AAnsi(valor));
        tabla->Grabar();
    }
    tabla->Cerrar();
}

inline void EscribirSoluc(const std::filesystem::path& directorio, const std::vector<FilaSoluc>& filas)
{
    std::vector<std::vector<std::string>> datos;
    for (const auto& f : filas)
        datos.push_back({Utf8AAnsi(f.PROF).Bytes(), f.DIA, f.HORA, Utf8AAnsi(f.ASIG).Bytes(),
                         Utf8AAnsi(f.CODGRUPO).Bytes(), Utf8AAnsi(f.TAREA).Bytes(),
                         Utf8AAnsi(f.AULA).Bytes()});
    EscribirDbase3(directorio / "SOLUC.DBF",
                   {{"PROF", 'C', 10},
                    {"DIA", 'N', 1},
                    {"HORA", 'N', 2},
                    {"ASIG", 'C', 10},
                    {"CODGRUPO", 'C', 10},
                    {"TAREA", 'C', 10},
                    {"AULA", 'C', 10}},
                   datos);
}

// The result file read back.
struct DatoLeido {
    std::string nombre, valor;
    bool operator==(const DatoLeido&) const = default;
};
struct LeccionLeida {
    std::string seq;
    std::vector<std::string> valores; // the eleven datums' texts
    std::vector<std::string> nombres; // their nombre_dato
};
struct ProfesorLeido {
    std::string seq, registros;
    std::vector<DatoLeido> datos; // X_EMPLEADO, F_TOMAPOS
    std::vector<LeccionLeida> lecciones;
};
struct ResultadoLeido {
    std::vector<std::pair<std::string, std::string>> atributosServicio;
    std::vector<std::string> gruposBloque; // seq of every child of BLOQUE_DATOS
    std::string anno;
    std::string registros; // of HORARIOS_REGULARES
    std::vector<ProfesorLeido> profesores;
    std::vector<std::string> nodosFuera; // kinds and texts of the top-level nodes, in order
};

namespace detalle {
inline std::string Atributo(const xmlNode* n, const char* nombre)
{
    xmlChar* v = xmlGetProp(n, reinterpret_cast<const xmlChar*>(nombre));
    std::string r = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return r;
}
inline std::string Texto(const xmlNode* n)
{
    xmlChar* v = xmlNodeGetContent(n);
    std::string r = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return r;
}
inline std::vector<const xmlNode*> Hijos(const xmlNode* n)
{
    std::vector<const xmlNode*> r;
    for (const xmlNode* h = n->children; h; h = h->next)
        r.push_back(h);
    return r;
}
} // namespace detalle

inline ResultadoLeido LeerResultado(const std::filesystem::path& ruta)
{
    using namespace detalle;
    ResultadoLeido r;
    xmlDoc* doc = xmlReadFile(ruta.string().c_str(), nullptr, XML_PARSE_NONET);
    if (!doc)
        throw std::runtime_error("el archivo de resultado no es XML bien formado: " + ruta.string());
    for (const xmlNode* n = doc->children; n; n = n->next) {
        const std::string nombre = reinterpret_cast<const char*>(n->name ? n->name : BAD_CAST "");
        r.nodosFuera.push_back(n->type == XML_COMMENT_NODE ? "comentario:" + Texto(n)
                               : n->type == XML_PI_NODE    ? "pi:" + nombre
                               : n->type == XML_DTD_NODE   ? "dtd:" + nombre
                                                           : "elemento:" + nombre);
    }
    const xmlNode* servicio = xmlDocGetRootElement(doc);
    for (const xmlAttr* a = servicio->properties; a; a = a->next)
        r.atributosServicio.emplace_back(reinterpret_cast<const char*>(a->name),
                                         Texto(reinterpret_cast<const xmlNode*>(a)));
    const xmlNode* bloque = servicio->children;
    for (const xmlNode* grupo : Hijos(bloque)) {
        const std::string seq = Atributo(grupo, "seq");
        r.gruposBloque.push_back(seq);
        if (seq == "ANNO_ACADEMICO")
            r.anno = Texto(grupo);
        if (seq != "HORARIOS_REGULARES")
            continue;
        r.registros = Atributo(grupo, "registros");
        for (const xmlNode* p : Hijos(grupo)) {
            ProfesorLeido profesor{Atributo(p, "seq"), Atributo(p, "registros"), {}, {}};
            for (const xmlNode* h : Hijos(p)) {
                if (std::string(reinterpret_cast<const char*>(h->name)) == "dato") {
                    profesor.datos.push_back({Atributo(h, "nombre_dato"), Texto(h)});
                    continue;
                }
                LeccionLeida leccion{Atributo(h, "seq"), {}, {}};
                for (const xmlNode* d : Hijos(h)) {
                    leccion.nombres.push_back(Atributo(d, "nombre_dato"));
                    leccion.valores.push_back(Texto(d));
                }
                profesor.lecciones.push_back(std::move(leccion));
            }
            r.profesores.push_back(std::move(profesor));
        }
    }
    xmlFreeDoc(doc);
    return r;
}

inline std::string LeerBytes(const std::filesystem::path& ruta)
{
    std::ifstream entrada(ruta, std::ios::binary);
    std::ostringstream s;
    s << entrada.rdbuf();
    return s.str();
}

inline void EscribirBytes(const std::filesystem::path& ruta, const std::string& bytes)
{
    std::ofstream(ruta, std::ios::binary) << bytes;
}

constexpr const char* kFechaFija = "05/03/2024 9:05:03";

// A clock whose header date is given in advance.
struct RelojGuionado : Reloj {
    std::string fecha;
    std::string FechaHora() const override { return fecha; }
};

// The run's folders: Talvorin's working directory and the folder of the
// exchange file, each temporary.
class EntornoImportacion {
  public:
    EntornoImportacion() : escuela(EscuelaBase())
    {
        intercambio.Anno("2023/2024").Grupo("MATERIAS", {{"101", "MAT", "Matemáticas"}});
        archivoXml = origen / "vorna.xml";
    }

    // Writes the school's tables, SOLUC and the exchange file.
    void Preparar()
    {
        const auto& d = trabajo.Ruta();
        EscribirTabla(d, esquemas::PROFT, escuela.proft);
        EscribirTabla(d, esquemas::GRUPOST, escuela.grupost);
        EscribirTabla(d, esquemas::CURSOST, {});
        EscribirTabla(d, esquemas::AULAT, {});
        EscribirTabla(d, esquemas::ASIGT, escuela.asigt);
        EscribirTabla(d, esquemas::ASIGNOMT, escuela.asignomt);
        EscribirTabla(d, esquemas::ASIGNOMT2, escuela.asignomt2);
        EscribirTabla(d, esquemas::DIASHORAST, escuela.diashorast);
        EscribirTabla(d, esquemas::PERIODOS, escuela.periodos);
        EscribirSoluc(d, escuela.soluc);
        intercambio.Guardar(archivoXml);
    }

    ResultadoImportacion Ejecutar()
    {
        reloj.fecha = fecha;
        OpcionesCorrida opciones;
        opciones.archivoXml = archivoXml;
        opciones.directorioTrabajo = trabajo.Ruta();
        opciones.reloj = &reloj;
        return EjecutarImportacion(opciones, persona);
    }

    std::filesystem::path Resultado() const
    {
        return origen / ("ResultadoTalvos" + archivoXml.filename().string());
    }
    ResultadoLeido Leer() const { return LeerResultado(Resultado()); }

    DirectorioTemporal trabajo;
    DirectorioTemporal origen;
    Escuela escuela;
    ArchivoIntercambio intercambio;
    std::filesystem::path archivoXml;
    std::string fecha = kFechaFija; // the header's date and time (UTF-8)
    RelojGuionado reloj;
    InteraccionGuionada persona;
};

} // namespace durlavex::pruebas
