// The check of a result's keys in its two forms: during an import, on the
// lessons it writes, and later on the result file it wrote (comprobar). Both
// must find the same problems; and a result file that is none is refused.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "import/comprobar_resultado.h"
#include "import/fixture_importacion.h"
#include "import/importacion.h"
#include "import/informe_claves.h"
#include "platform/error.h"

namespace durlavex {
namespace {

using testing::HasSubstr;

// A school whose timetable carries keys Vorna does not know.
class EscuelaConClavesDesconocidas : public testing::Test {
  protected:
    void SetUp() override
    {
        // Vorna's side, by position: unit, course, subject, slot, room,
        // activity, teacher.
        e.intercambio = pruebas::ArchivoIntercambio();
        e.intercambio.Anno("2023/2024")
            .Grupo("UNIDADES", {{"U1A"}, {"Unidad ñ"}, {"Łódź"}})
            .Grupo("CURSOS_DEL_CENTRO", {{"C1-A"}, {"C2"}})
            .Grupo("MATERIAS", {{"C1-A", "M-MAT", "Matemáticas"}, {"C2", "M-MAT-2", "Matemáticas"}})
            .Grupo("TRAMOS_HORARIOS", {{"T-32"}, {"T-11"}})
            .Grupo("DEPENDENCIAS", {{"A1", "Aula 1"}, {"A 2", "Aula 2"}})
            .Grupo("ACTIVIDADES", {{"S", "376", "Guardia"}})
            .Grupo("EMPLEADOS", {{"1001", "01/09/2015", "Profesora", "Pérez", "Gil", "Ana"}});
        // Talvorin's side: an accented key that survives the code page, one
        // that does not (Ł has no byte in it), and a group made in Talvorin.
        e.escuela.grupost[1]["CLAVE"] = "Unidad ñ";
        e.escuela.grupost.push_back({{"ABREV", "3C"}, {"CLAVE", "Łódź"}, {"CLAVECURSO", "C2"}});
        e.escuela.soluc = {
            {"P1", "3", "2", "MAT", "1A", "", "A1"},         // all known
            {"P1", "1", "1", "MAT", "2B", "", "A1"},         // all known, the unit accented
            {"P1", "1", "1", "MAT", "3C", "", "Laboratori"}, // unit and room unknown
            {"P1", "3", "2", "MAT", "9Z", "", ""},           // a class without unit or subject
            {"P1", "5", "9", "GUA", "", "", ""},             // an hour outside the template
            {"P1", "3", "2", "MAT", "1A", "",
             "A\x01"
             "2"}, // the file holds "A 2": XML has no \x01
        };
        e.Preparar();
    }

