#include "tables/vista_filas.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/texto.h"
#include "tables/valores_campo.h"

namespace durlavex {

VistaFilas::VistaFilas(const dbf::ArchivoDbf& archivo) : archivo_(archivo), conocidas_(archivo.NumRegistros())
{
}

bool VistaFilas::Actualizar(bool reescrita)
{
    const std::size_t total = archivo_.NumRegistros();
    if (reescrita || total < conocidas_) {
        conocidas_ = total;
        grupos_.clear();
        OlvidarOrden();
        return true;
    }
    if (total == conocidas_)
        return false;

    for (std::size_t fila = conocidas_; fila < total; ++fila) {
        if (archivo_.Borrado(fila))
            continue;
        for (auto& [campo, grupos] : grupos_) {
            if (auto clave = ClaveDeFila(archivo_, fila, campo))
                grupos[*clave].push_back(fila);
        }
    }
    if (!camposOrden_.empty()) {
        conocidas_ = total;
        OlvidarOrden();
        return true;
    }
    // Table order: new rows come last, so every first match found so far
    // stays the first one.
    if (filas_) {
        for (std::size_t fila = conocidas_; fila < total; ++fila) {
            if (archivo_.Borrado(fila) || !PasaFiltro(fila))
                continue;
            const std::size_t posicion = filas_->size();
            filas_->push_back(fila);
            for (auto& [campos, mapa] : busquedas_) {
                if (auto clave = ClaveFila(fila, campos))
                    mapa.emplace(std::move(*clave), posicion);
            }
        }
    }
    conocidas_ = total;
    return false;
}

const std::vector<std::size_t>& VistaFilas::Filas()
{
    if (filas_)
        return *filas_;
    std::vector<std::size_t> filas;
    if (filtro_) {
        if (filtro_->clave) {
            const Grupos& grupos = GruposDe(filtro_->campo);
            if (auto it = grupos.find(*filtro_->clave); it != grupos.end())
                filas = it->second;
        }
        if (!camposOrden_.empty()) {
            OrdenIndice();
            const auto& rango = *rango_;
            std::sort(filas.begin(), filas.end(),
                      [&](std::size_t a, std::size_t b) { return rango[a] < rango[b]; });
        }
    } else if (!camposOrden_.empty()) {
        filas = OrdenIndice();
    } else {
        filas.reserve(conocidas_);
        for (std::size_t fila = 0; fila < conocidas_; ++fila) {
            if (!archivo_.Borrado(fila))
                filas.push_back(fila);
        }
    }
    filas_ = std::move(filas);
    return *filas_;
}

void VistaFilas::Ordenar(std::vector<std::size_t> campos)
{
    camposOrden_ = std::move(campos);
    OlvidarOrden();
}

void VistaFilas::Filtrar(std::size_t campo, std::optional<std::string> clave)
{
    filtro_ = Filtro{campo, std::move(clave)};
    filas_.reset();
    busquedas_.clear();
}

void VistaFilas::QuitarFiltro()
{
    filtro_.reset();
    filas_.reset();
    busquedas_.clear();
}

std::optional<std::size_t> VistaFilas::Buscar(const std::vector<std::size_t>& campos,
                                              const std::string& clave)
{
    const auto& filas = Filas();
    auto [it, nueva] = busquedas_.try_emplace(campos);
    if (nueva) {
        auto& mapa = it->second;
        for (std::size_t posicion = 0; posicion < filas.size(); ++posicion) {
            if (auto k = ClaveFila(filas[posicion], campos))
                mapa.emplace(std::move(*k), posicion); // the first row of a key stays
        }
    }
    if (auto encontrada = it->second.find(clave); encontrada != it->second.end())
        return encontrada->second;
    return std::nullopt;
}

std::optional<std::string> VistaFilas::ClaveFila(std::size_t fila,
                                                 const std::vector<std::size_t>& campos) const
{
    std::string clave;
    for (std::size_t campo : campos) {
        auto fragmento = ClaveDeFila(archivo_, fila, campo);
        if (!fragmento)
            return std::nullopt;
        clave += *fragmento;
    }
    return clave;
}

bool VistaFilas::PasaFiltro(std::size_t fila) const
{
    if (!filtro_)
        return true;
    if (!filtro_->clave)
        return false;
    return ClaveDeFila(archivo_, fila, filtro_->campo) == filtro_->clave;
}

VistaFilas::Grupos& VistaFilas::GruposDe(std::size_t campo)
{
    auto [it, nuevo] = grupos_.try_emplace(campo);
    if (nuevo) {
        for (std::size_t fila = 0; fila < conocidas_; ++fila) {
            if (archivo_.Borrado(fila))
                continue;
            if (auto clave = ClaveDeFila(archivo_, fila, campo))
                it->second[*clave].push_back(fila);
        }
    }
    return it->second;
}

const std::vector<std::size_t>& VistaFilas::OrdenIndice()
{
    if (ordenIndice_)
        return *ordenIndice_;
    std::vector<std::size_t> orden;
    std::optional<std::string> etiqueta;
    if (camposOrden_.size() == 1) {
        const std::string campo = MayusculasAscii(archivo_.Campos()[camposOrden_[0]].nombre);
        for (const dbf::Indice& indice : archivo_.Indices()) {
            if (MayusculasAscii(indice.campo) == campo)
                etiqueta = indice.etiqueta;
        }
    }
    if (etiqueta) {
        for (std::size_t fila : archivo_.OrdenIndice(*etiqueta)) {
            if (fila < conocidas_ && !archivo_.Borrado(fila))
                orden.push_back(fila);
        }
    } else {
        orden = OrdenarPorValores();
    }
    std::vector<std::size_t> rango(conocidas_, 0);
    for (std::size_t i = 0; i < orden.size(); ++i)
        rango[orden[i]] = i;
    rango_ = std::move(rango);
    ordenIndice_ = std::move(orden);
    return *ordenIndice_;
}

std::vector<std::size_t> VistaFilas::OrdenarPorValores() const
{
    // One sort key per row and field, read once: a blank or unreadable number
    // sorts before every number, text sorts by its bytes.
    struct Valor {
        std::optional<double> numero;
        std::string texto;
        bool operator<(const Valor& otro) const
        {
            if (numero != otro.numero)
                return numero < otro.numero;
            return texto < otro.texto;
        }
    };
    const std::size_t ancho = camposOrden_.size();
    std::vector<Valor> valores(conocidas_ * ancho);
    std::vector<std::size_t> filas;
    for (std::size_t fila = 0; fila < conocidas_; ++fila) {
        if (archivo_.Borrado(fila))
            continue;
        filas.push_back(fila);
        for (std::size_t i = 0; i < ancho; ++i) {
            const std::size_t campo = camposOrden_[i];
            Valor& valor = valores[fila * ancho + i];
            if (!EsCampoNumerico(archivo_.Campos()[campo])) {
                valor.texto = QuitarBlancosFinales(archivo_.Texto(fila, campo));
                continue;
            }
            try {
                valor.numero = archivo_.Numero(fila, campo);
            } catch (const Error&) {
                valor.numero.reset();
            }
        }
    }
    std::stable_sort(filas.begin(), filas.end(), [&](std::size_t a, std::size_t b) {
        return std::lexicographical_compare(valores.begin() + a * ancho, valores.begin() + (a + 1) * ancho,
                                            valores.begin() + b * ancho, valores.begin() + (b + 1) * ancho);
    });
    return filas;
}

void VistaFilas::OlvidarOrden()
{
    ordenIndice_.reset();
    rango_.reset();
    filas_.reset();
    busquedas_.clear();
}

} // namespace durlavex
