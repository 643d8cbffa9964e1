// The bundled sample school through durlavex-cli, with the NIVELCAN.DBF and
// NIVELES.TXT the build installs: an exchange file in the shape of Vorna's
// own files (every datum named, MATERIAS giving the name before the key and
// the minutes a week, no long code, a "Docencia" activity and no 513, course
// names that tell their level), exported with J1, its demo timetable
// imported, and the result file refused by a later export. The earlier
// sample, whose data stand at the positions the steps read, must still give
// the tables it always gave, with or without its names.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "comun/contenido.h"
#include "comun/programa.h"
#include "e2e/entorno_exportar.h"
#include "import/fixture_importacion.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/texto.h"
#include "tables/tabla.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;

using pruebas::Instantanea;
using pruebas::Salida;
using Filas = std::vector<std::string>;

const fs::path kFuentes = DURLAVEX_SOURCE_DIR;
const fs::path kMuestra = kFuentes / "data" / "ejemplo" / "vorna_ejemplo.xml";
const fs::path kPosicional = kFuentes / "tests" / "e2e" / "datos" / "vorna_posicional.xml";
// The ten tables the export wrote for it before data were read by name, as
// that program's durlavex-cli volcar showed them (without the format line),
// each after a line "== TABLE".
const fs::path kTablasPosicional = kFuentes / "tests" / "e2e" / "datos" / "vorna_posicional.tablas";

// Some fields of every row of a table, joined by " | ", as UTF-8.
Filas Leer(const fs::path& directorio, const std::string& tabla, const std::vector<std::string>& campos)
{
    Tabla t(directorio, tabla);
    t.Abrir();
    Filas filas;
    for (t.Primero(); !t.Fin(); t.Siguiente()) {
        std::string fila;
        for (std::size_t i = 0; i < campos.size(); ++i)
            fila += (i ? " | " : "") + AnsiAUtf8(t.LeerTexto(campos[i]));
        filas.push_back(fila);
    }
    return filas;
}

// The program with the installed NIVELCAN.DBF and NIVELES.TXT beside it, the
// sample school in a folder of its own.
class MuestraCli : public pruebas::EntornoExportarCli {
  public:
    void SetUp() override
    {
        fs::create_directories(ktemp);
        fs::copy_file(DURLAVEX_CLI, programa / "durlavex-cli");
        fs::copy_file(fs::path(DURLAVEX_PROGRAM_DIR) / "NIVELCAN.DBF", programa / "NIVELCAN.DBF");
        fs::copy_file(fs::path(DURLAVEX_PROGRAM_DIR) / "NIVELES.TXT", programa / "NIVELES.TXT");
        archivo = origen / "vorna_ejemplo.xml";
        fs::copy_file(kMuestra, archivo);
    }

    Salida Exportar() { return Ejecutar("exportar " + Archivo() + " --plantilla J1"); }

    // An export with J1, then the demo timetable Talvorin would hand back.
    Salida ExportarEImportar()
    {
        const Salida exportacion = Exportar();
        EXPECT_EQ(exportacion.estado, 0) << exportacion.errores;
        fs::copy_file(DURLAVEX_SOLUC_EJEMPLO, ktemp / "SOLUC.DBF");
        return Ejecutar("importar " + Archivo());
    }

    fs::path Resultado() const { return origen / "ResultadoTalvosvorna_ejemplo.xml"; }
};

