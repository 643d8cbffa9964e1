// libFuzzer entry for the dBase engine: any bytes decoded as a table, every
// value read and written back, and the same bytes read as an index file.
// Broken input must end in durlavex::Error, never in a crash or a stray read.

#include "platform/dbf/archivo_dbf.h"
#include "platform/dbf/indice_mdx.h"
#include "platform/error.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using durlavex::Error;
using durlavex::dbf::ArchivoDbf;

void LeerYEscribirTabla(std::span<const std::uint8_t> bytes)
{
    const auto tabla = ArchivoDbf::Decodificar(bytes, "fuzz.dbf");
    std::string vacio = tabla->RegistroVacio();
    for (std::size_t fila = 0; fila < tabla->NumRegistros(); ++fila) {
        tabla->Borrado(fila);
        std::string registro = tabla->Registro(fila);
        for (std::size_t campo = 0; campo < tabla->Campos().size(); ++campo) {
            const std::string texto = tabla->Texto(fila, campo);
            try {
                if (const auto numero = tabla->Numero(fila, campo))
                    tabla->PonerNumero(registro, campo, *numero);
            } catch (const Error&) {
            }
            try {
                tabla->Logico(fila, campo);
                tabla->PonerTexto(vacio, campo, texto);
            } catch (const Error&) {
            }
        }
        tabla->Reemplazar(fila, registro);
    }
    tabla->Agregar(vacio);
    for (const auto& indice : tabla->Indices())
        tabla->OrdenIndice(indice.etiqueta);
}

void RecorrerIndice(std::span<const std::uint8_t> bytes)
{
    for (const auto& etiqueta : durlavex::dbf::LeerEtiquetasMdx(bytes, "fuzz.mdx"))
        durlavex::dbf::RecorrerEtiquetaMdx(bytes, etiqueta.nombre, "fuzz.mdx");
}

} // namespace

// Nothing to set up; every target has both entry points, so that the seed
// replay (repetir_semillas.cpp) calls them alike.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    const std::span<const std::uint8_t> bytes(datos, tamano);
    try {
        LeerYEscribirTabla(bytes);
    } catch (const Error&) {
    }
    try {
        RecorrerIndice(bytes);
    } catch (const Error&) {
    }
    return 0;
}
