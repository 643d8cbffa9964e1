#pragma once
// The date and time of the result file's header (`fecha` of SERVICIO): the
// date in the system's short date format, one blank, the local time in its
// long time format.

#include <chrono>
#include <ctime>
#include <string>

namespace durlavex {

// A moment as the header dates it: on Windows in the user's regional
// settings; elsewhere the Spanish (Spain) defaults, short date "dd/MM/yyyy"
// and long time "H:mm:ss", on local time. UTF-8.
std::string FechaHora(std::chrono::system_clock::time_point momento);

// The Spanish defaults applied to a given local time: 05/03/2024 9:05:03.
std::string FechaHoraEspanola(const std::tm& momento);

} // namespace durlavex
