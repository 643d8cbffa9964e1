// A line-preserving ini editor with WritePrivateProfileString's rules: the
// section and the key are found without regard to ASCII letter case and to the
// blanks around them, only the key's line is rewritten (as "key=value" CR LF,
// the key keeping the spelling it has in the file), a missing key goes after
// the last key line of its section, a missing section is appended at the end.
// Every other byte of the file stays as it was.
//
// The new contents are written to a temporary file in the same folder and
// renamed over the old one, so a failure part way leaves the old file whole.

#include "platform/ini.h"

#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace durlavex {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
// The editor itself; on Windows the system's own WritePrivateProfileStringA
// does the same.

std::string_view QuitarEspacios(std::string_view texto)
{
    while (!texto.empty() && (texto.front() == ' ' || texto.front() == '\t'))
        texto.remove_prefix(1);
    while (!texto.empty() && (texto.back() == ' ' || texto.back() == '\t'))
        texto.remove_suffix(1);
    return texto;
}

bool MismoNombre(std::string_view a, std::string_view b)
{
    return MinusculasAscii(QuitarEspacios(a)) == MinusculasAscii(QuitarEspacios(b));
}

// One line of the file: where it starts, how long its text is (without CR LF)
// and whether a line end follows it.
struct Linea {
    size_t inicio;
    size_t longitud;
    size_t fin; // one past its line end
    bool terminada;
};

std::vector<Linea> PartirEnLineas(const std::string& contenido)
{
    std::vector<Linea> lineas;
    size_t inicio = 0;
    while (inicio < contenido.size()) {
        size_t lf = contenido.find('\n', inicio);
        bool terminada = lf != std::string::npos;
        size_t finTexto = terminada ? lf : contenido.size();
        size_t longitud = finTexto - inicio;
        if (longitud > 0 && contenido[finTexto - 1] == '\r')
            --longitud;
        lineas.push_back({inicio, longitud, terminada ? lf + 1 : contenido.size(), terminada});
        inicio = terminada ? lf + 1 : contenido.size();
    }
    return lineas;
}

enum class TipoLinea { Vacia, Comentario, Seccion, Clave };

struct LineaLeida {
    TipoLinea tipo;
    std::string_view nombre; // of the section or the key
};

LineaLeida Clasificar(std::string_view texto)
{
    std::string_view resto = QuitarEspacios(texto);
    if (resto.empty())
        return {TipoLinea::Vacia, {}};
    if (resto.front() == ';')
        return {TipoLinea::Comentario, {}};
    if (resto.front() == '[') {
        resto.remove_prefix(1);
        return {TipoLinea::Seccion, QuitarEspacios(resto.substr(0, resto.find(']')))};
    }
    return {TipoLinea::Clave, QuitarEspacios(resto.substr(0, resto.find('=')))};
}

// The contents after setting the key; `contenido` is the file as it stands.
std::string ConClaveEscrita(const std::string& contenido, std::string_view seccion, std::string_view clave,
                            std::string_view valor)
{
    const std::vector<Linea> lineas = PartirEnLineas(contenido);
    std::optional<size_t> cabecera; // the section's header line
    std::optional<size_t> ultimaClave;
    for (size_t i = 0; i < lineas.size(); ++i) {
        LineaLeida leida =
            Clasificar(std::string_view(contenido).substr(lineas[i].inicio, lineas[i].longitud));
        if (leida.tipo == TipoLinea::Seccion) {
            if (cabecera)
                break; // the first section of that name is the one written
            if (MismoNombre(leida.nombre, seccion))
                cabecera = i;
            continue;
        }
        if (!cabecera || leida.tipo != TipoLinea::Clave)
            continue;
        if (MismoNombre(leida.nombre, clave)) {
            const Linea& l = lineas[i];
            return contenido.substr(0, l.inicio) + std::string(leida.nombre) + "=" + std::string(valor) +
                   "\r\n" + contenido.substr(l.fin);
        }
        ultimaClave = i;
    }

    const std::string nueva = std::string(clave) + "=" + std::string(valor) + "\r\n";
    if (cabecera) {
        const Linea& l = lineas[ultimaClave.value_or(*cabecera)];
        // A last line without a line end gets one, so the new key starts a line.
        return contenido.substr(0, l.fin) + (l.terminada ? "" : "\r\n") + nueva + contenido.substr(l.fin);
    }
    std::string resultado = contenido;
    if (!resultado.empty() && resultado.back() != '\n')
        resultado += "\r\n";
    return resultado + "[" + std::string(seccion) + "]\r\n" + nueva;
}

