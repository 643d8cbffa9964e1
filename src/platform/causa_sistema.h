#pragma once
// The reason a file operation failed, in Spanish, for the messages a person
// reads: the system's own text is often English ("Permission denied").

#include <string>
#include <system_error>

namespace durlavex {

// The reasons a person can act on in Spanish ("no queda espacio en el disco",
// "no hay permiso para hacerlo" ...); the system's text for the rest.
std::string CausaSistema(std::error_code ec);

// The same for an errno value of the C library.
std::string CausaErrno(int error);

} // namespace durlavex
