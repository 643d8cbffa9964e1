// durlavex-cli exportar when the system fails it: a read-only or full working
// directory, a table another program holds, a damaged NIVELCAN.DBF. Each run
// must end with status 1 and a message naming what failed and where, leave
// the exchange file as it was, and keep the tables it replaced in the backup.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
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
#include "e2e/fallos_montaje.h"
#include "platform/texto.h"
#include "tables/esquemas.h"
#include "tables/tabla.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;

using pruebas::Columna;
using pruebas::Instantanea;
using pruebas::Salida;
constexpr auto Leer = pruebas::LeerArchivo;

// Every file of a folder, one after another.
std::string TodoJunto(const fs::path& carpeta)
{
    std::string todo;
    for (const auto& [nombre, contenido] : Instantanea(carpeta))
        todo += nombre + "\n" + contenido;
    return todo;
}

// A school with `materias` subjects: enough of them make the tables larger
// than a small disk.
pruebas::ArchivoIntercambio Escuela(int materias = 2)
{
    std::vector<pruebas::Registro> filas;
    for (int i = 0; i < materias; ++i)
        filas.push_back({"101", "M" + std::to_string(i), "Materia número " + std::to_string(i),
                         "C" + std::to_string(i), "120"});
    return pruebas::ArchivoIntercambio()
        .Grupo("MATERIAS", filas)
        .Grupo("ACTIVIDADES", {{"A", "513", "Guardia"}})
        .Grupo("EMPLEADOS", {{"E1", "01/09/2015", "Ciencias", "García", "López", "Ana", ""}})
        .Grupo("DEPENDENCIAS", {{"A1", "Aula 1"}})
        .Grupo("CURSOS_DEL_CENTRO", {{"101", "1º ESO"}})
        .Grupo("UNIDADES", {{"U1", "1º ESO A", "101"}})
        .Grupo("JORNADAS_ESCOLARES", {{"J1", "Mañana", "01/09/2023", "30/06/2024"}})
        .Grupo("TRAMOS_HORARIOS", {{"T1", "1ª", "540", "595", "J1"}});
}

// The program in a folder of its own beside its NIVELCAN.DBF, an earlier
// PROFT.DBF in the working directory.
class FallosExportar : public pruebas::EntornoExportarCli {
  protected:
    void SetUp() override
    {
        PrepararCarpetas();
        Escuela().Guardar(archivo);
        EscribirProftViejo();
    }

    Salida Exportar() { return Ejecutar("exportar " + Archivo() + " --plantilla J1"); }

    // The one backup folder of the run.
    fs::path Copia() const
    {
        std::vector<fs::path> copias;
        for (const auto& entrada : fs::directory_iterator(Copias()))
            copias.push_back(entrada.path());
        EXPECT_EQ(copias.size(), 1u);
        return copias.empty() ? fs::path() : copias.front();
    }
};

