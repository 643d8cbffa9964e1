#include "platform/interrupcion.h"

#include <atomic>

namespace durlavex {

namespace {

// Lock-free, so that a signal handler may set it.
std::atomic<bool> pedida{false};
static_assert(std::atomic<bool>::is_always_lock_free);

} // namespace

void PedirInterrupcion() noexcept
{
    pedida.store(true, std::memory_order_relaxed);
}

bool InterrupcionPedida() noexcept
{
    return pedida.load(std::memory_order_relaxed);
}

void OlvidarInterrupcion() noexcept
{
    pedida.store(false, std::memory_order_relaxed);
}

void ComprobarInterrupcion()
{
    if (InterrupcionPedida())
        throw ErrorInterrupcion("Proceso interrumpido a petición del usuario");
}

} // namespace durlavex