TEST_F(MuestraCli, ExportaMateriasPorSuNombreDeDatoConLosMinutosEnHoras)
{
    const Salida s = Exportar();
    ASSERT_EQ(s.estado, 0) << s.errores;

    // Short codes from the names' first ten characters (no long code); the
    // subject key and the course key as the file names them.
    EXPECT_EQ(Leer(ktemp, "ASIGNOMT2", {"COD", "CODLARGO", "NOMBRE", "MATERIA", "OFERTAMATRI"}),
              (Filas{"Lengua Cas | Lengua Cas | Lengua Castellana y Literatura | 317065 | 310101",
                     "Matemática | Matemática | Matemáticas | 317066 | 310101",
                     "Geografía | Geografía | Geografía e Historia | 317067 | 310101",
                     "Biología y | Biología y | Biología y Geología | 317068 | 310101",
                     "Inglés | Inglés | Inglés | 317069 | 310101",
                     "Educación | Educación | Educación Física | 317070 | 310101",
                     "Lengua Cas | Lengua Cas | Lengua Castellana y Literatura | 317101 | 212306",
                     "Matemática | Matemática | Matemáticas | 317102 | 212306",
                     "Física y Q | Física y Q | Física y Química | 317103 | 212306",
                     "Música | Música | Música | 317104 | 212306",
                     "Educación | Educación | Educación Física | 317105 | 212306",
                     "Ámbito Lin | Ámbito Lin | Ámbito Lingüístico y Social | 317131 | 212307",
                     "Ámbito Cie | Ámbito Cie | Ámbito Científico y Matemático | 317132 | 212307",
                     "Lengua Ca1 | Lengua Cas | Lengua Castellana y Literatura I | 318201 | 320101",
                     "Matemátic1 | Matemática | Matemáticas I | 318202 | 320101",
                     "Física y Q | Física y Q | Física y Química | 318203 | 320101",
                     "Filosofía | Filosofía | Filosofía | 318204 | 320101",
                     "Historia d | Historia d | Historia de España | 318301 | 212311",
                     "Latín II | Latín II | Latín II | 318302 | 212311",
                     "Inglés II | Inglés II | Inglés II | 318303 | 212311",
                     "Ciencias A | Ciencias A | Ciencias Aplicadas I | 319401 | 212315",
                     "Comunicaci | Comunicaci | Comunicación y Ciencias Sociales I | 319402 | 212315",
                     "Ciencias 1 | Ciencias A | Ciencias Aplicadas II | 319501 | 212316",
                     "Montaje y | Montaje y | Montaje y Mantenimiento de Equipos | 320601 | 212320",
                     "Redes Loca | Redes Loca | Redes Locales | 320602 | 212320",
                     "Desarrollo | Desarrollo | Desarrollo Web en Entorno Cliente | 321701 | 212330",
                     "Despliegue | Despliegue | Despliegue de Aplicaciones Web | 321702 | 212330",
                     "Competenci | Competenci | Competencia Digital | 322801 | 212340"}));

    // N_HORAS holds minutes a week: 240 is 4 hours. Every row carries the
    // code of the "Docencia" activity, as the file has no 513.
    EXPECT_EQ(Leer(ktemp, "ASIGT", {"CASIG", "CGRUP", "HORAS", "SESIONES", "CLAVE", "CLAVECURSO", "CTAREA"}),
              (Filas{"Lengua Cas | 1ºESOA | 4.0000 | 1111 | 317065 | 310101 | 1",
                     "Lengua Cas | 1ºESOB | 4.0000 | 1111 | 317065 | 310101 | 1",
                     "Matemática | 1ºESOA | 4.0000 | 1111 | 317066 | 310101 | 1",
                     "Matemática | 1ºESOB | 4.0000 | 1111 | 317066 | 310101 | 1",
                     "Geografía | 1ºESOA | 3.0000 | 111 | 317067 | 310101 | 1",
                     "Geografía | 1ºESOB | 3.0000 | 111 | 317067 | 310101 | 1",
                     "Biología y | 1ºESOA | 3.0000 | 111 | 317068 | 310101 | 1",
                     "Biología y | 1ºESOB | 3.0000 | 111 | 317068 | 310101 | 1",
                     "Inglés | 1ºESOA | 4.0000 | 1111 | 317069 | 310101 | 1",
                     "Inglés | 1ºESOB | 4.0000 | 1111 | 317069 | 310101 | 1",
                     "Educación | 1ºESOA | 2.0000 | 11 | 317070 | 310101 | 1",
                     "Educación | 1ºESOB | 2.0000 | 11 | 317070 | 310101 | 1",
                     "Lengua Cas | 2ºESOA | 4.0000 | 1111 | 317101 | 212306 | 1",
                     "Matemática | 2ºESOA | 4.0000 | 1111 | 317102 | 212306 | 1",
                     "Física y Q | 2ºESOA | 3.0000 | 111 | 317103 | 212306 | 1",
                     "Música | 2ºESOA | 2.0000 | 11 | 317104 | 212306 | 1",
                     "Educación | 2ºESOA | 2.0000 | 11 | 317105 | 212306 | 1",
                     "Ámbito Lin | 2ºPDCA | 4.0000 | 1111 | 317131 | 212307 | 1",
                     "Ámbito Cie | 2ºPDCA | 4.0000 | 1111 | 317132 | 212307 | 1",
                     "Lengua Ca1 | 1ºBACHA | 3.0000 | 111 | 318201 | 320101 | 1",
                     "Matemátic1 | 1ºBACHA | 4.0000 | 1111 | 318202 | 320101 | 1",
                     "Física y Q | 1ºBACHA | 4.0000 | 1111 | 318203 | 320101 | 1",
                     "Filosofía | 1ºBACHA | 3.0000 | 111 | 318204 | 320101 | 1",
                     "Historia d | 2ºBACHA | 3.0000 | 111 | 318301 | 212311 | 1",
                     "Latín II | 2ºBACHA | 4.0000 | 1111 | 318302 | 212311 | 1",
                     "Inglés II | 2ºBACHA | 3.0000 | 111 | 318303 | 212311 | 1",
                     "Ciencias A | 1ºGBA | 3.0000 | 111 | 319401 | 212315 | 1",
                     "Comunicaci | 1ºGBA | 3.0000 | 111 | 319402 | 212315 | 1",
                     "Ciencias 1 | 2ºFPBA | 3.0000 | 111 | 319501 | 212316 | 1",
                     "Montaje y | 1ºSMRA | 4.0000 | 1111 | 320601 | 212320 | 1",
                     "Redes Loca | 1ºSMRA | 4.0000 | 1111 | 320602 | 212320 | 1",
                     "Desarrollo | 2ºDAWA | 4.0000 | 1111 | 321701 | 212330 | 1",
                     "Despliegue | 2ºDAWA | 2.0000 | 11 | 321702 | 212330 | 1",
                     "Competenci | CDA | 1.0000 | 1 | 322801 | 212340 | 1"}));

    // The activities follow the subjects, "Docencia" among them.
    const Filas asignomt = Leer(ktemp, "ASIGNOMT", {"COD", "NOMBRE", "CODTAREA", "ESTAREA"});
    ASSERT_EQ(asignomt.size(), 30u);
    EXPECT_EQ(Filas(asignomt.end() - 6, asignomt.end()),
              (Filas{"1 | Docencia | 1 | T", "2 | Guardia | 2 | T", "3 | Tutoría con alumnos | 3 | T",
                     "4 | Reunión de departamento | 4 | T", "5 | Atención a familias | 5 | T",
                     "6 | Actividades extraescolares | 6 | T"}));
}