    pruebas::EntornoImportacion e;
};

TEST_F(EscuelaConClavesDesconocidas, LaImportacionCompruebaCadaLeccionYLasEscribeTodas)
{
    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(r.actividades, 6);
    ASSERT_EQ(e.Leer().profesores[0].lecciones.size(), 6u);

    const InformeClaves& informe = r.claves;
    EXPECT_EQ(informe.lecciones, 6);
    EXPECT_EQ(informe.leccionesConProblemas, 3);
    EXPECT_EQ(informe.tareaDocencia, ""); // ASIGNOMT has no 513 and no Docencia
    ASSERT_EQ(informe.De(Problema::Unidad).ejemplos.size(), 1u);
    EXPECT_EQ(informe.De(Problema::Unidad).ejemplos[0].clave, "«Lódz»");
    EXPECT_EQ(
        informe.De(Problema::Unidad).ejemplos[0].leccion,
        "profesor P1 (Ana Pérez); en SOLUC.DBF DIA 1, HORA 1, ASIG «MAT», CODGRUPO «3C», AULA «Laboratori», "
        "TAREA «»");
    EXPECT_EQ(informe.De(Problema::Dependencia).lecciones, 1);
    EXPECT_EQ(informe.De(Problema::ClaseSinUnidad).lecciones, 1);
    EXPECT_EQ(informe.De(Problema::ClaseSinMateria).lecciones, 1);
    EXPECT_EQ(informe.De(Problema::SinTramo).lecciones, 1);
    EXPECT_EQ(informe.De(Problema::Curso).lecciones + informe.De(Problema::Materia).lecciones +
                  informe.De(Problema::Tramo).lecciones + informe.De(Problema::Actividad).lecciones,
              0);
}

// The file written, checked later, gives the same counts, the same keys and
// its lessons by the teacher's X_EMPLEADO, the day and hours, and the record.
TEST_F(EscuelaConClavesDesconocidas, ElArchivoEscritoDaLoMismo)
{
    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    const InformeClaves archivo = ComprobarArchivoResultado(e.Resultado(), e.archivoXml);

    EXPECT_EQ(archivo.lecciones, r.claves.lecciones);
    EXPECT_EQ(archivo.leccionesConProblemas, r.claves.leccionesConProblemas);
    for (std::size_t i = 0; i < kTiposProblema; ++i) {
        EXPECT_EQ(archivo.problemas[i].lecciones, r.claves.problemas[i].lecciones) << i;
        EXPECT_EQ(archivo.problemas[i].clavesDistintas, r.claves.problemas[i].clavesDistintas) << i;
        ASSERT_EQ(archivo.problemas[i].ejemplos.size(), r.claves.problemas[i].ejemplos.size()) << i;
        for (std::size_t j = 0; j < archivo.problemas[i].ejemplos.size(); ++j)
            EXPECT_EQ(archivo.problemas[i].ejemplos[j].clave, r.claves.problemas[i].ejemplos[j].clave);
    }
    const std::string& unidad = archivo.De(Problema::Unidad).ejemplos.at(0).leccion;
    // Prefix and end rather than a regular expression: GoogleTest's own
    // regular expressions on Windows have no character classes.
    EXPECT_THAT(unidad,
                testing::AllOf(testing::StartsWith("profesor 1001 (Pérez Gil, Ana), día 1 de 08:00 a 08:55 "
                                                   "(ACTIVIDAD_3 de HORARIO_REGULAR_PROFESOR_1, línea "),
                               testing::EndsWith(")")));
    EXPECT_THAT(archivo.De(Problema::SinTramo).ejemplos.at(0).leccion,
                testing::StartsWith("profesor 1001 (Pérez Gil, Ana), sin día (ACTIVIDAD_5 de "));
}

// The two files given the other way round, or files that are not what they
// should be, are refused with a message that says which and why.
TEST_F(EscuelaConClavesDesconocidas, ArchivosQueNoSonLoQueSeEsperaSeRechazan)
{
    ASSERT_EQ(e.Ejecutar().desenlace, Desenlace::Finalizado);
    const auto mensaje = [](const std::filesystem::path& resultado,
                            const std::filesystem::path& intercambio) {
        try {
            ComprobarArchivoResultado(resultado, intercambio);
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string("(comprobado)");
    };
    const std::string cambiados = mensaje(e.archivoXml, e.Resultado());
    EXPECT_THAT(cambiados, HasSubstr("«" + e.Resultado().string() +
                                     "» es un archivo de resultado de una "
                                     "importación (tipo=\"I\"), no el archivo de intercambio"));

    pruebas::EscribirBytes(e.origen / "otro.xml", "<?xml version=\"1.0\"?><SERVICIO tipo=\"E\"><BLOQUE_DATOS>"
                                                  "</BLOQUE_DATOS></SERVICIO>");
    EXPECT_THAT(
        mensaje(e.origen / "otro.xml", e.archivoXml),
        HasSubstr("no tiene el grupo de datos HORARIOS_REGULARES (es un archivo de intercambio exportado "
                  "por Vorna: se da primero el archivo de resultado y después el de intercambio)"));
    pruebas::EscribirBytes(e.origen / "otro.xml", "<html><body/></html>");
    EXPECT_EQ(mensaje(e.origen / "otro.xml", e.archivoXml),
              "El archivo «" + (e.origen / "otro.xml").string() +
                  "» no es un archivo de resultado: su elemento raíz es <html>, no <SERVICIO>");

    // Cut short, as a copy that failed half-way leaves it.
    const std::string entero = pruebas::LeerBytes(e.Resultado());
    pruebas::EscribirBytes(e.origen / "cortado.xml",
                           entero.substr(0, entero.rfind("</dato>", entero.size() / 2) + 7));
    EXPECT_THAT(mensaje(e.origen / "cortado.xml", e.archivoXml),
                HasSubstr("no es un XML bien formado (línea "));
    EXPECT_THAT(mensaje(e.origen / "cortado.xml", e.archivoXml), HasSubstr("¿está cortado?"));
}

// A result file in another encoding than UTF-8, with names in place of
// positions out of order, blanks around values, and a datum far longer than
// any key that begins with one.
TEST(ComprobarArchivoResultado, LeeLoQueVornaLeeria)
{
    pruebas::DirectorioTemporal carpeta;
    pruebas::ArchivoIntercambio()
        .Anno("2025")
        .Grupo("UNIDADES", {{"Unidad ñ"}, {"5001"}})
        .Grupo("TRAMOS_HORARIOS", {{"T1"}})
        .Grupo("MATERIAS", {{"C1", "M1"}})
        .Grupo("CURSOS_DEL_CENTRO", {{"C1"}})
        .Guardar(carpeta / "vorna.xml");
    const auto leccion = [](const std::string& unidad) {
        return "<grupo_datos seq=\"ACTIVIDAD_1\"><dato nombre_dato=\"X_UNIDAD\"> " + unidad +
               " </dato><dato nombre_dato=\"X_TRAMO\">T1</dato><dato nombre_dato=\"X_MATERIAOMG\">M1</dato>"
               "<dato nombre_dato=\"X_OFERTAMATRIG\">C1</dato></grupo_datos>";
    };
    pruebas::EscribirBytes(
        carpeta / "resultado.xml",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO tipo=\"I\"><BLOQUE_DATOS>"
        "<grupo_datos seq=\"HORARIOS_REGULARES\"><grupo_datos seq=\"HORARIO_REGULAR_PROFESOR_1\">"
        "<dato nombre_dato=\"X_EMPLEADO\">1</dato>" +
            leccion("Unidad \xF1") + leccion("5001" + std::string(5000, ' ') + "x") +
            "</grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>");
    const InformeClaves informe = ComprobarArchivoResultado(carpeta / "resultado.xml", carpeta / "vorna.xml");
    EXPECT_EQ(informe.lecciones, 2);
    EXPECT_EQ(informe.leccionesConProblemas, 1);
    ASSERT_EQ(informe.De(Problema::Unidad).lecciones, 1);
    EXPECT_THAT(informe.De(Problema::Unidad).ejemplos.at(0).clave, testing::EndsWith("…»"));
}

} // namespace
} // namespace durlavex
