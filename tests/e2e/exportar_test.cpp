// durlavex-cli exportar on small exchange files, in a temporary WINEPREFIX
// and XDG_DATA_HOME, from a program folder of the test's own: exit status,
// what it prints, the tables read back with the engine, and a working
// directory left untouched whenever the run must not start.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "comun/contenido.h"
#include "comun/directorio_temporal.h"
#include "comun/intercambio.h"
#include "comun/nivelcan.h"
#include "comun/programa.h"
#include "e2e/entorno_exportar.h"
#include "platform/texto.h"
#include "tables/esquemas.h"
#include "tables/tabla.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using testing::EndsWith;
using testing::HasSubstr;

using pruebas::Columna;
using pruebas::Instantanea;
using pruebas::Salida;
constexpr auto Leer = pruebas::LeerArchivo;

pruebas::ArchivoIntercambio Escuela()
{
    return pruebas::ArchivoIntercambio()
        .Grupo("MATERIAS",
               {{"101", "M1", "Matemáticas", "MAT", "240"}, {"202", "M2", "Física", "FIS", "900"}})
        .Grupo("ACTIVIDADES", {{"A", "513", "Guardia"}})
        .Grupo("EMPLEADOS", {{"E1", "01/09/2015", "Ciencias", "García", "López", "Ana", ""}})
        .Grupo("DEPENDENCIAS", {{"A1", "Aula 1"}})
        .Grupo("CURSOS_DEL_CENTRO", {{"101", "1º ESO"}, {"202", "2º Bachillerato"}})
        .Grupo("UNIDADES", {{"U1", "1º ESO A", "101"}, {"U2", "1º ESO B", "101"}, {"U3", "2º Bach", "202"}})
        .Grupo("JORNADAS_ESCOLARES", {{"J1", "Mañana", "01/09/2023", "30/06/2024"},
                                      {"Tardeña", "Tarde", "01/09/2023", "30/06/2024"}})
        .Grupo("TRAMOS_HORARIOS", {{"T1", "1ª", "540", "595", "J1"},
                                   {"T2", "2ª", "480", "535", "J1"},
                                   {"T3", "1ªT", "900", "955", "Tardeña"}});
}

// The program in a folder of its own beside its NIVELCAN.DBF; Talvorin's
// working directory and the user's data folder in temporary folders.
class ExportarCli : public pruebas::EntornoExportarCli {
  public:
    void SetUp() override
    {
        PrepararCarpetas();
        Escuela().Guardar(archivo);
        // What an earlier run left, and a file no export touches.
        EscribirProftViejo();
        std::ofstream(ktemp / "JORNADAS.DBF") << "jornadas viejas";
        std::ofstream(ktemp / "SOLUC.DBF") << "horario de Talvorin";
    }
};

TEST_F(ExportarCli, ReconstruyeLasTablasYGuardaLasAnteriores)
{
    const Salida s = Ejecutar("exportar " + Archivo() + " --plantilla J1");

    ASSERT_EQ(s.estado, 0) << s.errores;
    EXPECT_EQ(s.errores, "");
    for (const char* paso :
         {"Materias (ASIGNOMT, ASIGNOMT2)\n", "Actividades (ASIGNOMT)\n", "Profesores (PROFT)\n",
          "Dependencias (AULAT)\n", "Cursos y unidades (CURSOST, GRUPOST)\n", "Asignaciones (ASIGT)\n",
          "Jornadas y tramos horarios (DIASHORAST, DIASHORAST2, PERIODOS)\n"})
        EXPECT_THAT(s.salida, HasSubstr(paso));
    EXPECT_THAT(s.salida, HasSubstr("Filas escritas:\n  ASIGNOMT: 3\n  ASIGNOMT2: 2\n  PROFT: 1\n  AULAT: 1\n"
                                    "  CURSOST: 2\n  GRUPOST: 3\n  ASIGT: 3\n  DIASHORAST: 14\n"
                                    "  DIASHORAST2: 14\n  PERIODOS: 1\n"));
    EXPECT_THAT(s.salida, EndsWith("Proceso finalizado\n"));

    EXPECT_EQ(Columna(ktemp, "GRUPOST", "ABREV"), (std::vector<std::string>{"1ºESOA", "1ºESOB", "2ºBach"}));
    EXPECT_EQ(Columna(ktemp, "ASIGT", "SESIONES"),
              (std::vector<std::string>{"1111", "1111", "21111111111111"}));
    EXPECT_EQ(Columna(ktemp, "DIASHORAST", "CODDIHO"),
              (std::vector<std::string>{"T2", "T2", "T2", "T2", "T2", "T2", "T2", "T1", "T1", "T1", "T1",
                                        "T1", "T1", "T1"}));
    EXPECT_EQ(Columna(ktemp, "PERIODOS", "JORNADA"), (std::vector<std::string>{"Mañana"}));
    EXPECT_TRUE(fs::exists(ktemp / "DIASHORAST2.MDX"));
    EXPECT_FALSE(fs::exists(ktemp / "JORNADAS.DBF"));
    EXPECT_EQ(Leer(ktemp / "SOLUC.DBF"), "horario de Talvorin");

    // The earlier tables, in the folder the summary names.
    std::vector<fs::path> copias;
    for (const auto& entrada : fs::directory_iterator(Copias()))
        copias.push_back(entrada.path());
    ASSERT_EQ(copias.size(), 1u);
    EXPECT_THAT(s.salida,
                HasSubstr("Copia de seguridad de las tablas anteriores: " + copias[0].string() + "\n"));
    EXPECT_EQ(Columna(copias[0], "PROFT", "ABREV"), (std::vector<std::string>{"VIEJO"}));
    EXPECT_EQ(Leer(copias[0] / "JORNADAS.DBF"), "jornadas viejas");
}