TEST_F(MuestraCli, ExportaNivelesProfesoresDependenciasYTramos)
{
    const Salida s = Exportar();
    ASSERT_EQ(s.estado, 0) << s.errores;

    // Two keys NIVELCAN.DBF holds; the others take the level their name tells
    // (NIVELES.TXT), "Capacitación Digital" none.
    EXPECT_EQ(
        Leer(ktemp, "CURSOST", {"CLAVE", "NIVEL", "CURSO", "ABREV", "ESTUD"}),
        (Filas{"310101 | ESO | 1 | E1 | 1º de E.S.O. (LOMLOE) (Educación Secundaria Obligatoria)",
               "212306 | ESO | 2 | E2 | 2º de E.S.O. (LOMLOE) (Educación Secundaria Obligatoria)",
               "212307 | PDC | 2 | P2 | 2º Programa de Diversificación Curricular (LOMLOE) (Programa de "
               "Diversificación",
               "320101 | BACH | 1 | B1 | 1º de Bachillerato (Ciencias y Tecnología) LOMLOE (Bachillerato)",
               "212311 | BACH | 2 | B2 | 2º de Bachillerato (Humanidades y Ciencias Sociales) LOMLOE "
               "(Bachillerato)",
               "212315 | FPB | 1 | F1 | 1º de G.B. (Informática y Comunicaciones) (Formación Profesional "
               "Básica)",
               "212316 | FPB | 2 | F2 | 2º de F.P.B. (Informática y Comunicaciones) (Formación Profesional "
               "Básica)",
               "212320 | CFGM | 1 | C1 | 1º de C.F.G.M. (Sistemas Microinformáticos y Redes) (Pres.) (Ciclo "
               "Formativo "
               "de",
               "212330 | CFGS | 2 | C2 | 2º de C.F.G.S. (Desarrollo de Aplicaciones Web) (Pres.) (Ciclo "
               "Formativo de "
               "Grad",
               "212340 | Niv | C | NC | Capacitación Digital"}));
    EXPECT_EQ(Leer(ktemp, "GRUPOST", {"ABREV", "NIVEL", "CURSO", "GRUPO", "CLAVE", "CLAVECURSO"}),
              (Filas{"1ºESOA | ESO | 1 | A | 27301856 | 310101", "1ºESOB | ESO | 1 | B | 27301857 | 310101",
                     "2ºESOA | ESO | 2 | A | 27301858 | 212306", "2ºPDCA | PDC | 2 | A | 27301859 | 212307",
                     "1ºBACHA | BACH | 1 | A | 27301860 | 320101",
                     "2ºBACHA | BACH | 2 | A | 27301861 | 212311", "1ºGBA | FPB | 1 | A | 27301862 | 212315",
                     "2ºFPBA | FPB | 2 | A | 27301863 | 212316", "1ºSMRA | CFGM | 1 | A | 27301864 | 212320",
                     "2ºDAWA | CFGS | 2 | A | 27301865 | 212330", "CDA | Niv | C | A | 27301866 | 212340"}));

    // No abbreviation datum: codes from the initials, colliding ones numbered.
    EXPECT_EQ(
        Leer(ktemp, "PROFT", {"ABREV", "NOMBRE", "DEPART", "X_EMPLEADO", "F_TOMAPOS"}),
        (Filas{
            "GLA | García López, Ana | Lengua Castellana y Literatura (P.E.S.) | 604101 | 01/09/2015",
            "GLA1 | Gómez Luna, Alberto | Matemáticas (P.E.S.) | 604102 | 01/09/2018",
            "PJ | Pérez , Juan | Geografía e Historia (P.E.S.) | 604103 | 01/09/2012",
            "NIB | Núñez Ibáñez, Begoña | Biología y Geología (P.E.S.) | 604104 | 15/09/2020",
            "ORS | O'Connor Ruiz, Sean | Inglés (P.E.S.) | 604105 | 01/09/2010",
            "MSÍ | Martín Sáez, Íñigo | Educación Física (P.E.S.) | 604106 | 01/09/2019",
            "GLA2 | Gil Lara, Aurora | Tecnología (P.E.S.) | 604107 | 01/09/2021",
            "FCL | Fernández Castaño, Lucía | Física y Química (P.E.S.) | 604108 | 01/09/2016",
            "ÁPJ | Álvarez Peña, Jesús | Música (P.E.S.) | 604109 | 01/09/2014",
            "DVR | Domínguez Vázquez, Ramón | Sistemas y Aplicaciones Informáticas (P. | 604110 | 01/09/2022",
            "GLA3 | Gómez Lorenzo, Adela | Matemáticas (P.E.S.) | 604111 | 01/09/2017"}));

    // Rooms keep their key; those without one take their name's first ten
    // characters.
    EXPECT_EQ(Leer(ktemp, "AULAT", {"ABREV"}),
              (Filas{"9301", "9302", "9303", "9304", "Laboratori", "Laborator1", "9309", "Aula de In",
                     "Aula de Mú", "9312"}));

    // Template J1: its seven slots on day 1, by start time.
    const Filas diashoras =
        Leer(ktemp, "DIASHORAST", {"DIHO", "CODDIHO", "TEXTOHOR", "HORADESDE", "HORAHASTA", "MINUTOS"});
    ASSERT_EQ(diashoras.size(), 49u);
    EXPECT_EQ(
        Filas(diashoras.begin(), diashoras.begin() + 2),
        (Filas{"11 | 837710 | 1ª hora | 08:00 | 08:55 | 55", "21 | 837710 | 1ª hora | 08:00 | 08:55 | 55"}));
    EXPECT_EQ(diashoras[21], "14 | 837713 | Recreo | 10:45 | 11:15 | 30");
    EXPECT_EQ(diashoras.back(), "77 | 837716 | 6ª hora | 13:05 | 14:00 | 55");
    EXPECT_EQ(Leer(ktemp, "PERIODOS", {"CJORNADA", "JORNADA", "FECINI", "FECFIN"}),
              (Filas{"J1 | Jornada ordinaria | 15/09/2025 | 19/06/2026"}));
}

