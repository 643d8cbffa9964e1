// The check of a lesson's keys against Vorna's: each kind of unknown key,
// the empty datums that are fine, and the report's counts, examples and words.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "comun/intercambio.h"
#include "exchange/lectura.h"
#include "import/claves_vorna.h"
#include "import/comprobacion_claves.h"
#include "import/informe_claves.h"

namespace durlavex {
namespace {

using Dato = std::pair<std::string, std::string>; // nombre_dato, text

std::string Grupo(const std::string& seq, const std::vector<std::vector<Dato>>& registros)
{
    std::string xml = "<grupo_datos seq=\"" + seq + "\">";
    for (const auto& registro : registros) {
        xml += "<grupo_datos>";
        for (const auto& [nombre, texto] : registro)
            xml += "<dato nombre_dato=\"" + nombre + "\">" + pruebas::EscaparXml(texto) + "</dato>";
        xml += "</grupo_datos>";
    }
    return xml + "</grupo_datos>";
}

// A school's keys as real files name them, some in their own order.
ClavesVorna Claves(const std::string& actividades =
                       Grupo("ACTIVIDADES", {{{"D_ACTIVIDAD", "Docencia"}, {"X_ACTIVIDAD", "513"}},
                                             {{"D_ACTIVIDAD", "Guardia"}, {"X_ACTIVIDAD", "520"}}}))
{
    const std::string xml =
        "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"ANNO_ACADEMICO\"><dato>2025</dato></grupo_datos>" +
        Grupo("UNIDADES", {{{"X_UNIDAD", "5001"}, {"T_NOMBRE", "1º ESO A"}, {"X_OFERTAMATRIG", "310101"}},
                           {{"X_UNIDAD", "Unidad ñ"}}}) +
        Grupo("CURSOS_DEL_CENTRO", {{{"X_OFERTAMATRIG", "310101"}}, {{"X_OFERTAMATRIG", "310102"}}}) +
        Grupo("MATERIAS",
              {{{"X_OFERTAMATRIG", "310101"}, {"D_MATERIAC", "Matemáticas"}, {"X_MATERIAOMG", "10012"}},
               {{"X_OFERTAMATRIG", "310102"}, {"D_MATERIAC", "Matemáticas"}, {"X_MATERIAOMG", "10022"}}}) +
        Grupo("TRAMOS_HORARIOS", {{{"X_TRAMO", " T1 "}, {"X_PLAJORESCCEN", "J1"}},
                                  {{"X_TRAMO", "K1"}, {"X_PLAJORESCCEN", "J2"}}}) +
        Grupo("DEPENDENCIAS", {{{"X_DEPENDENCIA", "A11"}, {"D_DEPENDENCIA", "Aula 1.1"}},
                               {{"X_DEPENDENCIA", "Aula de Música"}},
                               {{"X_DEPENDENCIA", ""}, {"D_DEPENDENCIA", "Laboratorio de Física"}}}) +
        actividades + "</BLOQUE_DATOS></SERVICIO>";
    LecturaIntercambio lectura;
    lectura.UsarDocumento(DocumentoXml::CargarMemoria(xml, "vorna.xml"));
    return LeerClavesVorna(lectura);
}

// X_TRAMO, X_DEPENDENCIA, X_UNIDAD, X_OFERTAMATRIG, X_MATERIAOMG, X_ACTIVIDAD
struct Leccion {
    std::string tramo, dependencia, unidad, curso, materia, actividad;
    ClavesLeccion Claves() const { return {tramo, dependencia, unidad, curso, materia, actividad}; }
};

struct CasoLeccion {
    const char* nombre;
    Leccion leccion;
    std::set<Problema> problemas;
    friend void PrintTo(const CasoLeccion& c, std::ostream* os) { *os << c.nombre; }
};

using P = Problema;

const CasoLeccion kCasos[] = {
    {"TodoConocido", {"T1", "A11", "5001", "310101", "10012", "513"}, {}},
    {"GuardiaSinGrupoMateriaNiAula", {"T1", "", "", "", "", "520"}, {}},
    {"TramoDeLaOtraPlantilla", {"K1", "A11", "5001", "310101", "10012", "513"}, {}},
    {"ClaseSinActividad", {"T1", "A11", "5001", "310101", "10012", ""}, {}},
    {"BlancosAlrededor", {" T1", "A11 ", "\t5001", "310101\n", " 10012 ", " 513"}, {}},
    {"ClavesAcentuadas", {"T1", "Aula de Música", "Unidad ñ", "310101", "10012", "513"}, {}},
    {"UnidadCreadaEnTalvorin", {"T1", "A11", "5001B", "310101", "10012", "513"}, {P::Unidad}},
    {"CursoDesconocidoYaNoSeMiraSuMateria", {"T1", "A11", "5001", "399999", "10012", "513"}, {P::Curso}},
    {"MateriaDeOtroCurso", {"T1", "A11", "5001", "310102", "10012", "513"}, {P::Materia}},
    {"MateriaSinCurso", {"T1", "A11", "5001", "", "10012", "513"}, {P::Materia}},
    {"TramoDesconocido", {"T9", "A11", "5001", "310101", "10012", "513"}, {P::Tramo}},
    {"HoraQueNoEsTramoDeLaPlantilla", {"", "A11", "5001", "310101", "10012", "513"}, {P::SinTramo}},
    {"AulaSinCodigoEnVorna", {"T1", "Laboratori", "5001", "310101", "10012", "513"}, {P::Dependencia}},
    {"AulaConOtrasMayusculas", {"T1", "a11", "5001", "310101", "10012", "513"}, {P::Dependencia}},
    {"ActividadTecleadaEnTalvorinNoEsClase", {"T1", "", "", "", "", "GUARD"}, {P::Actividad}},
    {"ClaseDeGrupoCreadoEnTalvorin",
     {"T1", "A11", "", "", "", "513"},
     {P::ClaseSinUnidad, P::ClaseSinMateria}},
    {"ClaseSinActividadNiMateria", {"T1", "", "5001", "310101", "", ""}, {P::ClaseSinMateria}},
    {"TodoMal",
     {"T9", "Lab", "9Z", "310101", "99", "X"},
     {P::Unidad, P::Materia, P::Tramo, P::Dependencia, P::Actividad}},
};

class LeccionComprobada : public testing::TestWithParam<CasoLeccion> {};

TEST_P(LeccionComprobada, SusProblemas)
{
    const ClavesVorna claves = Claves();
    ComprobacionClaves comprobacion(claves, claves.tareaDocencia);
    comprobacion.Ver(GetParam().leccion.Claves(), [] { return std::string("la lección"); });
    const InformeClaves informe = comprobacion.Informe();
    std::set<Problema> hallados;
    for (std::size_t i = 0; i < kTiposProblema; ++i)
        if (informe.problemas[i].lecciones > 0)
            hallados.insert(static_cast<Problema>(i));
    EXPECT_EQ(hallados, GetParam().problemas);
    EXPECT_EQ(informe.lecciones, 1);
    EXPECT_EQ(informe.leccionesConProblemas, GetParam().problemas.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Casos, LeccionComprobada, testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Without "513" the teaching activity is the one named Docencia, whatever its
// code: its lessons are classes, and need a unit.
TEST(ClavesVorna, LaDocenciaSinEl513EsLaActividadLlamadaDocencia)
{
    const ClavesVorna claves =
        Claves(Grupo("ACTIVIDADES", {{{"D_ACTIVIDAD", "Guardia"}, {"X_ACTIVIDAD", "9"}},
                                     {{"D_ACTIVIDAD", " docencia "}, {"X_ACTIVIDAD", "7"}}}));
    EXPECT_EQ(claves.tareaDocencia, "7");
    ComprobacionClaves comprobacion(claves, claves.tareaDocencia);
    comprobacion.Ver(Leccion{"T1", "", "", "", "10012", "7"}.Claves(), [] { return std::string(); });
    comprobacion.Ver(Leccion{"T1", "", "", "", "", "9"}.Claves(), [] { return std::string(); });
    EXPECT_EQ(comprobacion.Informe().De(P::ClaseSinUnidad).lecciones, 1);
}

// Many lessons: each kind counts its lessons and its different keys, and
// keeps ten examples, each of another key; only those lessons are described.
TEST(Informe, CuentaYGuardaDiezEjemplosDeClavesDistintas)
{
    const ClavesVorna claves = Claves();
    ComprobacionClaves comprobacion(claves, "513");
    int descritas = 0;
    for (int i = 0; i < 30; ++i) {
        const std::string aula = "X" + std::to_string(i % 12);
        comprobacion.Ver(Leccion{"T1", aula, "5001", "310101", "10012", "513"}.Claves(), [&] {
            ++descritas;
            return "lección " + std::to_string(i);
        });
    }
    for (int i = 0; i < 3; ++i)
        comprobacion.Ver(Leccion{"", "A11", "5001", "310101", "10012", "513"}.Claves(),
                         [&] { return "sin tramo " + std::to_string(i); });
    // The same subject key in two courses is two keys.
    comprobacion.Ver(Leccion{"T1", "A11", "5001", "310101", "10022", "513"}.Claves(),
                     [] { return std::string("a"); });
    comprobacion.Ver(Leccion{"T1", "A11", "5001", "310102", "10012", "513"}.Claves(),
                     [] { return std::string("b"); });

    const InformeClaves informe = comprobacion.Informe();
    EXPECT_EQ(informe.lecciones, 35);
    EXPECT_EQ(informe.leccionesConProblemas, 35);
    const ProblemasDeUnTipo& aulas = informe.De(P::Dependencia);
    EXPECT_EQ(aulas.lecciones, 30);
    EXPECT_EQ(aulas.clavesDistintas, 12);
    ASSERT_EQ(aulas.ejemplos.size(), kEjemplosPorProblema);
    for (std::size_t i = 0; i < aulas.ejemplos.size(); ++i) {
        EXPECT_EQ(aulas.ejemplos[i].clave, "«X" + std::to_string(i) + "»");
        EXPECT_EQ(aulas.ejemplos[i].leccion, "lección " + std::to_string(i));
    }
    EXPECT_EQ(descritas, 10);
    EXPECT_EQ(informe.De(P::SinTramo).lecciones, 3);
    EXPECT_EQ(informe.De(P::SinTramo).ejemplos.size(), 3u);
    EXPECT_EQ(informe.De(P::Materia).clavesDistintas, 2);
    EXPECT_EQ(informe.De(P::Materia).ejemplos[1].clave, "«10012» del curso «310102»");
}

TEST(Informe, TextoDeLosProblemas)
{
    const ClavesVorna claves = Claves();
    ComprobacionClaves comprobacion(claves, claves.tareaDocencia);
    comprobacion.Ver(Leccion{"T1", "A11", "5001", "310101", "10012", "513"}.Claves(),
                     [] { return std::string("bien"); });
    for (const char* aula : {"Laboratori", "Laboratori", "Laborator1"})
        comprobacion.Ver(Leccion{"T1", aula, "5001", "310101", "10012", "513"}.Claves(),
                         [&] { return std::string("GLA, aula ") + aula; });
    comprobacion.Ver(Leccion{"T1", "", "", "", "", ""}.Claves(),
                     [] { return std::string("PJ, grupo nuevo"); });

    EXPECT_EQ(
        TextoInformeClaves(comprobacion.Informe()),
        "Comprobación para Vorna: 4 de 5 lecciones llevan claves que Vorna no reconocerá: Vorna rechazará "
        "esas "
        "lecciones o las dejará fuera sin avisar.\n"
        "\n"
        "Dependencias que Vorna no conoce (X_DEPENDENCIA): 3 lecciones, 2 claves distintas.\n"
        "Qué hacer: dé de alta en Vorna la dependencia con ese código (a una dependencia sin código en "
        "Vorna, "
        "Talvorin le da uno hecho con su nombre), o en Talvorin dé a esas lecciones un aula que venga de "
        "Vorna y "
        "vuelva a importar.\n"
        "  - «Laboratori»: GLA, aula Laboratori\n"
        "  - «Laborator1»: GLA, aula Laborator1\n"
        "  - y 1 lección más.\n"
        "\n"
        "Clases sin unidad (X_UNIDAD vacío): 1 lección. Una clase es una lección de la actividad de docencia "
        "«513» o sin actividad.\n"
        "Qué hacer: en Talvorin dé esas clases a un grupo que venga de Vorna y vuelva a importar (un grupo "
        "creado "
        "en Talvorin no existe en Vorna: créelo antes en Vorna y exporte de nuevo).\n"
        "  - PJ, grupo nuevo\n"
        "\n"
        "Clases sin materia (X_MATERIAOMG vacío): 1 lección. Una clase es una lección de la actividad de "
        "docencia «513» o sin actividad.\n"
        "Qué hacer: en Talvorin dé a esas clases una materia que Vorna tenga en el curso del grupo y vuelva "
        "a "
        "importar (una materia creada en Talvorin no existe en Vorna: créela antes en Vorna y exporte de "
        "nuevo).\n"
        "  - PJ, grupo nuevo");
}

TEST(Informe, UnaLineaCuandoNoHayNadaQueDecir)
{
    const ClavesVorna claves = Claves();
    ComprobacionClaves bien(claves, "513");
    for (int i = 0; i < 2; ++i)
        bien.Ver(Leccion{"T1", "A11", "5001", "310101", "10012", "513"}.Claves(),
                 [] { return std::string(); });
    EXPECT_FALSE(bien.Informe().HayQueAvisar());
    EXPECT_EQ(TextoInformeClaves(bien.Informe(), " de «R.xml»"),
              "Comprobación para Vorna de «R.xml»: Vorna reconocerá las claves de las 2 lecciones.");
    EXPECT_EQ(TextoInformeClaves(ComprobacionClaves(claves, "513").Informe()),
              "Comprobación para Vorna: no hay lecciones que comprobar.");
}

// An exchange file without any key (not the one Vorna exported) checks
// nothing: one warning instead of every lesson reported.
TEST(Informe, SinClavesDeVornaNoSeComprueba)
{
    const ClavesVorna ninguna;
    ComprobacionClaves comprobacion(ninguna, "");
    comprobacion.Ver(Leccion{"T1", "A11", "5001", "310101", "10012", "513"}.Claves(),
                     [] { return std::string(); });
    const InformeClaves informe = comprobacion.Informe();
    EXPECT_TRUE(informe.HayQueAvisar());
    EXPECT_EQ(informe.leccionesConProblemas, 0);
    EXPECT_THAT(
        TextoInformeClaves(informe),
        testing::StartsWith("Comprobación para Vorna: no se han podido comprobar las claves de la única "
                            "lección: el archivo de intercambio no trae ninguno de los grupos de datos"));
}

} // namespace
} // namespace durlavex
