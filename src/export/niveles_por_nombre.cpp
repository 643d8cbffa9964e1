#include "export/niveles_por_nombre.h"

#include <fstream>
#include <sstream>

#include "platform/error.h"
#include "platform/plegado.h"
#include "platform/rutas.h"
#include "platform/texto.h"

namespace durlavex {

namespace {

std::vector<std::string_view> Campos(std::string_view linea)
{
    std::vector<std::string_view> campos;
    for (std::size_t tab = linea.find('\t'); tab != std::string_view::npos; tab = linea.find('\t')) {
        campos.push_back(linea.substr(0, tab));
        linea.remove_prefix(tab + 1);
    }
    campos.push_back(linea);
    return campos;
}

} // namespace

NivelesPorNombre NivelesPorNombre::Cargar(const std::filesystem::path& ruta)
{
    std::ifstream archivo(ruta, std::ios::binary);
    if (!archivo)
        throw Error("No se puede leer la tabla de niveles por nombre de curso «" + TextoRuta(ruta) +
                    "», que debe estar junto al programa: reinstale Durlavex");
    std::ostringstream texto;
    texto << archivo.rdbuf();
    return Leer(texto.str(), TextoRuta(ruta));
}

NivelesPorNombre NivelesPorNombre::Leer(std::string_view texto, const std::string& origen)
{
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (texto.substr(0, kBom.size()) == kBom)
        texto.remove_prefix(kBom.size());

    NivelesPorNombre tabla;
    int numero = 0;
    while (!texto.empty()) {
        const std::size_t fin = texto.find('\n');
        std::string_view linea = texto.substr(0, fin);
        texto.remove_prefix(fin == std::string_view::npos ? texto.size() : fin + 1);
        ++numero;
        if (!linea.empty() && linea.back() == '\r')
            linea.remove_suffix(1);
        if (Recortar(linea).empty() || Recortar(linea).front() == '#')
            continue;
        const std::vector<std::string_view> campos = Campos(linea);
        if (campos.size() != 3 || EsBlanco(campos[0]) || EsBlanco(campos[1]))
            throw Error("La línea " + std::to_string(numero) + " de la tabla de niveles «" + origen +
                        "» no tiene la forma patrón, nivel y nombre del nivel, separados por tabuladores");
        tabla.niveles_.push_back({PlegarLetras(Recortar(campos[0])), Utf8AAnsi(Recortar(campos[1])).Bytes(),
                                  Utf8AAnsi(Recortar(campos[2])).Bytes()});
    }
    return tabla;
}

const NivelPorNombre* NivelesPorNombre::Buscar(std::string_view nombreCurso) const
{
    const std::u32string nombre = PlegarLetras(AnsiAUtf8(VistaAnsi(nombreCurso)));
    for (const NivelPorNombre& nivel : niveles_)
        if (ContienePalabra(nombre, nivel.patron))
            return &nivel;
    return nullptr;
}

} // namespace durlavex