// Each placed lesson of the demo timetable comes back with the sample's
// keys: its subject's key, and the "Docencia" code for an ordinary lesson.
TEST_F(MuestraCli, ImportaElHorarioDeEjemploConLasClavesDeLaMuestra)
{
    const Salida s = ExportarEImportar();
    ASSERT_EQ(s.estado, 0) << s.errores;
    EXPECT_THAT(s.salida, HasSubstr("Profesores escritos: 11\nActividades escritas: 120\n"));

    const pruebas::ResultadoLeido r = pruebas::LeerResultado(Resultado());
    EXPECT_EQ(r.anno, "2025");
    ASSERT_EQ(r.profesores.size(), 11u);
    EXPECT_EQ(r.profesores[0].datos,
              (std::vector<pruebas::DatoLeido>{{"X_EMPLEADO", "604101"}, {"F_TOMAPOS", "01/09/2015"}}));

    std::map<std::string, int> porActividad;
    std::map<std::string, int> porMateria;
    for (const auto& profesor : r.profesores) {
        for (const auto& leccion : profesor.lecciones) {
            ++porActividad[leccion.valores.at(10)];
            ++porMateria[leccion.valores.at(5) + " " + leccion.valores.at(10)];
        }
    }
    // 111 lessons of subjects, then tutorials, duties (one without TAREA,
    // whose code comes from ASIGNOMT) and department meetings.
    EXPECT_EQ(porActividad, (std::map<std::string, int>{{"1", 111}, {"2", 3}, {"3", 4}, {"4", 2}}));
    // Every subject key as often as its hours a week in each of its groups.
    EXPECT_EQ(porMateria,
              (std::map<std::string, int>{{"317065 1", 8}, {"317066 1", 8}, {"317067 1", 6}, {"317068 1", 6},
                                          {"317069 1", 8}, {"317070 1", 4}, {"317101 1", 4}, {"317102 1", 4},
                                          {"317103 1", 3}, {"317104 1", 2}, {"317105 1", 2}, {"317131 1", 4},
                                          {"317132 1", 4}, {"318201 1", 3}, {"318202 1", 4}, {"318203 1", 4},
                                          {"318204 1", 3}, {"318301 1", 3}, {"318302 1", 4}, {"318303 1", 3},
                                          {"319401 1", 3}, {"319402 1", 3}, {"319501 1", 3}, {"320601 1", 4},
                                          {"320602 1", 4}, {"321701 1", 4}, {"321702 1", 2}, {"322801 1", 1},
                                          {" 2", 3},       {" 3", 4},       {" 4", 2}}));

    // The first lesson of the first teacher, whole.
    EXPECT_EQ(r.profesores[0].lecciones.at(0).valores,
              (std::vector<std::string>{"1", "837711", "9301", "27301856", "310101", "317065", "15/09/2025",
                                        "19/06/2026", "535", "590", "1"}));
}

