#pragma once
// Faults a test plans under the program's file access. The dBase engine's
// creations and writes, the result file's writing and the renames of both runs
// ask here before they touch the disk, so that a full disk, a folder that
// cannot be written or a rename the system refuses can be shown on any
// machine, as any user, without mounting anything. Nothing is planned unless
// a test plans it; then each file operation costs one more check.

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace durlavex::fallos {

enum class Operacion { Crear, Escribir, Renombrar };

struct Plan {
    Operacion operacion = Operacion::Escribir;
    // The `vez`th operation of that kind (counted from 1 once the plan is set)
    // on a file whose name contains `nombre` (every file when empty) fails
    // with `error`; so does every later one while `siguientes` holds (a full
    // disk stays full).
    int vez = 1;
    std::string nombre;
    std::errc error = std::errc::no_space_on_device;
    bool siguientes = true;
};

// One plan at a time, for the whole process; `Quitar` or a new plan ends it.
void Programar(const Plan& plan);
void Quitar();

// For the file access: the error this operation on `ruta` must fail with.
std::optional<std::error_code> Consultar(Operacion operacion, const std::filesystem::path& ruta);

// Plans a fault for the life of a test's scope.
class FalloProgramado {
  public:
    explicit FalloProgramado(const Plan& plan) { Programar(plan); }
    ~FalloProgramado() { Quitar(); }
    FalloProgramado(const FalloProgramado&) = delete;
    FalloProgramado& operator=(const FalloProgramado&) = delete;
};

} // namespace durlavex::fallos
