#include "platform/fallos_simulados.h"

#include <atomic>
#include <mutex>

namespace durlavex::fallos {

namespace {

struct Estado {
    std::mutex cerrojo;
    std::optional<Plan> plan;
    int vistas = 0;
};

Estado& Global()
{
    static Estado estado;
    return estado;
}

// Read without the lock on every file operation: nothing planned, nothing to do.
std::atomic<bool> hayPlan{false};

} // namespace

void Programar(const Plan& plan)
{
    Estado& e = Global();
    std::lock_guard bloqueo(e.cerrojo);
    e.plan = plan;
    e.vistas = 0;
    hayPlan = true;
}

void Quitar()
{
    Estado& e = Global();
    std::lock_guard bloqueo(e.cerrojo);
    e.plan.reset();
    hayPlan = false;
}

std::optional<std::error_code> Consultar(Operacion operacion, const std::filesystem::path& ruta)
{
    if (!hayPlan)
        return std::nullopt;
    Estado& e = Global();
    std::lock_guard bloqueo(e.cerrojo);
    if (!e.plan || e.plan->operacion != operacion ||
        ruta.filename().string().find(e.plan->nombre) == std::string::npos)
        return std::nullopt;
    ++e.vistas;
    if (e.vistas < e.plan->vez || (e.vistas > e.plan->vez && !e.plan->siguientes))
        return std::nullopt;
    return std::make_error_code(e.plan->error);
}

} // namespace durlavex::fallos
