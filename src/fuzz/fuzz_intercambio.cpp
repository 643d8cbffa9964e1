// libFuzzer entry for the exchange reader: any bytes loaded as an exchange
// document, then read the way the export and the import read it: the academic
// year, every data group they select, every record opened and every datum read
// by position, one past the end and a negative position included.
// Broken input must end in durlavex::Error, never in a crash or a stray read.

#include "exchange/lectura.h"
#include "platform/error.h"
#include "platform/xml/documento.h"

#include <libxml/xmlerror.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

using durlavex::Error;

// The data groups the export steps and the import select.
constexpr std::array<std::string_view, 9> kGrupos = {
    "ANNO_ACADEMICO", "MATERIAS",    "CURSOS_DEL_CENTRO",  "UNIDADES",       "EMPLEADOS",
    "DEPENDENCIAS",   "ACTIVIDADES", "JORNADAS_ESCOLARES", "TRAMOS_HORARIOS"};

void LeerTodo(const std::shared_ptr<durlavex::DocumentoXml>& documento)
{
    try {
        durlavex::LeerAnnoAcademico(*documento);
    } catch (const Error&) {
    }
    durlavex::LecturaIntercambio lectura;
    lectura.UsarDocumento(documento);
    for (const auto grupo : kGrupos) {
        const int registros = lectura.SeleccionarGrupo(grupo);
        for (int i = 0; i < registros; ++i) {
            const int datos = lectura.AbrirRegistro(i);
            for (int p = -1; p <= datos; ++p) {
                lectura.LeerDato(p);
                lectura.LeerDatoSinRecortar(p);
            }
        }
        // A record past the end is refused, and reading after the refusal
        // finds nothing.
        try {
            lectura.AbrirRegistro(registros);
        } catch (const Error&) {
        }
        lectura.LeerDato(0);
    }
}

} // namespace

// libxml2's messages that bypass the parser context (encoding errors) would
// fill the fuzzer's log and slow it down.
static void Callar(void*, const char*, ...) {}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    xmlSetGenericErrorFunc(nullptr, &Callar);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    const std::string_view bytes(reinterpret_cast<const char*>(datos), tamano);
    try {
        std::shared_ptr<durlavex::DocumentoXml> documento =
            durlavex::DocumentoXml::CargarMemoria(bytes, "fuzz.xml");
        LeerTodo(documento);
    } catch (const Error&) {
    }
    return 0;
}