TEST_F(ExportarCli, PlantillaConLetrasAcentuadasYConIgual)
{
    const Salida s = Ejecutar("exportar " + Archivo() + " --plantilla=Tardeña");
    ASSERT_EQ(s.estado, 0) << s.errores;
    EXPECT_EQ(Columna(ktemp, "PERIODOS", "CJORNADA"), (std::vector<std::string>{"Tardeña"}));
    EXPECT_EQ(Columna(ktemp, "DIASHORAST2", "DIHO"),
              (std::vector<std::string>{"13", "23", "33", "43", "53", "63", "73"}));
    EXPECT_EQ(Columna(ktemp, "DIASHORAST", "DIHO"),
              (std::vector<std::string>{"11", "21", "31", "41", "51", "61", "71"}));
}

TEST_F(ExportarCli, UnaSolaPlantillaNoNecesitaLaOpcion)
{
    pruebas::ArchivoIntercambio()
        .Grupo("JORNADAS_ESCOLARES", {{"J1", "Mañana"}, {" J1 ", "Mañana, segundo trimestre"}})
        .Grupo("TRAMOS_HORARIOS", {{"T1", "1ª", "540", "595", "J1"}})
        .Guardar(archivo);
    const Salida s = Ejecutar("exportar " + Archivo());
    ASSERT_EQ(s.estado, 0) << s.errores;
    EXPECT_EQ(Columna(ktemp, "PERIODOS", "JORNADA"),
              (std::vector<std::string>{"Mañana", "Mañana, segundo trimestre"}));
    EXPECT_EQ(Columna(ktemp, "DIASHORAST", "DIHO").size(), 7u);
}

TEST_F(ExportarCli, AyudaEnLaSalida)
{
    const Salida s = Ejecutar("exportar --help");
    EXPECT_EQ(s.estado, 0);
    EXPECT_THAT(s.salida, HasSubstr("Uso: durlavex-cli exportar ARCHIVO.xml [--plantilla CODIGO]"));
}

// Runs that must not start, or stop before they touch the working directory.
struct CasoSinTocar {
    const char* nombre;
    std::function<void(ExportarCli&)> preparar;
    std::string argumentos; // after "exportar"; ARCHIVO stands for the exchange file
    int estado;
    std::string errores; // a piece of standard error
    friend void PrintTo(const CasoSinTocar& c, std::ostream* os) { *os << c.nombre; }
};

class ExportarCliSinTocar : public ExportarCli, public testing::WithParamInterface<CasoSinTocar> {};

void Nada(ExportarCli&) {}

