#pragma once
// The date and time of the result file's header (`fecha` of SERVICIO): the
// current date in the system's short date format, one blank, the current local
// time in its long time format.

#include <ctime>
#include <string>

namespace durlavex {

// On Windows the user's regional settings; elsewhere the Spanish (Spain)
// defaults, short date "dd/MM/yyyy" and long time "H:mm:ss", on local time.
// UTF-8.
std::string FechaHoraActual();

// The Spanish defaults applied to a given local time: 05/03/2024 9:05:03.
std::string FechaHoraEspanola(const std::tm& momento);

} // namespace durlavex