// A result file given to an export is refused before anything is touched.
TEST_F(MuestraCli, UnArchivoDeResultadoNoSeExportaYNoTocaNada)
{
    ASSERT_EQ(ExportarEImportar().estado, 0);
    const auto antes = Instantanea(ktemp);

    // With a template named too: the file is refused for what it is.
    for (const std::string plantilla : {"", " --plantilla J1"}) {
        SCOPED_TRACE(plantilla);
        const Salida s = Ejecutar("exportar '" + Resultado().string() + "'" + plantilla);

        EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
        EXPECT_THAT(s.errores,
                    HasSubstr("El archivo «" + Resultado().string() + "» no tiene datos que exportar"));
        EXPECT_THAT(s.errores, HasSubstr("parece un archivo de resultado de una importación"));
        EXPECT_THAT(s.salida, Not(HasSubstr("Proceso finalizado")));
        EXPECT_EQ(Instantanea(ktemp), antes);
        EXPECT_FALSE(fs::exists(Copias()));
    }
}

// Every table an export writes, as text: its fields, then its rows, a line
// each, values separated by tabs (the layout of durlavex-cli volcar).
std::string Tablas(const fs::path& ktemp)
{
    std::ostringstream texto;
    for (const char* nombre : {"ASIGNOMT", "ASIGNOMT2", "PROFT", "AULAT", "CURSOST", "GRUPOST", "ASIGT",
                               "DIASHORAST", "DIASHORAST2", "PERIODOS"}) {
        const auto tabla =
            dbf::ArchivoDbf::Abrir(ktemp / (std::string(nombre) + ".DBF"), dbf::Acceso::Compartido);
        texto << "== " << nombre << "\nCampos: " << tabla->Campos().size() << "\n";
        for (const dbf::Campo& campo : tabla->Campos())
            texto << campo.nombre << '\t' << campo.tipo << '\t' << campo.ancho << '\t'
                  << static_cast<int>(campo.decimales) << "\n";
        texto << "Filas: " << tabla->NumRegistros() << "\n";
        for (std::size_t fila = 0; fila < tabla->NumRegistros(); ++fila) {
            for (std::size_t campo = 0; campo < tabla->Campos().size(); ++campo)
                texto << (campo ? "\t" : "") << AnsiAUtf8(VistaAnsi(tabla->Texto(fila, campo)));
            texto << "\n";
        }
    }
    return texto.str();
}

