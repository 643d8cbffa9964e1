#include "tables/ediciones_compartidas.h"

#include <algorithm>
#include <vector>

namespace durlavex {

namespace {

struct Entrada {
    std::weak_ptr<dbf::ArchivoDbf> archivo;
    std::weak_ptr<std::uint64_t> ediciones;
};

} // namespace

std::shared_ptr<std::uint64_t> EdicionesDe(const std::shared_ptr<dbf::ArchivoDbf>& archivo)
{
    // Mirrors the engine's own sharing of file objects. Entries hold weak
    // references only, so a file closed by every handle drops out; the list
    // stays as short as the number of open files.
    static std::vector<Entrada> entradas;
    std::erase_if(entradas, [](const Entrada& e) { return e.archivo.expired() || e.ediciones.expired(); });
    for (const Entrada& e : entradas) {
        if (e.archivo.lock() == archivo)
            return e.ediciones.lock();
    }
    auto ediciones = std::make_shared<std::uint64_t>(0);
    entradas.push_back({archivo, ediciones});
    return ediciones;
}

} // namespace durlavex
