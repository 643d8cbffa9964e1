#pragma once
// Why a call to the operating system failed, in Spanish, for the messages
// that name a file or a folder. The system's own text is English on most
// machines, so it never reaches the person: the usual causes have words of
// their own, any other is given by its number.

#include <string>
#include <system_error>

namespace durlavex {

// An errno value (POSIX, or the C runtime's on Windows).
std::string CausaErrno(int error);

// An error code as the standard library reports it: std::filesystem, streams,
// and on Windows the system's own error numbers.
std::string CausaSistema(const std::error_code& error);

} // namespace durlavex
