#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "comun/directorio_temporal.h"
#include "comun/entorno.h"
#include "comun/nivelcan.h"
#include "export/copia_seguridad.h"
#include "export/exportacion.h"
#include "export/fixture_exportacion.h"
#include "platform/bloqueo_trabajo.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"
#include "platform/fallos_simulados.h"
#include "platform/interrupcion.h"
#include "tables/esquemas.h"
#include "tables/preparacion.h"

namespace durlavex {
namespace {

namespace fs = std::filesystem;
using pruebas::Ansi;
using pruebas::ArchivoIntercambio;
using pruebas::EntornoExportacion;
using pruebas::Filas;
using testing::HasSubstr;

std::string Contenido(const fs::path& ruta)
{
    std::ifstream entrada(ruta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
}

// Every file of a folder with its bytes: what "untouched" is compared by.
std::map<std::string, std::string> Instantanea(const fs::path& carpeta)
{
    std::map<std::string, std::string> archivos;
    for (const auto& entrada : fs::directory_iterator(carpeta))
        archivos[entrada.path().filename().string()] = Contenido(entrada.path());
    return archivos;
}

// A small school with every data group the export reads.
ArchivoIntercambio EscuelaCompleta()
{
    return ArchivoIntercambio()
        .Grupo("MATERIAS", {{"101", "M1", "Matemáticas", "MAT", "240"},
                            {"101", "M2", "Lengua Castellana", "LCL", "270"},
                            {"202", "M3", "Matemáticas", "MAT", ""}})
        .Grupo("ACTIVIDADES", {{"A", "513", "Guardia"}})
        .Grupo("EMPLEADOS", {{"E1", "01/09/2015", "Ciencias", "García", "López", "Ana", ""}})
        .Grupo("DEPENDENCIAS", {{"A1", "Aula 1"}})
        .Grupo("CURSOS_DEL_CENTRO", {{"101", "1º ESO"}, {"202", "2º Bachillerato"}})
        .Grupo("UNIDADES", {{"U1", "1º ESO A", "101"}, {"U2", "2º Bach B", "202"}})
        .Grupo("JORNADAS_ESCOLARES",
               {{"J1", "Mañana", "01/09/2023", "30/06/2024"}, {"J2", "Tarde", "01/09/2023", "30/06/2024"}})
        .Grupo("TRAMOS_HORARIOS", {{"T1", "1ª", "540", "595", "J1"},
                                   {"T2", "2ª", "480", "535", "J1"},
                                   {"T3", "1ªT", "900", "955", "J2"}});
}

// An export run over the fixture's folders, its copies in a folder of its own.
class Corrida : public testing::Test {
  protected:
    Corrida() : e(EscuelaCompleta(), "J1")
    {
        pruebas::EscribirNivelcan(e.programa.Ruta(), {{101, "ESO", "Secundaria"}});
        opciones.archivoXml = e.ctx.ArchivoXML;
        opciones.directorioTrabajo = e.trabajo.Ruta();
        opciones.carpetaPrograma = e.programa.Ruta();
        opciones.carpetaCopias = copias.Ruta() / "copias";
    }

    ResultadoExportacion Ejecutar() { return EjecutarExportacion(opciones, e.interaccion); }

    // Tables of an earlier run, and files the run must leave alone.
    void TablasAnteriores()
    {
        auto proft = CrearTabla(e.trabajo.Ruta(), esquemas::PROFT);
        proft->Abrir();
        proft->Agregar();
        proft->FijarTexto("ABREV", "VIEJO");
        proft->Grabar();
        proft->Cerrar();
        std::ofstream(e.trabajo / "asigt.dbf") << "tabla vieja en minúsculas";
        std::ofstream(e.trabajo / "DIASHORAST2.MDX") << "índice viejo";
        std::ofstream(e.trabajo / "JORNADAS.DBF") << "jornadas viejas";
        std::ofstream(e.trabajo / "JORNADAS.MDX") << "índice de jornadas";
        std::ofstream(e.trabajo / "SOLUC.DBF") << "horario de Talvorin";
    }

    EntornoExportacion e;
    pruebas::DirectorioTemporal copias;
    OpcionesExportacion opciones;
};

// "NAME KIND WIDTH", the width for text fields only: what the layouts fix.
std::string Describir(const std::string& nombre, char tipo, int ancho)
{
    return nombre + " " + tipo + (tipo == 'C' ? " " + std::to_string(ancho) : "");
}

char Letra(TipoCampo tipo)
{
    switch (tipo) {
    case TipoCampo::Texto:
        return 'C';
    case TipoCampo::Logico:
        return 'L';
    case TipoCampo::Entero:
    case TipoCampo::Flotante:
        return 'N';
    }
    return '?';
}

TEST_F(Corrida, EscuelaCompletaReconstruyeCadaTabla)
{
    const ResultadoExportacion r = Ejecutar();

    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(r.mensaje, "");
    EXPECT_EQ(r.JornadaElegida, "J1");
    EXPECT_TRUE(r.copiaSeguridad.empty());
    EXPECT_EQ(e.interaccion.plantillasPedidas, 1);
    EXPECT_TRUE(e.interaccion.mensajes.empty());
    EXPECT_EQ(e.interaccion.ocupado, (std::vector<bool>{true, false}));
    EXPECT_EQ(
        e.interaccion.pasos,
        (std::vector<std::string>{"Leyendo " + e.ctx.ArchivoXML.string(), "Materias (ASIGNOMT, ASIGNOMT2)",
                                  "Actividades (ASIGNOMT)", "Profesores (PROFT)", "Dependencias (AULAT)",
                                  "Cursos y unidades (CURSOST, GRUPOST)", "Asignaciones (ASIGT)",
                                  "Jornadas y tramos horarios (DIASHORAST, DIASHORAST2, PERIODOS)",
                                  "Poniendo las tablas nuevas en su sitio"}));

    // Every layout, field by field, as the engine reads the files.
    for (const Esquema* esquema : esquemas::Todos()) {
        auto archivo =
            dbf::ArchivoDbf::Abrir(e.trabajo / (esquema->nombre + ".DBF"), dbf::Acceso::Compartido);
        EXPECT_EQ(archivo->VersionArchivo(), dbf::Version::DBase7) << esquema->nombre;
        std::vector<std::string> esperados, leidos;
        for (const DefinicionCampo& campo : esquema->campos)
            esperados.push_back(Describir(campo.nombre, Letra(campo.tipo), campo.ancho));
        for (const dbf::Campo& campo : archivo->Campos())
            leidos.push_back(Describir(campo.nombre, campo.tipo, campo.ancho));
        EXPECT_EQ(leidos, esperados) << esquema->nombre;
    }
    std::vector<std::string> archivos;
    for (const auto& [nombre, contenido] : Instantanea(e.trabajo.Ruta()))
        archivos.push_back(nombre);
    EXPECT_EQ(archivos,
              (std::vector<std::string>{"ASIGNOMT.DBF", "ASIGNOMT2.DBF", "ASIGT.DBF", "AULAT.DBF",
                                        "CURSOST.DBF", "DIASHORAST.DBF", "DIASHORAST2.DBF", "DIASHORAST2.MDX",
                                        "GRUPOST.DBF", "PERIODOS.DBF", "PROFT.DBF"}));

    EXPECT_EQ(e.Leer("ASIGNOMT", {"COD", "CODLARGO", "NOMBRE", "CODTAREA", "ESTAREA"}),
              Ansi(Filas{{"MAT", "MAT", "Matemáticas", "", "F"},
                         {"LCL", "LCL", "Lengua Castellana", "", "F"},
                         {"513", "Guardia", "Guardia", "513", "T"}}));
    EXPECT_EQ(e.Leer("ASIGNOMT2", {"COD", "NOMBRE", "MATERIA", "OFERTAMATRI"}),
              Ansi(Filas{{"MAT", "Matemáticas", "M1", "101"},
                         {"LCL", "Lengua Castellana", "M2", "101"},
                         {"MAT", "Matemáticas", "M3", "202"}}));
    EXPECT_EQ(e.Leer("PROFT", {"ABREV", "NOMBRE", "DEPART", "DNI", "X_EMPLEADO", "F_TOMAPOS"}),
              Ansi(Filas{{"GLA", "García López, Ana", "Ciencias", "", "E1", "01/09/2015"}}));
    EXPECT_EQ(e.Leer("AULAT", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "DEPCENTRO"}),
              (Filas{{"A1", "Aula 1", "", "", ""}}));
    EXPECT_EQ(e.Leer("CURSOST", {"ABREV", "TURNO", "NIVEL", "CURSO", "CLAVE", "ESTUD"}),
              Ansi(Filas{{"E1", "", "ESO", "1", "101", "1º ESO (Secundaria)"},
                         {"B2", "", "BACH", "2", "202", "2º Bachillerato (Bachillerato)"}}));
    EXPECT_EQ(
        e.Leer("GRUPOST", {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "CLAVE", "CLAVECURSO", "DESCRIP"}),
        Ansi(Filas{
            {"1ºESOA", "", "ESO", "1", "A", "U1", "101", "(1º ESO A) 1º ESO (Secundaria)"},
            {"2ºBachB", "", "BACH", "2", "B", "U2", "202", "(2º Bach B) 2º Bachillerato (Bachillerato)"}}));
    EXPECT_EQ(
        e.Leer("ASIGT", {"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL", "CURSO", "GRUPO", "HORAS",
                         "SESIONES", "NCONEX", "CLAVE", "CLAVECURSO", "CTAREA"}),
        Ansi(Filas{
            {"MAT", "", "1ºESOA", "", "", "ESO", "1", "A", "4.0000", "1111", "", "M1", "101", "513"},
            {"LCL", "", "1ºESOA", "", "", "ESO", "1", "A", "5.0000", "11111", "", "M2", "101", "513"},
            {"MAT", "", "2ºBachB", "", "", "BACH", "2", "B", "4.0000", "1111", "", "M3", "202", "513"}}));
    const std::vector<std::string> dias = {"DIHO",     "CODDIHO",   "DIA",       "TEXTODIA", "HORA",
                                           "TEXTOHOR", "HORADESDE", "HORAHASTA", "MINUTOS"};
    Filas diashorast2, diashorast;
    for (int dia = 1; dia <= 7; ++dia)
        diashorast2.push_back(
            {std::to_string(dia) + "1", "T1", std::to_string(dia), "", "1", "1ª", "09:00", "09:55", "55"});
    for (int dia = 1; dia <= 7; ++dia)
        diashorast2.push_back(
            {std::to_string(dia) + "2", "T2", std::to_string(dia), "", "2", "2ª", "08:00", "08:55", "55"});
    for (int dia = 1; dia <= 7; ++dia)
        diashorast.push_back(
            {std::to_string(dia) + "1", "T2", std::to_string(dia), "", "1", "2ª", "08:00", "08:55", "55"});
    for (int dia = 1; dia <= 7; ++dia)
        diashorast.push_back(
            {std::to_string(dia) + "2", "T1", std::to_string(dia), "", "2", "1ª", "09:00", "09:55", "55"});
    EXPECT_EQ(e.Leer("DIASHORAST2", dias), Ansi(diashorast2));
    EXPECT_EQ(e.Leer("DIASHORAST", dias), Ansi(diashorast));
    EXPECT_EQ(e.Leer("PERIODOS", {"CJORNADA", "JORNADA", "FECINI", "FECFIN"}),
              Ansi(Filas{{"J1", "Mañana", "01/09/2023", "30/06/2024"}}));

    EXPECT_EQ(r.filas.size(), esquemas::Todos().size());
    std::vector<std::string> resumen;
    for (const FilasTabla& tabla : r.filas)
        resumen.push_back(tabla.tabla + " " + std::to_string(tabla.filas));
    EXPECT_EQ(resumen, (std::vector<std::string>{"ASIGNOMT 3", "ASIGNOMT2 3", "PROFT 1", "AULAT 1",
                                                 "CURSOST 2", "GRUPOST 2", "ASIGT 3", "DIASHORAST 14",
                                                 "DIASHORAST2 14", "PERIODOS 1"}));
}

TEST_F(Corrida, CopiaLasTablasQueVaASustituirAntesDeBorrarlas)
{
    TablasAnteriores();
    const auto antes = Instantanea(e.trabajo.Ruta());

    const ResultadoExportacion r = Ejecutar();

    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    ASSERT_FALSE(r.copiaSeguridad.empty());
    EXPECT_EQ(r.copiaSeguridad.parent_path(), opciones.carpetaCopias);
    EXPECT_EQ(r.archivosCopiados, 4);
    const auto copia = Instantanea(r.copiaSeguridad);
    EXPECT_EQ(copia, (std::map<std::string, std::string>{{"PROFT.DBF", antes.at("PROFT.DBF")},
                                                         {"asigt.dbf", antes.at("asigt.dbf")},
                                                         {"DIASHORAST2.MDX", antes.at("DIASHORAST2.MDX")},
                                                         {"JORNADAS.DBF", antes.at("JORNADAS.DBF")}}));
    EXPECT_THAT(e.interaccion.pasos, testing::Contains("Copia de seguridad de las tablas anteriores en " +
                                                       r.copiaSeguridad.string()));
    // What the run does not replace stays as it was.
    EXPECT_EQ(Contenido(e.trabajo / "SOLUC.DBF"), antes.at("SOLUC.DBF"));
    EXPECT_EQ(Contenido(e.trabajo / "JORNADAS.MDX"), antes.at("JORNADAS.MDX"));
    EXPECT_FALSE(e.Existe("JORNADAS.DBF"));
    EXPECT_EQ(e.Columna("PROFT", "ABREV"), (std::vector<std::string>{"GLA"}));
}

// Ways a run ends before it touches the working directory.
struct CasoSinTocar {
    const char* nombre;
    std::function<void(OpcionesExportacion&, const EntornoExportacion&)> preparar;
    Desenlace desenlace;
    Detencion detencion;
    std::string mensaje;                // a piece of the outcome's message
    std::vector<std::string> mostrados; // told through Mensaje: a stop, not an error
    std::vector<bool> ocupado;          // the busy indication, on and off
    friend void PrintTo(const CasoSinTocar& c, std::ostream* os) { *os << c.nombre; }
};

const CasoSinTocar kCasosSinTocar[] = {
    {"ArchivoInexistente",
     [](OpcionesExportacion& o, const EntornoExportacion& e) { o.archivoXml = e.origen / "no-esta.xml"; },
     Desenlace::Detenido,
     Detencion::ArchivoInexistente,
     "No existe archivo",
     {"No existe archivo"},
     {}},
    {"RutaVacia",
     [](OpcionesExportacion& o, const EntornoExportacion&) { o.archivoXml.clear(); },
     Desenlace::Detenido,
     Detencion::ArchivoInexistente,
     "No existe archivo",
     {"No existe archivo"},
     {}},
    {"RutaDeUnaCarpeta",
     [](OpcionesExportacion& o, const EntornoExportacion& e) { o.archivoXml = e.origen.Ruta(); },
     Desenlace::Detenido,
     Detencion::ArchivoInexistente,
     "No existe archivo",
     {"No existe archivo"},
     {}},
    {"SinNivelcan",
     [](OpcionesExportacion&, const EntornoExportacion& e) { fs::remove(e.programa / "NIVELCAN.DBF"); },
     Desenlace::Detenido,
     Detencion::SinNivelcan,
     "ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale DURLAVEX",
     {"ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale DURLAVEX"},
     {}},
    {"SinDirectorioDeTrabajo",
     [](OpcionesExportacion& o, const EntornoExportacion& e) { o.directorioTrabajo = e.trabajo / "KTEMP"; },
     Desenlace::Error,
     Detencion::Ninguna,
     "No existe el directorio de trabajo",
     {},
     {}},
    {"XmlMalFormado",
     [](OpcionesExportacion& o, const EntornoExportacion&) {
         std::ofstream(o.archivoXml) << "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"MATERIAS\">";
     },
     Desenlace::Error,
     Detencion::Ninguna,
     "vorna.xml",
     {},
     {}},
    {"SinBloqueDeDatos",
     [](OpcionesExportacion& o, const EntornoExportacion&) {
         std::ofstream(o.archivoXml) << "<?xml version=\"1.0\"?><SERVICIO/>";
     },
     Desenlace::Error,
     Detencion::Ninguna,
     "BLOQUE_DATOS",
     {},
     {}},
    {"CarpetaDeCopiasQueNoSePuedeCrear",
     [](OpcionesExportacion& o, const EntornoExportacion&) {
         fs::create_directories(o.carpetaCopias.parent_path());
         std::ofstream(o.carpetaCopias) << "un archivo donde iría la carpeta";
     },
     Desenlace::Error,
     Detencion::Ninguna,
     "No se ha tocado ninguna tabla",
     {},
     {true, false}},
};

class CorridaSinTocar : public Corrida, public testing::WithParamInterface<CasoSinTocar> {};

TEST_P(CorridaSinTocar, DejaElDirectorioDeTrabajoComoEstaba)
{
    const CasoSinTocar& c = GetParam();
    TablasAnteriores();
    c.preparar(opciones, e);
    const auto antes = Instantanea(e.trabajo.Ruta());

    const ResultadoExportacion r = Ejecutar();

    EXPECT_EQ(r.desenlace, c.desenlace);
    EXPECT_EQ(r.detencion, c.detencion);
    EXPECT_THAT(r.mensaje, HasSubstr(c.mensaje));
    EXPECT_EQ(e.interaccion.mensajes, c.mostrados);
    EXPECT_EQ(Instantanea(e.trabajo.Ruta()), antes);
    EXPECT_FALSE(fs::is_directory(opciones.carpetaCopias));
    EXPECT_EQ(e.interaccion.ocupado, c.ocupado);
    EXPECT_EQ(e.interaccion.plantillasPedidas, 0);
}

INSTANTIATE_TEST_SUITE_P(Exportacion, CorridaSinTocar, testing::ValuesIn(kCasosSinTocar),
                         [](const auto& info) { return std::string(info.param.nombre); });

// A step that fails after earlier steps wrote their tables: none of them
// reaches the working directory, which keeps its old tables byte for byte.
TEST_F(Corrida, ErrorEnUnPasoDejaLasTablasAnterioresYApagaLaIndicacion)
{
    e.Cargar(EscuelaCompleta().Grupo("CURSOS_DEL_CENTRO", {{"12a", "3º"}}));
    TablasAnteriores();
    const auto antes = Instantanea(e.trabajo.Ruta());

    const ResultadoExportacion r = Ejecutar();

    EXPECT_EQ(r.desenlace, Desenlace::Error);
    EXPECT_EQ(r.mensaje, "'12a' no es un valor entero válido (CURSOS_DEL_CENTRO, registro 3, dato en la "
                         "posición 0, línea 2).");
    EXPECT_TRUE(e.interaccion.mensajes.empty());
    EXPECT_EQ(e.interaccion.ocupado, (std::vector<bool>{true, false}));
    EXPECT_EQ(e.interaccion.pasos.back(), "Cursos y unidades (CURSOST, GRUPOST)");
    EXPECT_EQ(Instantanea(e.trabajo.Ruta()), antes);
    EXPECT_TRUE(r.filas.empty());
    EXPECT_FALSE(r.copiaSeguridad.empty());
    EXPECT_TRUE(fs::exists(r.copiaSeguridad / "PROFT.DBF"));
}

// Whatever stops a run before its end, the working directory keeps its old
// tables byte for byte and no staging folder stays behind.
struct CasoCorridaFallida {
    const char* nombre;
    fallos::Plan fallo;
    const char* mensaje; // a part of the error's text
};

void PrintTo(const CasoCorridaFallida& c, std::ostream* os)
{
    *os << c.nombre;
}

const CasoCorridaFallida kCasosCorridaFallida[] = {
    {"DiscoLlenoAlEscribirLaQuintaTabla",
     {fallos::Operacion::Escribir, 5, "", std::errc::no_space_on_device},
     ": no queda espacio en el disco"},
    {"CarpetaDeSoloLectura",
     {fallos::Operacion::Crear, 1, "", std::errc::read_only_file_system},
     "DURLAVEX.TMP/ASIGNOMT.DBF»: el disco o la carpeta es de solo lectura"},
    {"SinPermisoParaCrearAsigt",
     {fallos::Operacion::Crear, 1, "ASIGT", std::errc::permission_denied},
     "ASIGT.DBF»: no hay permiso para hacerlo"},
    {"MovimientoRechazadoEnLaEtapaFinal",
     {fallos::Operacion::Renombrar, 6, "", std::errc::permission_denied, false},
     "no hay permiso para hacerlo. Se han vuelto a poner las tablas anteriores: no ha cambiado ninguna"},
};

class CorridaFallida : public Corrida, public testing::WithParamInterface<CasoCorridaFallida> {};

TEST_P(CorridaFallida, DejaLasTablasAnterioresTalCual)
{
    TablasAnteriores();
    const auto antes = Instantanea(e.trabajo.Ruta());
    const fallos::FalloProgramado fallo(GetParam().fallo);

    const ResultadoExportacion r = Ejecutar();

    EXPECT_EQ(r.desenlace, Desenlace::Error);
    std::string mensaje = GetParam().mensaje;
#ifdef _WIN32
    std::replace(mensaje.begin(), mensaje.end(), '/', '\\'); // the paths' separator
#endif
    EXPECT_THAT(r.mensaje, HasSubstr(mensaje));
    EXPECT_EQ(Instantanea(e.trabajo.Ruta()), antes);
    EXPECT_EQ(e.interaccion.ocupado, (std::vector<bool>{true, false}));
}

INSTANTIATE_TEST_SUITE_P(Fallos, CorridaFallida, testing::ValuesIn(kCasosCorridaFallida),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Stopped by the person while the template is asked for (Ctrl+C): the steps
// done so far are dropped with the staging folder.
TEST_F(Corrida, InterrumpidaDejaLasTablasAnteriores)
{
    TablasAnteriores();
    const auto antes = Instantanea(e.trabajo.Ruta());
    e.interaccion.alElegir = [] { PedirInterrupcion(); };

    const ResultadoExportacion r = Ejecutar();
    OlvidarInterrupcion();

    EXPECT_EQ(r.desenlace, Desenlace::Error);
    EXPECT_EQ(r.mensaje, "Exportación interrumpida a petición del usuario: no ha cambiado ninguna tabla del "
                         "directorio de trabajo");
    EXPECT_EQ(Instantanea(e.trabajo.Ruta()), antes);
}

// The final stage fails, and putting the old tables back fails too: they wait
// in the staging folder, and the next run (export or import) puts them back
// before anything else.
TEST_F(Corrida, EtapaFinalAMediasLaDeshaceLaCorridaSiguiente)
{
    TablasAnteriores();
    const auto antes = Instantanea(e.trabajo.Ruta());
    {
        const fallos::FalloProgramado fallo({fallos::Operacion::Renombrar, 4, "", std::errc::io_error});
        const ResultadoExportacion r = Ejecutar();
        EXPECT_EQ(r.desenlace, Desenlace::Error);
        EXPECT_THAT(r.mensaje, HasSubstr("Tampoco se pudieron volver a poner todas las tablas anteriores"));
    }
    ASSERT_TRUE(fs::is_directory(e.trabajo / "DURLAVEX.TMP"));
    EXPECT_FALSE(fs::exists(e.trabajo / "PROFT.DBF")); // the old one waits aside

    EXPECT_TRUE(RecuperarExportacionInterrumpida(e.trabajo.Ruta()));
    EXPECT_EQ(Instantanea(e.trabajo.Ruta()), antes);
}

// A staging folder an export killed half-way left behind goes with the next
// run, which then writes its tables as usual.
TEST_F(Corrida, CarpetaDePreparacionAbandonadaSeVacia)
{
    fs::create_directories(e.trabajo / "DURLAVEX.TMP");
    std::ofstream(e.trabajo / "DURLAVEX.TMP" / "PROFT.DBF") << "a medio escribir";

    const ResultadoExportacion r = Ejecutar();

    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_FALSE(fs::exists(e.trabajo / "DURLAVEX.TMP"));
    EXPECT_EQ(e.Columna("PROFT", "ABREV"), (std::vector<std::string>{"GLA"}));
}

TEST_F(Corrida, OtraCorridaEnElDirectorioLaDetieneSinTocarNada)
{
    TablasAnteriores();
    const auto antes = Instantanea(e.trabajo.Ruta());
    const BloqueoDirectorioTrabajo otra(e.trabajo.Ruta(), BloqueoDirectorioTrabajo::Uso::Importar);

    const ResultadoExportacion r = Ejecutar();

    EXPECT_EQ(r.desenlace, Desenlace::Error);
    EXPECT_THAT(r.mensaje, HasSubstr("Otra exportación o importación de Durlavex está trabajando ahora"));
    EXPECT_FALSE(fs::is_directory(opciones.carpetaCopias));
    std::map<std::string, std::string> despues = Instantanea(e.trabajo.Ruta());
    despues.erase("DURLAVEX.LCK"); // the other run's
    EXPECT_EQ(despues, antes);
}

TEST_F(Corrida, NivelcanEnMinusculasSeEncuentra)
{
    fs::rename(e.programa / "NIVELCAN.DBF", e.programa / "nivelcan.dbf");
    const ResultadoExportacion r = Ejecutar();
    ASSERT_EQ(r.desenlace, Desenlace::Finalizado) << r.mensaje;
    EXPECT_EQ(e.Columna("CURSOST", "NIVEL"), (std::vector<std::string>{"ESO", "BACH"}));
}

TEST(CodigosPlantilla, RecortadosUnaVezEnElOrdenDelArchivo)
{
    EntornoExportacion e(ArchivoIntercambio().Grupo("JORNADAS_ESCOLARES",
                                                    {{" J2 ", "Tarde"}, {"J1"}, {"J2", "Otra"}, {}, {"j1"}}));
    EXPECT_EQ(CodigosPlantilla(e.ctx.lectura), (std::vector<std::string>{"J2", "J1", "", "j1"}));
}

// The copy of the replaced tables on its own.
class Copias : public testing::Test {
  protected:
    void Carpetas(const std::vector<std::string>& nombres)
    {
        for (const std::string& nombre : nombres)
            fs::create_directories(copias / nombre);
    }
    std::vector<std::string> Nombres() const
    {
        std::vector<std::string> nombres;
        for (const auto& entrada : fs::directory_iterator(copias))
            nombres.push_back(entrada.path().filename().string());
        std::sort(nombres.begin(), nombres.end());
        return nombres;
    }

    pruebas::DirectorioTemporal trabajo;
    pruebas::DirectorioTemporal raiz;
    fs::path copias = raiz / "copias";
    // 2030-06-15 12:00:00 UTC; named in local time, so the name is not compared.
    std::chrono::system_clock::time_point momento = std::chrono::system_clock::from_time_t(1907755200);
};

TEST_F(Copias, SinTablasNoSeCreaNada)
{
    std::ofstream(trabajo / "SOLUC.DBF") << "x";
    const CopiaSeguridad copia = CopiarTablasReemplazadas(trabajo.Ruta(), copias, momento);
    EXPECT_TRUE(copia.carpeta.empty());
    EXPECT_EQ(copia.archivos, 0);
    EXPECT_FALSE(fs::exists(copias));
}

TEST_F(Copias, MismoSegundoDaOtraCarpeta)
{
    std::ofstream(trabajo / "PROFT.DBF") << "x";
    const CopiaSeguridad primera = CopiarTablasReemplazadas(trabajo.Ruta(), copias, momento);
    const CopiaSeguridad segunda = CopiarTablasReemplazadas(trabajo.Ruta(), copias, momento);
    EXPECT_EQ(segunda.carpeta.filename().string(), primera.carpeta.filename().string() + "_02");
    EXPECT_TRUE(fs::exists(primera.carpeta / "PROFT.DBF"));
    EXPECT_TRUE(fs::exists(segunda.carpeta / "PROFT.DBF"));
}

TEST_F(Copias, ConservaLasDiezUltimasYNadaMas)
{
    std::ofstream(trabajo / "PROFT.DBF") << "x";
    std::vector<std::string> viejas;
    for (int dia = 10; dia <= 21; ++dia)
        viejas.push_back("2020-01-" + std::to_string(dia) + "_08-00-00");
    Carpetas(viejas);
    Carpetas({"mis-notas", "2020-01-01_00-00-00-copia"});
    std::ofstream(copias / "2019-01-01_00-00-00") << "un archivo, no una copia";

    const CopiaSeguridad copia = CopiarTablasReemplazadas(trabajo.Ruta(), copias, momento);

    std::vector<std::string> esperadas(viejas.begin() + 3, viejas.end());
    esperadas.insert(esperadas.end(), {"2019-01-01_00-00-00", "2020-01-01_00-00-00-copia", "mis-notas",
                                       copia.carpeta.filename().string()});
    std::sort(esperadas.begin(), esperadas.end());
    EXPECT_EQ(Nombres(), esperadas);
}

TEST_F(Copias, LasDelMismoSegundoSeOrdenanPorSuNumero)
{
    std::ofstream(trabajo / "PROFT.DBF") << "x";
    Carpetas(
        {"2021-03-01_10-00-00", "2021-03-01_10-00-00_02", "2021-03-01_10-00-00_10", "2020-12-31_23-59-59"});
    const CopiaSeguridad copia = CopiarTablasReemplazadas(trabajo.Ruta(), copias, momento, 3);
    std::vector<std::string> esperadas = {"2021-03-01_10-00-00_02", "2021-03-01_10-00-00_10",
                                          copia.carpeta.filename().string()};
    std::sort(esperadas.begin(), esperadas.end());
    EXPECT_EQ(Nombres(), esperadas);
}

// An environment variable set for one test and restored after it.
class VariableEntorno {
  public:
    VariableEntorno(const char* nombre, const char* valor) : nombre_(nombre)
    {
        if (const char* anterior = std::getenv(nombre))
            anterior_ = anterior;
        if (valor)
            setenv(nombre, valor, 1);
        else
            unsetenv(nombre);
    }
    ~VariableEntorno()
    {
        if (anterior_)
            setenv(nombre_, anterior_->c_str(), 1);
        else
            unsetenv(nombre_);
    }

  private:
    const char* nombre_;
    std::optional<std::string> anterior_;
};

#ifdef _WIN32
TEST(CarpetaDeCopiasWindows, BajoLocalAppData)
{
    const VariableEntorno local("LOCALAPPDATA", "C:\\Users\\secretaria\\AppData\\Local");
    EXPECT_EQ(CarpetaCopias(), fs::path("C:\\Users\\secretaria\\AppData\\Local") / "Durlavex" / "copias");
}

TEST(CarpetaDeCopiasWindows, SinLocalAppDataNoSeTocaNada)
{
    const VariableEntorno local("LOCALAPPDATA", nullptr);
    EXPECT_THROW(CarpetaCopias(), Error);
}
#else
struct CasoCarpetaCopias {
    const char* nombre;
    const char* xdg;
    const char* esperada;
    friend void PrintTo(const CasoCarpetaCopias& c, std::ostream* os) { *os << c.nombre; }
};

class CarpetaDeCopias : public testing::TestWithParam<CasoCarpetaCopias> {};

TEST_P(CarpetaDeCopias, SegunXdgDataHome)
{
    const VariableEntorno home("HOME", "/home/secretaria");
    const VariableEntorno xdg("XDG_DATA_HOME", GetParam().xdg);
    EXPECT_EQ(CarpetaCopias(), fs::path(GetParam().esperada));
}

INSTANTIATE_TEST_SUITE_P(
    Exportacion, CarpetaDeCopias,
    testing::Values(CasoCarpetaCopias{"Definida", "/datos", "/datos/durlavex/copias"},
                    CasoCarpetaCopias{"SinDefinir", nullptr, "/home/secretaria/.local/share/durlavex/copias"},
                    CasoCarpetaCopias{"Vacia", "", "/home/secretaria/.local/share/durlavex/copias"},
                    CasoCarpetaCopias{"RelativaSeIgnora", "datos",
                                      "/home/secretaria/.local/share/durlavex/copias"}),
    [](const auto& info) { return std::string(info.param.nombre); });
#endif

} // namespace
} // namespace durlavex