// The earlier sample: data at their positions, some named as Vorna's files do
// not name them. Read as it is and with every name taken away, it gives the
// tables it gave before data were read by name (its activities hold 513, and
// NIVELCAN.DBF holds all its courses).
std::string ComoEsta(std::string xml)
{
    return xml;
}
std::string SinNombres(std::string xml)
{
    return std::regex_replace(xml, std::regex(" nombre_dato=\"[^\"]*\""), "");
}

struct CasoPosicional {
    const char* nombre;
    std::string (*preparar)(std::string xml);
    friend void PrintTo(const CasoPosicional& c, std::ostream* os) { *os << c.nombre; }
};

class ArchivoPorPosiciones : public MuestraCli, public testing::WithParamInterface<CasoPosicional> {};

TEST_P(ArchivoPorPosiciones, DaLasMismasTablasQueAntes)
{
    std::ofstream(archivo, std::ios::binary) << GetParam().preparar(pruebas::LeerArchivo(kPosicional));

    const Salida s = Exportar();

    ASSERT_EQ(s.estado, 0) << s.errores;
    EXPECT_EQ(Tablas(ktemp), pruebas::LeerArchivo(kTablasPosicional));
}

INSTANTIATE_TEST_SUITE_P(Posicional, ArchivoPorPosiciones,
                         testing::Values(CasoPosicional{"ConSusNombres", ComoEsta},
                                         CasoPosicional{"SinNombres", SinNombres}),
                         [](const auto& info) { return std::string(info.param.nombre); });

} // namespace
} // namespace durlavex