const CasoSinTocar kCasosSinTocar[] = {
    {"VariasPlantillasSinOpcion", Nada, "ARCHIVO", 2, "varias plantillas horarias"},
    {"VariasPlantillasSeListanConNombreYFechas", Nada, "ARCHIVO", 2,
     "Plantillas horarias del archivo (código, nombre y fechas):\n"
     "  «J1»  Mañana  (del 01/09/2023 al 30/06/2024)\n"
     "  «Tardeña»  Tarde  (del 01/09/2023 al 30/06/2024)\n"},
    {"PlantillaQueNoEsDelArchivo", Nada, "ARCHIVO --plantilla J9", 2,
     "«J9» no es ninguna plantilla horaria del archivo"},
    {"PlantillaEnOtrasMayusculas", Nada, "ARCHIVO --plantilla j1", 2, "«j1» no es ninguna plantilla"},
    {"PlantillaSinCodigo", Nada, "ARCHIVO --plantilla", 2, "Falta el código de la plantilla"},
    {"PlantillaDosVeces", Nada, "ARCHIVO --plantilla J1 --plantilla J1", 2, "más de una vez"},
    {"SinArchivo", Nada, "", 2, "Falta el archivo de intercambio"},
    {"DosArchivos", Nada, "ARCHIVO ARCHIVO --plantilla J1", 2, "Sobran argumentos"},
    {"OpcionDesconocida", Nada, "ARCHIVO --jornada J1", 2, "Opción desconocida: --jornada"},
    {"ArchivoInexistente", [](ExportarCli& t) { std::filesystem::remove(t.archivo); },
     "ARCHIVO --plantilla J1", 3, "No existe archivo «"},
    {"SinNivelcan", [](ExportarCli& t) { std::filesystem::remove(t.programa / "NIVELCAN.DBF"); },
     "ARCHIVO --plantilla J1", 3, "ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale DURLAVEX\n"},
    {"XmlMalFormado",
     [](ExportarCli& t) { std::ofstream(t.archivo) << "<SERVICIO><BLOQUE_DATOS><grupo_datos>"; }, "ARCHIVO",
     1, "vorna.xml"},
    {"XmlMalFormadoConPlantilla", [](ExportarCli& t) { std::ofstream(t.archivo) << "no es XML"; },
     "ARCHIVO --plantilla J1", 1, "vorna.xml"},
};

TEST_P(ExportarCliSinTocar, SaleConSuEstadoYNoTocaNada)
{
    const CasoSinTocar& c = GetParam();
    c.preparar(*this);
    const auto antes = Instantanea(ktemp);
    std::string argumentos = c.argumentos;
    for (std::size_t at = argumentos.find("ARCHIVO"); at != std::string::npos;
         at = argumentos.find("ARCHIVO"))
        argumentos.replace(at, 7, Archivo());

    const Salida s = Ejecutar("exportar " + argumentos);

    EXPECT_EQ(s.estado, c.estado) << s.errores;
    EXPECT_THAT(s.errores, HasSubstr(c.errores));
    EXPECT_THAT(s.salida, testing::Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(Instantanea(ktemp), antes);
    EXPECT_FALSE(fs::exists(Copias()));
}

INSTANTIATE_TEST_SUITE_P(Exportar, ExportarCliSinTocar, testing::ValuesIn(kCasosSinTocar),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(ExportarCli, SinDirectorioDeTrabajoSaleConUno)
{
    fs::remove_all(ktemp);
    const Salida s = Ejecutar("exportar " + Archivo() + " --plantilla J1");
    EXPECT_EQ(s.estado, 1);
    EXPECT_THAT(s.errores,
                HasSubstr("No existe el directorio de trabajo de Talvorin «" + ktemp.string() + "»"));
    EXPECT_FALSE(fs::exists(ktemp));
    EXPECT_FALSE(fs::exists(Copias()));
}

TEST_F(ExportarCli, ErrorEnUnPasoSaleConUnoYElTextoDeLaCajaDeError)
{
    Escuela().Grupo("CURSOS_DEL_CENTRO", {{"12a", "3º"}}).Guardar(archivo);
    const Salida s = Ejecutar("exportar " + Archivo() + " --plantilla J1");
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.errores, "'12a' no es un valor entero válido (CURSOS_DEL_CENTRO, registro 3, dato en la "
                         "posición 0, línea 2).\n");
    EXPECT_THAT(s.salida, testing::Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(Columna(ktemp, "PROFT", "ABREV"), (std::vector<std::string>{"VIEJO"}));
    EXPECT_TRUE(fs::exists(Copias()));
}

} // namespace
} // namespace durlavex
