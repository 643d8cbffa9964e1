#pragma once
// Handles of this process on one table file share one engine object, so a
// row rewritten through one handle changes what the others read. Each handle
// keeps in-memory lookups built on the rows; this counter, shared by every
// handle on the same file object, tells them when a rewrite made those stale.
// (Appends need no counter: the row count shows them.)

#include <cstdint>
#include <memory>

#include "platform/dbf/archivo_dbf.h"

namespace durlavex {

// The rewrite counter of an open table file: the same object for every handle
// holding the same engine object, alive while one of them holds it.
std::shared_ptr<std::uint64_t> EdicionesDe(const std::shared_ptr<dbf::ArchivoDbf>& archivo);

} // namespace durlavex
