#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "export/contexto_exportacion.h"
#include "export/fixture_exportacion.h"
#include "platform/error.h"
#include "tables/esquemas.h"

namespace durlavex {
namespace {

using pruebas::Ansi;
using pruebas::ArchivoIntercambio;
using pruebas::EntornoExportacion;
using pruebas::Fila;
using pruebas::Filas;
using pruebas::Registro;

// A table of the working directory with the rows given (texts UTF-8).
void Escribir(const EntornoExportacion& e, const Esquema& esquema, const std::vector<std::string>& campos,
              const Filas& filas)
{
    auto tabla = CrearTabla(e.trabajo.Ruta(), esquema);
    tabla->Abrir();
    for (const Fila& fila : filas) {
        tabla->Agregar();
        for (std::size_t i = 0; i < campos.size(); ++i)
            tabla->FijarTexto(campos[i], VistaAnsi(Ansi(fila[i])));
        tabla->Grabar();
    }
    tabla->Cerrar();
}

// What the earlier steps left: subjects in ASIGNOMT, groups in GRUPOST.
void Escuela(const EntornoExportacion& e, const Filas& asignaturas, const Filas& grupos)
{
    Escribir(e, esquemas::ASIGNOMT, {"COD", "NOMBRE"}, asignaturas);
    Escribir(e, esquemas::GRUPOST, {"ABREV", "NIVEL", "CURSO", "GRUPO", "CLAVECURSO"}, grupos);
}

const Filas kGruposEjemplo = {
    {"1ºESOA", "ESO", "1", "A", "101"},
    {"N2A", "Niv", "2", "A", "202"},
    {"1ºESOA1", "ESO", "1", "A", "101"},
};

ArchivoIntercambio Materias(const std::vector<Registro>& registros)
{
    return ArchivoIntercambio().Grupo("MATERIAS", registros);
}

// HORAS as the number it is.
std::vector<double> Horas(const EntornoExportacion& e)
{
    Tabla asigt(e.trabajo.Ruta(), "ASIGT");
    asigt.Abrir();
    std::vector<double> horas;
    for (asigt.Primero(); !asigt.Fin(); asigt.Siguiente())
        horas.push_back(asigt.LeerFlotante("HORAS"));
    return horas;
}

TEST(ExportarAsignaciones, EjemploCompleto)
{
    EntornoExportacion e(Materias({{"101", "77", "matemáticas", "MAT", "270"}}));
    Escuela(e, {{"MAT", "Matemáticas"}}, kGruposEjemplo);

    ExportarAsignaciones(e.ctx);

    EXPECT_EQ(e.Leer("ASIGT", {"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL", "CURSO", "GRUPO",
                               "SESIONES", "NCONEX", "CLAVE", "CLAVECURSO", "CTAREA"}),
              Ansi(Filas{
                  {"MAT", "", "1ºESOA", "", "", "ESO", "1", "A", "11111", "", "77", "101", ""},
                  {"MAT", "", "1ºESOA1", "", "", "ESO", "1", "A", "11111", "", "77", "101", ""},
              }));
    EXPECT_EQ(Horas(e), (std::vector<double>{5, 5}));
    EXPECT_FALSE(e.ctx.tablas.wwTableNomAsg.Abierta());
    EXPECT_FALSE(e.ctx.tablas.wwTableGrupos.Abierta());
}

// A subject's time in minutes (datum 4) and what one group's row gets.
struct CasoHoras {
    const char* nombre;
    Registro materia;
    double horas;
    std::string sesiones;
    friend void PrintTo(const CasoHoras& c, std::ostream* os) { *os << c.nombre; }
};

const CasoHoras kCasosHoras[] = {
    {"VacioSonCuatro", {"101", "M", "Lengua", "L", ""}, 4, "1111"},
    {"SoloBlancosSonCuatro", {"101", "M", "Lengua", "L", "   "}, 4, "1111"},
    {"FaltaElDatoSonCuatro", {"101", "M", "Lengua"}, 4, "1111"},
    {"Sesenta", {"101", "M", "Lengua", "L", "60"}, 1, "1"},
    {"SesentaYUnoRedondeaArriba", {"101", "M", "Lengua", "L", "61"}, 2, "11"},
    {"DoscientosSetenta", {"101", "M", "Lengua", "L", "270"}, 5, "11111"},
    {"CeroEsUna", {"101", "M", "Lengua", "L", "0"}, 1, "1"},
    {"NegativoEsUna", {"101", "M", "Lengua", "L", "-30"}, 1, "1"},
    {"MuyNegativoEsUna", {"101", "M", "Lengua", "L", "-600"}, 1, "1"},
    {"Trece", {"101", "M", "Lengua", "L", "780"}, 13, "1111111111111"},
    {"Catorce", {"101", "M", "Lengua", "L", "840"}, 14, "11111111111111"},
    {"Quince", {"101", "M", "Lengua", "L", "900"}, 15, "21111111111111"},
    {"Dieciseis", {"101", "M", "Lengua", "L", "960"}, 16, "31111111111111"},
    {"CientoDiez", {"101", "M", "Lengua", "L", "6600"}, 110, "971111111111111"},
    {"MayorEnteroSeCortaAVeinte",
     {"101", "M", "Lengua", "L", "2147483647"},
     35791395,
     "35791382111111111111"},
};

class HorasYSesiones : public testing::TestWithParam<CasoHoras> {};

TEST_P(HorasYSesiones, DeLosMinutos)
{
    const CasoHoras& c = GetParam();
    EntornoExportacion e(Materias({c.materia}));
    Escuela(e, {{"LEN", "Lengua"}}, {{"1A", "ESO", "1", "A", "101"}});
    ExportarAsignaciones(e.ctx);
    EXPECT_EQ(Horas(e), (std::vector<double>{c.horas}));
    EXPECT_EQ(e.Columna("ASIGT", "SESIONES"), (std::vector<std::string>{c.sesiones}));
}

INSTANTIATE_TEST_SUITE_P(Materias, HorasYSesiones, testing::ValuesIn(kCasosHoras),
                         [](const auto& info) { return std::string(info.param.nombre); });

// Subject records against one school, and the (CASIG, CGRUP) of every row.
struct CasoBusqueda {
    const char* nombre;
    Filas asignaturas; // COD, NOMBRE
    std::vector<Registro> materias;
    Filas filas;
    friend void PrintTo(const CasoBusqueda& c, std::ostream* os) { *os << c.nombre; }
};

const std::string kNombreLargo(85, 'x');

const CasoBusqueda kCasosBusqueda[] = {
    {"MayusculasAsciiYBlancosDeLosExtremosNoCuentan",
     {{"MAT", "  Matematicas "}},
     {{"101", "1", "MATEMATICAS"}, {"101", "2", "matematicas  "}},
     {{"MAT", "1ºESOA"}, {"MAT", "1ºESOA1"}, {"MAT", "1ºESOA"}, {"MAT", "1ºESOA1"}}},
    {"LetraAcentuadaNoSePasaAMayuscula", {{"MAT", "Matemáticas"}}, {{"101", "1", "MATEMÁTICAS"}}, {}},
    {"NombreDeMasDeOchentaEncuentraSusOchenta",
     {{"LARGO", kNombreLargo}},
     {{"101", "1", kNombreLargo + "yyyyy"}},
     {{"LARGO", "1ºESOA"}, {"LARGO", "1ºESOA1"}}},
    {"PrimeraFilaDelNombre",
     {{"MAT", "Matemáticas"}, {"MAT2", "Matemáticas"}},
     {{"202", "1", "Matemáticas"}},
     {{"MAT", "N2A"}}},
    {"PrimeraFilaConCodigoEnBlancoNoDaFilas",
     {{"", "Tutoría"}, {"TUT", "Tutoría"}},
     {{"101", "1", "Tutoría"}},
     {}},
    {"MateriaQueNoEstaNoDaFilas", {{"MAT", "Matemáticas"}}, {{"101", "1", "Física"}}, {}},
    {"CursoSinGruposNoDaFilas", {{"MAT", "Matemáticas"}}, {{"303", "1", "Matemáticas"}}, {}},
    {"ClaveDeCursoConBlancosSeRecorta",
     {{"MAT", "Matemáticas"}},
     {{" 101\n", "1", "Matemáticas"}},
     {{"MAT", "1ºESOA"}, {"MAT", "1ºESOA1"}}},
    {"RegistroDeUnDatoSeOmite",
     {{"MAT", "Matemáticas"}},
     {{"101"}, {"202", "1", "Matemáticas"}},
     {{"MAT", "N2A"}}},
    {"PorMateriaYDentroPorGrupo",
     {{"MAT", "Matemáticas"}, {"LEN", "Lengua"}},
     {{"202", "1", "Lengua"}, {"101", "2", "Matemáticas"}},
     {{"LEN", "N2A"}, {"MAT", "1ºESOA"}, {"MAT", "1ºESOA1"}}},
};

class BusquedaAsignaturaGrupo : public testing::TestWithParam<CasoBusqueda> {};

TEST_P(BusquedaAsignaturaGrupo, FilasDeAsigt)
{
    const CasoBusqueda& c = GetParam();
    EntornoExportacion e(Materias(c.materias));
    Escuela(e, c.asignaturas, kGruposEjemplo);
    ExportarAsignaciones(e.ctx);
    EXPECT_EQ(e.Leer("ASIGT", {"CASIG", "CGRUP"}), Ansi(c.filas));
}

INSTANTIATE_TEST_SUITE_P(Materias, BusquedaAsignaturaGrupo, testing::ValuesIn(kCasosBusqueda),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(ExportarAsignaciones, CadaFilaLlevaLaTareaDeDocencia)
{
    EntornoExportacion e(Materias({{"101", "1", "Matemáticas"}, {"202", "2", "Matemáticas"}}));
    Escuela(e, {{"MAT", "Matemáticas"}}, kGruposEjemplo);
    e.ctx.TareaDocencia = "513";
    ExportarAsignaciones(e.ctx);
    EXPECT_EQ(e.Columna("ASIGT", "CTAREA"), (std::vector<std::string>{"513", "513", "513"}));
    e.ctx.TareaDocencia = "1";
    ExportarAsignaciones(e.ctx);
    EXPECT_EQ(e.Columna("ASIGT", "CTAREA"), (std::vector<std::string>{"1", "1", "1"}));
}

TEST(ExportarAsignaciones, TiempoQueNoEsNumeroSoloDetieneSiHayFilaQueEscribir)
{
    EntornoExportacion e(Materias({{"101", "1", "Matemáticas", "M", "240"},
                                   {"303", "2", "Matemáticas", "M", "no"},
                                   {"101", "3", "Física", "F", "tampoco"},
                                   {"202", "4", "Matemáticas", "M", "4h"},
                                   {"101", "5", "Matemáticas", "M", "60"}}));
    Escuela(e, {{"MAT", "Matemáticas"}}, kGruposEjemplo);
    EXPECT_THAT(
        [&] { ExportarAsignaciones(e.ctx); },
        testing::ThrowsMessage<ErrorConversion>(testing::StrEq(
            "'4h' no es un valor entero válido (MATERIAS, registro 4, dato en la posición 4, línea 2).")));
    EXPECT_EQ(e.Columna("ASIGT", "CLAVE"), (std::vector<std::string>{"1", "1"}));
}

TEST(ExportarAsignaciones, SinMateriasAsigtExisteVacia)
{
    EntornoExportacion e;
    Escuela(e, {{"MAT", "Matemáticas"}}, kGruposEjemplo);
    Escribir(e, esquemas::ASIGT, {"CASIG"}, {{"VIEJA"}});
    ExportarAsignaciones(e.ctx);
    EXPECT_TRUE(e.Leer("ASIGT", {"CASIG"}).empty());
}

} // namespace
} // namespace durlavex
