#pragma once
// The check of a result file's keys told to the person: what Vorna will not
// recognise, how many lessons and which, and what to do about it.

#include <string>
#include <string_view>

#include "import/comprobacion_claves.h"

namespace durlavex {

// The report in Spanish, UTF-8, its lines separated by "\n", ending without
// one. `deQue` names what was checked after "Comprobación para Vorna" (empty
// for the lessons an import has just written, or for instance " de
// «ResultadoTalvosvorna.xml» con «vorna.xml»"). A check without problems is
// one line.
std::string TextoInformeClaves(const InformeClaves& informe, std::string_view deQue = {});

} // namespace durlavex