#endif

[[noreturn]] void NoSePuedeEscribir(const fs::path& ruta)
{
    throw Error("Unable to write to " + TextoRuta(ruta));
}

#ifndef _WIN32
// Writes `contenido` whole into a fresh file beside `ruta` and renames it over
// `ruta`; the old file keeps its permission bits through the change.
bool ReemplazarArchivo(const fs::path& ruta, const std::string& contenido, std::optional<fs::perms> permisos)
{
    std::string plantilla = (ruta.parent_path() / ("." + ruta.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(plantilla.data());
    if (fd < 0)
        return false;
    size_t escritos = 0;
    while (escritos < contenido.size()) {
        ssize_t n = ::write(fd, contenido.data() + escritos, contenido.size() - escritos);
        if (n <= 0)
            break;
        escritos += static_cast<size_t>(n);
    }
    bool bien = escritos == contenido.size() && ::fsync(fd) == 0;
    bien = ::close(fd) == 0 && bien;
    std::error_code ec;
    fs::permissions(plantilla,
                    permisos.value_or(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                      fs::perms::others_read),
                    ec);
    bien = bien && !ec && ::rename(plantilla.c_str(), ruta.c_str()) == 0;
    if (!bien)
        ::unlink(plantilla.c_str());
    return bien;
}
#endif

} // namespace

void EscribirCadenaIni(const fs::path& archivo, std::string_view seccion, std::string_view clave,
                       std::string_view valor)
{
    std::error_code ec;
    const fs::path ruta = fs::absolute(archivo, ec);
    if (ec)
        NoSePuedeEscribir(archivo);
#ifdef _WIN32
    // A path the ANSI code page cannot spell cannot be handed to the A call.
    const std::optional<std::string> rutaAnsi = RutaAnsi(ruta);
    if (!rutaAnsi)
        NoSePuedeEscribir(ruta);
    if (!WritePrivateProfileStringA(std::string(seccion).c_str(), std::string(clave).c_str(),
                                    std::string(valor).c_str(), rutaAnsi->c_str()))
        NoSePuedeEscribir(ruta);
#else
    const fs::file_status estado = fs::status(ruta, ec);
    std::string contenido;
    std::optional<fs::perms> permisos;
    fs::path destino = ruta;
    if (fs::exists(estado)) {
        if (!fs::is_regular_file(estado))
            NoSePuedeEscribir(ruta);
        // Opening for writing without truncating tells a read-only file apart
        // before anything changes; the rename alone would replace it anyway.
        if (!std::ofstream(ruta, std::ios::binary | std::ios::app))
            NoSePuedeEscribir(ruta);
        std::ifstream entrada(ruta, std::ios::binary);
        contenido.assign(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
        if (entrada.bad())
            NoSePuedeEscribir(ruta);
        permisos = estado.permissions();
        // A linked file is changed where it lies; the link stays a link.
        destino = fs::canonical(ruta, ec);
        if (ec)
            NoSePuedeEscribir(ruta);
    } else if (!fs::is_directory(ruta.parent_path(), ec)) {
        NoSePuedeEscribir(ruta);
    }
    if (!ReemplazarArchivo(destino, ConClaveEscrita(contenido, seccion, clave, valor), permisos))
        NoSePuedeEscribir(ruta);
#endif
}

} // namespace durlavex
