#pragma once
// Picture masks: "#" stands for one decimal digit, "*" for any number (zero
// or more) of repetitions of what follows it, any other character for itself.

#include <string_view>

namespace durlavex {

// True when the whole value fits the mask ("#*#" takes one or more digits,
// "##/##/####" a date with its slashes).
bool CumpleMascara(std::string_view valor, std::string_view mascara);

// True when a date written dd/mm/aaaa (the date mask "##/##/####") names a
// day of the calendar: month 01 to 12, a day the month has (29/02 in leap
// years only), year 0001 or later. 31/02/2020 and 00/13/2020 fit the mask but
// are no dates.
bool EsFechaDelCalendario(std::string_view valor);

} // namespace durlavex
