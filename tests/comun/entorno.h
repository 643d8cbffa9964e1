#pragma once
// What the tests need to know of the system they run on, and setenv and
// unsetenv on Windows, where the C runtime has _putenv_s instead (an empty
// value there removes the variable).

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#include <string>

inline int setenv(const char* nombre, const char* valor, int /*reemplazar*/)
{
    return _putenv_s(nombre, valor);
}
inline int unsetenv(const char* nombre)
{
    return _putenv_s(nombre, "");
}
#else
#include <unistd.h>
#endif

namespace durlavex::pruebas {

// A Windows program under Wine (ntdll then exports wine_get_version).
inline bool BajoWine()
{
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// True when a read-only file does not stop this process's writes: root on
// Linux, and root running a Windows program under Wine (Wine leaves the
// check to Linux's permission bits, which root passes).
inline bool EscribeSinPermisos()
{
#ifdef _WIN32
    char nombre[256] = {};
    DWORD largo = sizeof nombre;
    return BajoWine() && GetUserNameA(nombre, &largo) && std::string(nombre) == "root";
#else
    return ::geteuid() == 0;
#endif
}

} // namespace durlavex::pruebas
