#include "platform/dbf/estructura.h"

#include "platform/comillas.h"
#include "platform/dbf/cursor_bytes.h"
#include "platform/error.h"
#include "platform/texto.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <set>

namespace durlavex::dbf {
namespace {

// The language driver of our tables: Spanish ANSI (code page 1252).
constexpr std::string_view kControladorIdioma = "DBWINES0";
constexpr std::size_t kCabeceraNivel7 = 68;
constexpr std::size_t kDescriptorNivel7 = 48;
constexpr std::size_t kCabeceraClasica = 32;
constexpr std::size_t kDescriptorClasico = 32;
constexpr std::uint8_t kTerminadorCampos = 0x0D;

[[noreturn]] void Invalida(const std::string& nombre, const std::string& regla)
{
    throw Error("La tabla " + Entre(nombre) + " no es válida: " + regla);
}

std::string Hex(std::uint8_t b)
{
    char texto[8];
    std::snprintf(texto, sizeof texto, "0x%02X", b);
    return texto;
}

// The format from the version byte. 0x03 and 0x83 are shared by dBase III and
// IV; dBase IV writes a language driver id at byte 29, dBase III leaves it 0.
std::optional<Version> VersionDeByte(std::uint8_t b, std::uint8_t idIdioma)
{
    switch (b) {
    case 0x30:
    case 0x31:
    case 0x32:
        return Version::VisualFoxPro;
    case 0xF5:
    case 0xFB:
        return Version::FoxPro;
    case 0x03:
    case 0x83:
        return idIdioma != 0 ? Version::DBase4 : Version::DBase3;
    default:
        break;
    }
    if ((b & 7) == 4)
        return Version::DBase7;
    if ((b & 7) == 3)
        return Version::DBase4;
    return std::nullopt;
}

Campo LeerDescriptor(LectorBytes& lector, bool nivel7)
{
    Campo campo;
    if (nivel7) {
        campo.nombre = lector.TextoFijo(32);
        campo.tipo = static_cast<char>(lector.U8());
        campo.ancho = lector.U8();
        campo.decimales = lector.U8();
        lector.Saltar(2);
        campo.indiceProduccion = lector.U8() == 0x01;
        lector.Saltar(10);
        return campo;
    }
    campo.nombre = lector.TextoFijo(11);
    campo.tipo = static_cast<char>(lector.U8());
    lector.Saltar(4);
    const std::uint8_t ancho = lector.U8();
    const std::uint8_t decimales = lector.U8();
    lector.Saltar(13);
    campo.indiceProduccion = lector.U8() == 0x01;
    if (campo.tipo == 'C') {
        // FoxPro and Clipper keep the high byte of a long text width in the decimals byte.
        campo.ancho = static_cast<std::uint16_t>(ancho + 256 * decimales);
    } else {
        campo.ancho = ancho;
        campo.decimales = decimales;
    }
    return campo;
}

} // namespace

Estructura LeerEstructura(std::span<const std::uint8_t> bytes, const std::string& nombre)
{
    if (bytes.size() < kCabeceraClasica)
        Invalida(nombre, "ocupa " + std::to_string(bytes.size()) +
                             " bytes y la cabecera de una tabla dBase ocupa al menos 32");
    LectorBytes lector(bytes);
    Estructura e;
    e.byteVersion = lector.U8();
    lector.Saltar(3);
    e.numRegistros = lector.U32();
    e.longitudCabecera = lector.U16();
    e.longitudRegistro = lector.U16();
    lector.Posicionar(kPosIndiceProduccion);
    e.indiceProduccion = lector.U8() == 0x01;
    const std::uint8_t idIdioma = lector.U8();

    const auto version = VersionDeByte(e.byteVersion, idIdioma);
    if (!version)
        Invalida(nombre, "el byte de versión " + Hex(e.byteVersion) +
                             " no corresponde a ninguna tabla dBase III, IV, de nivel 7 ni FoxPro");
    e.version = *version;
    // FoxPro uses byte 28 for other flags (structural .CDX, memo, database).
    if (e.version == Version::FoxPro || e.version == Version::VisualFoxPro || e.version == Version::DBase3)
        e.indiceProduccion = false;

    if (e.longitudCabecera > bytes.size())
        Invalida(nombre, "la cabecera dice ocupar " + std::to_string(e.longitudCabecera) +
                             " bytes y el archivo solo tiene " + std::to_string(bytes.size()));

    const bool nivel7 = e.version == Version::DBase7;
    const std::size_t inicio = nivel7 ? kCabeceraNivel7 : kCabeceraClasica;
    const std::size_t tamanoDescriptor = nivel7 ? kDescriptorNivel7 : kDescriptorClasico;
    LectorBytes cabecera(bytes.first(e.longitudCabecera));
    std::size_t posicion = inicio;
    for (;;) {
        if (posicion >= e.longitudCabecera)
            Invalida(nombre, "la lista de campos no termina con el byte 0x0D dentro de la cabecera (" +
                                 std::to_string(e.longitudCabecera) + " bytes)");
        if (bytes[posicion] == kTerminadorCampos)
            break;
        if (posicion + tamanoDescriptor > e.longitudCabecera)
            Invalida(nombre, "la descripción del campo " + std::to_string(e.campos.size() + 1) +
                                 " no cabe en la cabecera (" + std::to_string(e.longitudCabecera) +
                                 " bytes)");
        cabecera.Posicionar(posicion);
        e.campos.push_back(LeerDescriptor(cabecera, nivel7));
        posicion += tamanoDescriptor;
    }
    if (e.campos.empty())
        Invalida(nombre, "no tiene ningún campo");

    std::size_t suma = 1;
    for (Campo& campo : e.campos) {
        campo.desplazamiento = suma;
        suma += campo.ancho;
    }
    if (suma != e.longitudRegistro)
        Invalida(nombre, "la longitud de registro de la cabecera (" + std::to_string(e.longitudRegistro) +
                             " bytes) no es 1 más la suma de los anchos de sus campos (" +
                             std::to_string(suma) + " bytes)");

    const std::uint64_t datos = bytes.size() - e.longitudCabecera;
    if (static_cast<std::uint64_t>(e.numRegistros) * e.longitudRegistro > datos)
        Invalida(nombre, "la cabecera anuncia " + std::to_string(e.numRegistros) +
                             (e.numRegistros == 1 ? " registro de " : " registros de ") +
                             std::to_string(e.longitudRegistro) + " bytes, pero tras la cabecera solo hay " +
                             std::to_string(datos) + " bytes");
    return e;
}

Fecha FechaDeHoy()
{
    const std::time_t ahora = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &ahora);
#else
    localtime_r(&ahora, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void PonerFechaCabecera(std::span<std::uint8_t> cabecera, Version version, const Fecha& fecha)
{
    const bool foxPro = version == Version::FoxPro || version == Version::VisualFoxPro;
    const int anio = foxPro ? fecha.anio % 100 : fecha.anio - 1900;
    cabecera[kPosFecha] = static_cast<std::uint8_t>(anio < 0 ? 0 : anio > 255 ? 255 : anio);
    cabecera[kPosFecha + 1] = static_cast<std::uint8_t>(fecha.mes);
    cabecera[kPosFecha + 2] = static_cast<std::uint8_t>(fecha.dia);
}

std::vector<Campo> ComprobarCamposNuevos(const std::vector<Campo>& campos, const std::vector<Indice>& indices,
                                         const std::string& tabla)
{
    auto invalido = [&](const Campo& c, const std::string& regla) {
        throw Error("No se puede crear la tabla " + Entre(tabla) + ": el campo " + EntreAnsi(c.nombre) + " " +
                    regla);
    };
    if (campos.empty())
        throw Error("No se puede crear la tabla " + Entre(tabla) + ": no tiene ningún campo");
    std::vector<Campo> resultado;
    std::set<std::string> nombres;
    std::size_t desplazamiento = 1;
    for (Campo campo : campos) {
        if (campo.nombre.empty() || campo.nombre.size() > 31)
            invalido(campo, "debe tener un nombre de 1 a 31 caracteres");
        if (campo.nombre.find('\0') != std::string::npos)
            invalido(campo, "tiene un carácter nulo en el nombre");
        if (!nombres.insert(MayusculasAscii(campo.nombre)).second)
            invalido(campo, "está repetido");
        switch (campo.tipo) {
        case 'C':
            if (campo.ancho < 1 || campo.ancho > 254)
                invalido(campo, "de texto debe tener un ancho de 1 a 254 caracteres");
            campo.decimales = 0;
            break;
        case 'L':
            campo.ancho = 1;
            campo.decimales = 0;
            break;
        case 'N':
            if (campo.ancho < 1 || campo.ancho > 20 ||
                (campo.decimales > 0 && campo.decimales + 2 > campo.ancho))
                invalido(campo,
                         "numérico debe tener de 1 a 20 posiciones y sitio para el signo y el punto decimal");
            break;
        default:
            invalido(campo, std::string("es de un tipo que no se escribe ('") + campo.tipo + "')");
        }
        campo.indiceProduccion = false;
        for (const Indice& indice : indices)
            if (MayusculasAscii(indice.campo) == MayusculasAscii(campo.nombre))
                campo.indiceProduccion = true;
        campo.desplazamiento = desplazamiento;
        desplazamiento += campo.ancho;
        resultado.push_back(campo);
    }
    if (desplazamiento > 0xFFFF)
        throw Error("No se puede crear la tabla " + Entre(tabla) + ": sus registros superan los 65535 bytes");
    for (const Indice& indice : indices) {
        const auto campo = std::find_if(resultado.begin(), resultado.end(), [&](const Campo& c) {
            return MayusculasAscii(c.nombre) == MayusculasAscii(indice.campo);
        });
        if (campo == resultado.end())
            throw Error("No se puede crear la tabla " + Entre(tabla) + ": el índice " +
                        EntreAnsi(indice.etiqueta) + " se refiere al campo " + EntreAnsi(indice.campo) +
                        ", que la tabla no tiene");
        if (campo->tipo != 'N')
            throw Error("No se puede crear la tabla " + Entre(tabla) + ": el índice " +
                        EntreAnsi(indice.etiqueta) + " solo puede ir sobre un campo numérico y " +
                        EntreAnsi(indice.campo) + " no lo es");
        if (indice.etiqueta.empty() || indice.etiqueta.size() > 32)
            throw Error("No se puede crear la tabla " + Entre(tabla) + ": el índice " +
                        EntreAnsi(indice.etiqueta) + " debe tener un nombre de 1 a 32 caracteres");
    }
    return resultado;
}

std::vector<std::uint8_t> TablaNivel7Vacia(const std::vector<Campo>& campos,
                                           const std::vector<Indice>& indices, const Fecha& fecha)
{
    std::size_t longitudRegistro = 1;
    for (const Campo& campo : campos)
        longitudRegistro += campo.ancho;
    const std::size_t longitudCabecera = kCabeceraNivel7 + kDescriptorNivel7 * campos.size() + 1;

    std::vector<std::uint8_t> bytes;
    EscritorBytes w(bytes);
    w.U8(0x04); // level 7, no memo
    w.Ceros(3); // date, set below
    w.U32(0);   // no records
    w.U16(static_cast<std::uint16_t>(longitudCabecera));
    w.U16(static_cast<std::uint16_t>(longitudRegistro));
    w.Ceros(16);                         // reserved, transaction, encryption, multi-user
    w.U8(indices.empty() ? 0x00 : 0x01); // production .MDX present
    w.U8(0x00);                          // level 7 names its language driver below instead
    w.Ceros(2);
    w.TextoFijo(kControladorIdioma, 32);
    w.Ceros(4);
    for (const Campo& campo : campos) {
        w.TextoFijo(campo.nombre, 32);
        w.U8(static_cast<std::uint8_t>(campo.tipo));
        w.U8(static_cast<std::uint8_t>(campo.ancho));
        w.U8(campo.decimales);
        w.Ceros(2);
        w.U8(campo.indiceProduccion ? 0x01 : 0x00);
        w.Ceros(10); // reserved and the (unused) autoincrement value
    }
    w.U8(kTerminadorCampos);
    w.U8(kFinDeArchivo);
    PonerFechaCabecera(bytes, Version::DBase7, fecha);
    return bytes;
}

} // namespace durlavex::dbf
