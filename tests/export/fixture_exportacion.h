#pragma once
// A stand-alone export run for tests: a temporary working directory, a
// temporary program folder, a scripted person, and an exchange file built in
// code and loaded into the run's reader.
//
//   EntornoExportacion e(ArchivoIntercambio().Grupo("MATERIAS", {...}));
//   ExportarMaterias(e.ctx);
//   EXPECT_EQ(e.Leer("ASIGNOMT", {"COD", "NOMBRE"}), (Filas{{"LCL", "Lengua"}}));
//
// Texts given to ArchivoIntercambio are UTF-8; tables hold single-byte ANSI
// text, so a test that compares accented texts converts with Ansi() below.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "comun/directorio_temporal.h"
#include "comun/interaccion_guionada.h"
#include "comun/intercambio.h"
#include "export/contexto_exportacion.h"
#include "platform/texto.h"
#include "tables/tabla.h"

namespace durlavex::pruebas {

using Fila = std::vector<std::string>;
using Filas = std::vector<Fila>;

// UTF-8 test text in the tables' single-byte code page.
inline std::string Ansi(std::string_view utf8)
{
    return Utf8AAnsi(utf8).Bytes();
}
inline std::vector<std::string> Ansi(std::vector<std::string> textos)
{
    for (auto& texto : textos)
        texto = Utf8AAnsi(texto).Bytes();
    return textos;
}
inline Filas Ansi(Filas filas)
{
    for (auto& fila : filas)
        fila = Ansi(std::move(fila));
    return filas;
}

// Every row of a table, in table order, as the texts of the fields named.
inline Filas LeerFilas(const std::filesystem::path& directorio, const std::string& tabla,
                       const std::vector<std::string>& campos)
{
    Tabla t(directorio, tabla);
    t.Abrir();
    Filas filas;
    for (t.Primero(); !t.Fin(); t.Siguiente()) {
        Fila fila;
        for (const auto& campo : campos)
            fila.push_back(t.LeerTexto(campo).Bytes());
        filas.push_back(std::move(fila));
    }
    t.Cerrar();
    return filas;
}

// One column of a table, in table order.
inline std::vector<std::string> LeerColumna(const std::filesystem::path& directorio, const std::string& tabla,
                                            const std::string& campo)
{
    std::vector<std::string> columna;
    for (auto& fila : LeerFilas(directorio, tabla, {campo}))
        columna.push_back(std::move(fila[0]));
    return columna;
}

// The run's folders and state. The exchange file lies in a folder of its own,
// so the working directory holds only what the steps write.
class EntornoExportacion {
  public:
    explicit EntornoExportacion(const ArchivoIntercambio& archivo = ArchivoIntercambio(),
                                std::string plantilla = "")
        : ctx(trabajo.Ruta(), programa.Ruta(), origen / "vorna.xml", interaccion)
    {
        interaccion.plantilla = std::move(plantilla);
        Cargar(archivo);
    }

    // Writes the exchange file again and loads it into the run's reader.
    void Cargar(const ArchivoIntercambio& archivo)
    {
        archivo.Guardar(ctx.ArchivoXML);
        ctx.lectura.CargarDocumento(ctx.ArchivoXML);
    }

    pruebas::Filas Leer(const std::string& tabla, const std::vector<std::string>& campos) const
    {
        return LeerFilas(trabajo.Ruta(), tabla, campos);
    }
    std::vector<std::string> Columna(const std::string& tabla, const std::string& campo) const
    {
        return LeerColumna(trabajo.Ruta(), tabla, campo);
    }
    bool Existe(const std::string& archivo) const
    {
        return std::filesystem::exists(trabajo.Ruta() / archivo);
    }

    DirectorioTemporal trabajo;  // Talvorin's working directory
    DirectorioTemporal programa; // the program folder (NIVELCAN.DBF lies here)
    DirectorioTemporal origen;   // where the exchange file is written
    InteraccionGuionada interaccion;
    ContextoExportacion ctx;
};

} // namespace durlavex::pruebas