TEST_F(FallosExportar, DirectorioDeTrabajoDeSoloLecturaSaleConUnoSinTocarlo)
{
    const auto antes = Instantanea(ktemp);
    const auto xml = Leer(archivo);
    const pruebas::Montaje soloLectura = pruebas::Montaje::SoloLectura(ktemp);
    if (!soloLectura.Activo())
        GTEST_SKIP() << soloLectura.Motivo();

    const Salida s = Exportar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_THAT(s.errores, HasSubstr("No se puede escribir en el directorio de trabajo «" + ktemp.string() +
                                     "»: el disco o la carpeta es de solo lectura. No se ha tocado nada"))
        << s.errores;
    EXPECT_THAT(s.salida, Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(Instantanea(ktemp), antes);
    EXPECT_EQ(Leer(archivo), xml);
}

// The reason the backup folder cannot be made is the system's, in Spanish.
TEST_F(FallosExportar, CarpetaDeCopiasDeSoloLecturaLoDiceEnCastellanoSinTocarNada)
{
    const auto antes = Instantanea(ktemp);
    const pruebas::Montaje soloLectura = pruebas::Montaje::SoloLectura(datos.Ruta());
    if (!soloLectura.Activo())
        GTEST_SKIP() << soloLectura.Motivo();

    const Salida s = Exportar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_EQ(s.errores,
              "No se puede crear la carpeta de copias de seguridad «" + Copias().string() +
                  "» (el disco o la carpeta es de solo lectura). No se ha tocado ninguna tabla.\n");
    EXPECT_EQ(Instantanea(ktemp), antes);
}

TEST_F(FallosExportar, DiscoLlenoSaleConUnoYGuardaLasTablasAnteriores)
{
    const pruebas::Montaje disco = pruebas::Montaje::Tmpfs(ktemp, "256k");
    if (!disco.Activo())
        GTEST_SKIP() << disco.Motivo();
    EscribirProftViejo();
    Escuela(4000).Guardar(archivo);
    const auto xml = Leer(archivo);

    const Salida s = Exportar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_THAT(s.errores, HasSubstr("No se pudo escribir en el archivo «" + ktemp.string() + "/"))
        << s.errores;
    EXPECT_THAT(s.errores, HasSubstr(".DBF»: no queda espacio en el disco")) << s.errores;
    EXPECT_THAT(s.salida, Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(Leer(archivo), xml);
    EXPECT_EQ(Columna(Copia(), "PROFT", "ABREV"), (std::vector<std::string>{"VIEJO"}));
    EXPECT_EQ(pruebas::ArchivosTemporales(ktemp), "");
}

// Deleting the file would leave the other program writing into a file no one
// sees any more: the table stays as it is.
TEST_F(FallosExportar, TablaAbiertaPorOtroProgramaSaleConUnoYLaDejaComoEstaba)
{
    const auto xml = Leer(archivo);
    Salida s;
    {
        const pruebas::BloqueoAjeno otro(ktemp / "PROFT.DBF");
        ASSERT_TRUE(otro.Tomado());
        s = Exportar();
    }

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_THAT(s.errores, HasSubstr("No se puede sustituir la tabla «" + (ktemp / "PROFT.DBF").string() +
                                     "»: otro programa la tiene abierta"))
        << s.errores;
    EXPECT_THAT(s.salida, Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(Leer(archivo), xml);
    EXPECT_EQ(Columna(ktemp, "PROFT", "ABREV"), (std::vector<std::string>{"VIEJO"}));
    EXPECT_EQ(Columna(Copia(), "PROFT", "ABREV"), (std::vector<std::string>{"VIEJO"}));
}

// A NIVELCAN.DBF beside the program that is not a table the engine can read.
struct CasoNivelcan {
    const char* nombre;
    std::function<void(const fs::path&)> estropear;
    friend void PrintTo(const CasoNivelcan& c, std::ostream* os) { *os << c.nombre; }
};

class FallosExportarNivelcan : public FallosExportar, public testing::WithParamInterface<CasoNivelcan> {};

const CasoNivelcan kNivelcanDanado[] = {
    {"Truncado", [](const fs::path& ruta) { fs::resize_file(ruta, 40); }},
    {"Vacio", [](const fs::path& ruta) { fs::resize_file(ruta, 0); }},
    {"SinRegistrosQueAnuncia", [](const fs::path& ruta) { fs::resize_file(ruta, fs::file_size(ruta) - 30); }},
    {"CabeceraDeTexto",
     [](const fs::path& ruta) { std::ofstream(ruta, std::ios::binary) << "esto no es una tabla"; }},
    {"CabeceraImposible",
     [](const fs::path& ruta) {
         std::fstream f(ruta, std::ios::binary | std::ios::in | std::ios::out);
         f.seekp(8);
         f.write("\xFF\xFF\xFF\xFF", 4); // header and record length past the end
     }},
};

// NIVELCAN.DBF is read by the courses step, after earlier steps replaced
// their tables: those stay in the backup.
TEST_P(FallosExportarNivelcan, SaleConUnoNombrandoLaTablaYGuardaLasAnteriores)
{
    GetParam().estropear(programa / "NIVELCAN.DBF");
    const auto xml = Leer(archivo);

    const Salida s = Exportar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_THAT(s.errores, HasSubstr((programa / "NIVELCAN.DBF").string())) << s.errores;
    EXPECT_THAT(s.salida, Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(Leer(archivo), xml);
    EXPECT_EQ(Columna(Copia(), "PROFT", "ABREV"), (std::vector<std::string>{"VIEJO"}));
}

INSTANTIATE_TEST_SUITE_P(Exportar, FallosExportarNivelcan, testing::ValuesIn(kNivelcanDanado),
                         [](const auto& info) { return std::string(info.param.nombre); });

std::string Anidado(int niveles)
{
    std::string xml;
    for (int i = 0; i < niveles; ++i)
        xml += "<a>";
    for (int i = 0; i < niveles; ++i)
        xml += "</a>";
    return xml;
}

// Exchange files beyond what the reader accepts: refused before anything in
// the working directory is touched, with the reason and the line.
struct CasoIntercambioDesmedido {
    const char* nombre;
    std::function<std::string()> xml;
    std::string errores;
    friend void PrintTo(const CasoIntercambioDesmedido& c, std::ostream* os) { *os << c.nombre; }
};

class FallosExportarIntercambio : public FallosExportar,
                                  public testing::WithParamInterface<CasoIntercambioDesmedido> {};

const CasoIntercambioDesmedido kIntercambiosDesmedidos[] = {
    {"DatoDeDiezMegas",
     [] {
         return Escuela().Grupo("DEPENDENCIAS", {{"A2", std::string(10 * 1024 * 1024, 'x')}}).Texto();
     },
     "no se puede leer: tiene un texto de más de 10 millones de caracteres, más de lo que se admite en un "
     "dato "
     "(línea 2)"},
    {"DiezMilNiveles",
     [] {
         return Escuela()
             .Crudo("<grupo_datos seq=\"DEPENDENCIAS\"><grupo_datos><dato>" + Anidado(10000) +
                    "</dato></grupo_datos></grupo_datos>")
             .Texto();
     },
     "no se puede leer: tiene elementos anidados en más de 256 niveles, más de los que se admiten (línea 2)"},
};

TEST_P(FallosExportarIntercambio, SaleConUnoDiciendoPorQueSinTocarNada)
{
    std::ofstream(archivo, std::ios::binary) << GetParam().xml();
    const auto antes = Instantanea(ktemp);
    const auto xml = Leer(archivo);

    const Salida s = Exportar();

    EXPECT_EQ(s.estado, 1) << s.salida << s.errores;
    EXPECT_EQ(s.errores, "El archivo «" + archivo.string() + "» " + GetParam().errores + "\n");
    EXPECT_THAT(s.salida, Not(HasSubstr("Proceso finalizado")));
    EXPECT_EQ(Leer(archivo), xml);
    EXPECT_EQ(Instantanea(ktemp), antes);
    EXPECT_FALSE(fs::exists(datos / "durlavex" / "copias"));
}

INSTANTIATE_TEST_SUITE_P(Exportar, FallosExportarIntercambio, testing::ValuesIn(kIntercambiosDesmedidos),
                         [](const auto& info) { return std::string(info.param.nombre); });

// An external entity is neither fetched nor expanded: the run goes on with
// the reference left out, and what the local file holds reaches no table.
TEST_F(FallosExportar, EntidadExternaNoSeLeeNiLlegaANingunaTabla)
{
    const std::string marca = "MARCA-DE-FUERA-7731";
    std::ofstream(origen / "fuera.txt") << marca;
    const std::string texto = Escuela()
                                  .Grupo("DEPENDENCIAS", {{"A2", "Aula &fuera; dos"}})
                                  .Texto("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE SERVICIO "
                                         "[<!ENTITY fuera SYSTEM \"file://" +
                                         (origen / "fuera.txt").string() + "\">]>");
    std::string conReferencia = texto;
    conReferencia.replace(conReferencia.find("&amp;fuera;"), 11, "&fuera;");
    std::ofstream(archivo, std::ios::binary) << conReferencia;

    const Salida s = Exportar();

    EXPECT_EQ(s.estado, 0) << s.salida << s.errores;
    EXPECT_EQ(Columna(ktemp, "AULAT", "NOMBRE"), (std::vector<std::string>{"Aula 1", "Aula  dos"}));
    EXPECT_THAT(TodoJunto(ktemp), Not(HasSubstr(marca)));
    EXPECT_THAT(s.salida + s.errores, Not(HasSubstr(marca)));
}

} // namespace
} // namespace durlavex
