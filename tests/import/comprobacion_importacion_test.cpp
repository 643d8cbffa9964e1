// An import checks the keys of the lessons it writes against the exchange
// file it read: what it says of a school with keys Vorna does not know, and
// that it still writes every lesson.

#include <gtest/gtest.h>

#include <string>

#include "import/fixture_importacion.h"
#include "import/importacion.h"
#include "import/informe_claves.h"

namespace durlavex {
namespace {

using pruebas::EntornoImportacion;

TEST(ComprobacionEnLaImportacion, CadaLeccionEscritaSeComprueba)
{
    EntornoImportacion e;
    // Vorna's side, by position: unit, course, subject, slot, room, activity.
    e.intercambio = pruebas::ArchivoIntercambio();
    e.intercambio.Anno("2023/2024")
        .Grupo("UNIDADES", {{"U1A"}, {"Unidad ñ"}, {"Łódź"}})
        .Grupo("CURSOS_DEL_CENTRO", {{"C1-A"}, {"C2"}})
        .Grupo("MATERIAS", {{"C1-A", "M-MAT", "Matemáticas"}, {"C2", "M-MAT-2", "Matemáticas"}})
        .Grupo("TRAMOS_HORARIOS", {{"T-32"}, {"T-11"}})
        .Grupo("DEPENDENCIAS", {{"A1", "Aula 1"}})
        .Grupo("ACTIVIDADES", {{"S", "376", "Guardia"}});
    // Talvorin's side: an accented key that survives the code page, one that
    // does not (Ł has no byte in it), and a group made in Talvorin (9Z).
    e.escuela.grupost[1]["CLAVE"] = "Unidad ñ";
    e.escuela.grupost.push_back({{"ABREV", "3C"}, {"CLAVE", "Łódź"}, {"CLAVECURSO", "C2"}});
    e.escuela.soluc = {
        {"P1", "3", "2", "MAT", "1A", "", "A1"},         // all known
        {"P1", "1", "1", "MAT", "2B", "", "A1"},         // all known, the unit accented
        {"P1", "1", "1", "MAT", "3C", "", "Laboratori"}, // unit and room unknown
        {"P1", "3", "2", "MAT", "9Z", "", ""},           // a class without unit or subject
        {"P1", "5", "9", "GUA", "", "", ""},             // an hour outside the template
    };
    e.Preparar();

    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(r.actividades, 5);
    ASSERT_EQ(e.Leer().profesores[0].lecciones.size(), 5u);

    const InformeClaves& informe = r.claves;
    EXPECT_EQ(informe.lecciones, 5);
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

} // namespace
} // namespace durlavex
