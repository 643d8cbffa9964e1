#include "platform/fecha.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

namespace durlavex {

std::string FechaHoraEspanola(const std::tm& m)
{
    char texto[64];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d %d:%02d:%02d", m.tm_mday, m.tm_mon + 1,
                  m.tm_year + 1900, m.tm_hour, m.tm_min, m.tm_sec);
    return texto;
}

#ifdef _WIN32

namespace {

std::string Utf8(const wchar_t* texto)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, texto, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string r(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texto, -1, r.data(), n, nullptr, nullptr);
    r.resize(static_cast<std::size_t>(n - 1));
    return r;
}

} // namespace

std::string FechaHora(std::chrono::system_clock::time_point momento)
{
    // FILETIME counts 100-nanosecond steps since 1601.
    const auto desde1970 =
        std::chrono::duration_cast<std::chrono::microseconds>(momento.time_since_epoch()).count();
    ULARGE_INTEGER pasos;
    pasos.QuadPart = static_cast<ULONGLONG>(desde1970) * 10ULL + 116444736000000000ULL;
    FILETIME archivo{pasos.LowPart, pasos.HighPart};
    SYSTEMTIME utc{};
    SYSTEMTIME ahora{};
    FileTimeToSystemTime(&archivo, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &ahora);
    wchar_t fecha[128] = {};
    wchar_t hora[128] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &ahora, nullptr, fecha, 128, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &ahora, nullptr, hora, 128);
    return Utf8(fecha) + " " + Utf8(hora);
}

#else

std::string FechaHora(std::chrono::system_clock::time_point momento)
{
    const std::time_t ahora = std::chrono::system_clock::to_time_t(momento);
    std::tm local{};
    localtime_r(&ahora, &local);
    return FechaHoraEspanola(local);
}

#endif

} // namespace durlavex
