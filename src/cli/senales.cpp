#include "cli/senales.h"

#include <atomic>

#include "platform/interrupcion.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace durlavex::cli {

namespace {

std::atomic<bool> corridaTerminada{false};

#ifdef _WIN32

BOOL WINAPI AlPulsar(DWORD suceso)
{
    PedirInterrupcion();
    // Windows ends the program as soon as this returns from a close, logoff
    // or shutdown event: give the run the few seconds it needs to undo.
    if (suceso == CTRL_CLOSE_EVENT || suceso == CTRL_LOGOFF_EVENT || suceso == CTRL_SHUTDOWN_EVENT) {
        for (int i = 0; i < 45 && !corridaTerminada.load(); ++i)
            Sleep(100);
    }
    return TRUE;
}

#else

extern "C" void AlRecibir(int senal)
{
    PedirInterrupcion();
    // The next one is not asked twice.
    std::signal(senal, SIG_DFL);
}

#endif

} // namespace

void AtenderInterrupciones()
{
#ifdef _WIN32
    SetConsoleCtrlHandler(AlPulsar, TRUE);
#else
    struct sigaction accion {};
    accion.sa_handler = AlRecibir;
    sigemptyset(&accion.sa_mask);
    sigaction(SIGINT, &accion, nullptr);
    sigaction(SIGTERM, &accion, nullptr);
#endif
}

void MarcarFinDeCorrida()
{
    corridaTerminada = true;
}

} // namespace durlavex::cli
