// The import run: what stops it, the teacher check, and its outcome.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "import/fixture_importacion.h"
#include "import/importacion.h"
#include "platform/bloqueo_trabajo.h"
#include "tables/tabla.h"

namespace durlavex {
namespace {

using pruebas::EntornoImportacion;
namespace fs = std::filesystem;

struct CasoDetencion {
    std::string nombre;
    std::function<void(EntornoImportacion&)> estropear; // applied after the school is written
    Desenlace desenlace;
    Detencion detencion;
    std::string mensaje; // the whole message when stopped, a part of it on an error
};

const CasoDetencion kCasosDetencion[] = {
    {"SinArchivoDeIntercambio", [](EntornoImportacion& e) { fs::remove(e.archivoXml); }, Desenlace::Detenido,
     Detencion::ArchivoInexistente, "No existe archivo"},
    {"ArchivoDeIntercambioEsUnaCarpeta",
     [](EntornoImportacion& e) {
         fs::remove(e.archivoXml);
         fs::create_directory(e.archivoXml);
     },
     Desenlace::Detenido, Detencion::ArchivoInexistente, "No existe archivo"},
    {"SinPeriodos", [](EntornoImportacion& e) { fs::remove(e.trabajo / "PERIODOS.DBF"); },
     Desenlace::Detenido, Detencion::SinPeriodos,
     "ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VORNA."},
    {"SinDirectorioDeTrabajo", [](EntornoImportacion& e) { fs::remove_all(e.trabajo.Ruta()); },
     Desenlace::Error, Detencion::Ninguna, "No existe el directorio de trabajo de Talvorin"},
    {"SinTablaCursost", [](EntornoImportacion& e) { fs::remove(e.trabajo / "CURSOST.DBF"); },
     Desenlace::Error, Detencion::Ninguna, "CURSOST"},
    {"ArchivoMalFormado",
     [](EntornoImportacion& e) { pruebas::EscribirBytes(e.archivoXml, "<SERVICIO><BLOQUE_DATOS>"); },
     Desenlace::Error, Detencion::Ninguna, "vorna.xml"},
    {"SinBloqueDatos",
     [](EntornoImportacion& e) {
         pruebas::EscribirBytes(e.archivoXml, "<SERVICIO><OTRO>2023</OTRO></SERVICIO>");
     },
     Desenlace::Error, Detencion::Ninguna, "BLOQUE_DATOS"},
    {"BloqueDatosVacio",
     [](EntornoImportacion& e) {
         pruebas::EscribirBytes(e.archivoXml, "<SERVICIO><BLOQUE_DATOS>  </BLOQUE_DATOS></SERVICIO>");
     },
     Desenlace::Error, Detencion::Ninguna, "BLOQUE_DATOS"},
    {"HoraDeSolucNoNumerica",
     [](EntornoImportacion& e) {
         pruebas::EscribirSoluc(e.trabajo.Ruta(), {{"P1", "3", "x", "MAT", "1A", "", ""}});
     },
     Desenlace::Error, Detencion::Ninguna, "«HORA»"},
};

void PrintTo(const CasoDetencion& caso, std::ostream* os)
{
    *os << caso.nombre;
}

class DetencionTest : public testing::TestWithParam<CasoDetencion> {};

TEST_P(DetencionTest, NoSeEscribeNadaYSeQuitaLaIndicacionDeOcupado)
{
    const CasoDetencion& caso = GetParam();
    EntornoImportacion e;
    e.escuela.soluc = {{"P1", "3", "2", "MAT", "1A", "", ""}};
    e.Preparar();
    caso.estropear(e);

    const ResultadoImportacion r = e.Ejecutar();
    EXPECT_EQ(r.desenlace, caso.desenlace);
    EXPECT_EQ(r.detencion, caso.detencion);
    EXPECT_NE(r.mensaje.find(caso.mensaje), std::string::npos) << r.mensaje;
    EXPECT_FALSE(fs::exists(e.Resultado()));
    EXPECT_TRUE(e.persona.ocupado.empty() || !e.persona.ocupado.back());
    // A plain message only for the situations that stop a run; errors are
    // shown by the caller in its error box.
    const std::vector<std::string> mostrados = caso.desenlace == Desenlace::Detenido
                                                   ? std::vector<std::string>{caso.mensaje}
                                                   : std::vector<std::string>{};
    EXPECT_EQ(e.persona.mensajes, mostrados);
}

INSTANTIATE_TEST_SUITE_P(Casos, DetencionTest, testing::ValuesIn(kCasosDetencion),
                         [](const auto& info) { return info.param.nombre; });

// A SOLUC made on other tables (another school's, or before the last
// export) is refused before anything is written or asked.
struct CasoSolucAjeno {
    std::string nombre;
    std::vector<pruebas::FilaSoluc> soluc;
    std::string motivo;
};

void PrintTo(const CasoSolucAjeno& caso, std::ostream* os)
{
    *os << caso.nombre;
}

const CasoSolucAjeno kCasosSolucAjeno[] = {
    {"NingunProfesorDeProft",
     {{"X9", "3", "2", "MAT", "1A", "", ""}, {"X8", "1", "1", "GUA", "", "", ""}},
     "ninguna de sus 2 filas es de un profesor de PROFT.DBF"},
    {"NingunaMateriaNiActividadExportada",
     {{"P1", "3", "2", "LEN", "1A", "", ""}},
     "su única fila no tiene una materia y un grupo de ASIGT.DBF ni una actividad de ASIGNOMT.DBF"},
};

class SolucAjenoTest : public testing::TestWithParam<CasoSolucAjeno> {};

TEST_P(SolucAjenoTest, SeDetieneSinEscribirNiPreguntar)
{
    EntornoImportacion e;
    e.escuela.proft[0]["X_EMPLEADO"] = ""; // the teacher dialog would be due
    e.escuela.soluc = GetParam().soluc;
    e.Preparar();

    const ResultadoImportacion r = e.Ejecutar();
    EXPECT_EQ(r.desenlace, Desenlace::Detenido);
    EXPECT_EQ(r.detencion, Detencion::SolucNoCorresponde);
    EXPECT_NE(r.mensaje.find("SOLUC.DBF no corresponde a las tablas exportadas: " + GetParam().motivo),
              std::string::npos)
        << r.mensaje;
    EXPECT_NE(r.mensaje.find("No se ha escrito el archivo de resultado"), std::string::npos) << r.mensaje;
    EXPECT_EQ(e.persona.mensajes, std::vector<std::string>{r.mensaje});
    EXPECT_EQ(e.persona.completados, 0);
    EXPECT_FALSE(fs::exists(e.Resultado()));
}

INSTANTIATE_TEST_SUITE_P(Casos, SolucAjenoTest, testing::ValuesIn(kCasosSolucAjeno),
                         [](const auto& info) { return info.param.nombre; });

// An export (or another import) at work in the folder: refused at once.
TEST(Importacion, OtraCorridaEnElDirectorioLaDetiene)
{
    EntornoImportacion e;
    e.escuela.soluc = {{"P1", "3", "2", "MAT", "1A", "", ""}};
    e.Preparar();
    const BloqueoDirectorioTrabajo otra(e.trabajo.Ruta(), BloqueoDirectorioTrabajo::Uso::Exportar);

    const ResultadoImportacion r = e.Ejecutar();
    EXPECT_EQ(r.desenlace, Desenlace::Error);
    EXPECT_NE(r.mensaje.find("Otra exportación o importación de Durlavex está trabajando ahora"),
              std::string::npos)
        << r.mensaje;
    EXPECT_FALSE(fs::exists(e.Resultado()));
}

TEST(Importacion, ElMensajeDelProfesorIncompletoTieneTresLineasSeparadasPorLfCr)
{
    EXPECT_STREQ(kMensajeProfesorIncompleto,
                 "¡Atención! Sigue habiendo algún Profesor sin todos los DATOS.\n\r"
                 "Este proceso se dentendrá y deberá volver a ejecutar\n\r"
                 "la Importación, para poder corregir la incidencia");
}

TEST(Importacion, ProfesoresCompletosNoMuestranElDialogo)
{
    EntornoImportacion e;
    e.Preparar();
    const ResultadoImportacion r = e.Ejecutar();
    EXPECT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(e.persona.completados, 0);
    EXPECT_EQ(e.persona.ocupado, (std::vector<bool>{true, false}));
    EXPECT_TRUE(e.persona.mensajes.empty());
}

// The completion saves into PROFT.DBF while the run holds it open; the records
// show what was saved.
TEST(Importacion, ProfesorCompletadoEnElDialogoSigueAdelante)
{
    EntornoImportacion e;
    e.escuela.proft.push_back({{"ABREV", "P2"}, {"X_EMPLEADO", "   "}, {"F_TOMAPOS", "02/09/2016"}});
    e.Preparar();
    e.persona.alCompletar = [](const fs::path& directorio) {
        Tabla proft(directorio, "PROFT");
        proft.Abrir();
        proft.Primero();
        proft.Siguiente();
        proft.Editar();
        proft.FijarTexto("X_EMPLEADO", "2002");
        proft.Grabar();
        proft.Cerrar();
    };

    const ResultadoImportacion r = e.Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(e.persona.completados, 1);
    EXPECT_EQ(e.persona.ocupado, (std::vector<bool>{true, false, true, false}));
    const auto leido = e.Leer();
    ASSERT_EQ(leido.profesores.size(), 2u);
    EXPECT_EQ(leido.profesores[1].datos[0].valor, "2002");
}

TEST(Importacion, ProfesorQueSigueIncompletoDetieneSinSegundoDialogo)
{
    EntornoImportacion e;
    e.escuela.proft.push_back({{"ABREV", "P2"}, {"X_EMPLEADO", "2002"}});
    e.Preparar();

    const ResultadoImportacion r = e.Ejecutar();
    EXPECT_EQ(r.desenlace, Desenlace::Detenido);
    EXPECT_EQ(r.detencion, Detencion::ProfesorIncompleto);
    EXPECT_EQ(e.persona.completados, 1);
    EXPECT_EQ(e.persona.mensajes, (std::vector<std::string>{kMensajeProfesorIncompleto}));
    EXPECT_FALSE(fs::exists(e.Resultado()));
    EXPECT_FALSE(e.persona.ocupado.back());
}

} // namespace
} // namespace durlavex
