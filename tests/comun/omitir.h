#pragma once
// A test that cannot run on this machine because a tool or a file it needs
// is missing: reported as skipped, except under continuous integration
// (CI=true), where the install script should have brought it and its absence
// is a failure. Skips that only mean "running as root" do not use this.

#include <cstdlib>
#include <string_view>

#include <gtest/gtest.h>

namespace durlavex::pruebas {

inline bool EnIntegracionContinua()
{
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string_view(ci) == "true";
}

} // namespace durlavex::pruebas

// Used as GTEST_SKIP is, in braces of its own:
//   if (!existe) { DURLAVEX_OMITIR_SI_FALTA() << "why"; }
// The reason streamed after it goes with the skip and with the failure alike.
#define DURLAVEX_OMITIR_SI_FALTA()                                                                           \
    return ::testing::internal::AssertHelper(                                                                \
               ::durlavex::pruebas::EnIntegracionContinua() ? ::testing::TestPartResult::kFatalFailure       \
                                                            : ::testing::TestPartResult::kSkip,              \
               __FILE__, __LINE__,                                                                           \
               ::durlavex::pruebas::EnIntegracionContinua() ? "falta en integración continua" : "") =        \
               ::testing::Message()
