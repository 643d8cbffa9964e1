#pragma once
// Picture masks: "#" stands for one decimal digit, "*" for any number (zero
// or more) of repetitions of what follows it, any other character for itself.

#include <string_view>

namespace durlavex {

// True when the whole value fits the mask ("#*#" takes one or more digits,
// "##/##/####" a date with its slashes).
bool CumpleMascara(std::string_view valor, std::string_view mascara);

} // namespace durlavex
