#include "platform/causa_sistema.h"

namespace durlavex {

std::string CausaSistema(std::error_code ec)
{
    const std::error_condition condicion = ec.default_error_condition();
    if (condicion == std::errc::no_space_on_device || condicion == std::errc::file_too_large)
        return "no queda espacio en el disco";
    if (condicion == std::errc::read_only_file_system)
        return "el disco o la carpeta es de solo lectura";
    if (condicion == std::errc::permission_denied || condicion == std::errc::operation_not_permitted)
        return "no hay permiso para hacerlo";
    if (condicion == std::errc::no_such_file_or_directory)
        return "no existe el archivo o la carpeta";
    if (condicion == std::errc::io_error)
        return "error de entrada/salida del disco";
    if (condicion == std::errc::device_or_resource_busy || condicion == std::errc::text_file_busy)
        return "otro programa lo está usando";
    if (condicion == std::errc::file_exists)
        return "ya existe";
    if (condicion == std::errc::not_enough_memory)
        return "no hay memoria suficiente";
    return ec.message();
}

std::string CausaErrno(int error)
{
    return CausaSistema(std::error_code(error, std::generic_category()));
}

} // namespace durlavex
