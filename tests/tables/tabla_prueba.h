#pragma once
// Small tables built in code for the table store's tests.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/error.h"
#include "tables/tabla.h"

namespace durlavex::pruebas {

using FilasTexto = std::vector<std::vector<std::string>>;

// Writes NAME.DBF in the folder with these fields and rows, every value set
// as text through a handle (numbers as their digits).
inline void CrearTablaConFilas(const std::filesystem::path& carpeta, const std::string& nombre,
                               const std::vector<DefinicionCampo>& campos, const FilasTexto& filas)
{
    Tabla tabla(carpeta, nombre);
    tabla.DefinirCampos(campos);
    tabla.Crear();
    tabla.Abrir();
    for (const auto& fila : filas) {
        tabla.Agregar();
        for (std::size_t i = 0; i < fila.size(); ++i)
            tabla.FijarTexto(campos[i].nombre, VistaAnsi(fila[i]));
        tabla.Grabar();
    }
    tabla.Cerrar();
}

// One field of every row shown, from the first, in the handle's order.
inline std::vector<std::string> Columna(Tabla& tabla, const std::string& campo)
{
    std::vector<std::string> valores;
    for (tabla.Primero(); !tabla.Fin(); tabla.Siguiente())
        valores.push_back(tabla.LeerTexto(campo).Bytes());
    return valores;
}

using Textos = std::vector<std::string>;

// The text of the Error the call raises; "(sin error)" when it raises none.
template <class Llamada> std::string MensajeDeError(Llamada&& llamada)
{
    try {
        llamada();
    } catch (const Error& e) {
        return e.what();
    }
    return "(sin error)";
}

} // namespace durlavex::pruebas
