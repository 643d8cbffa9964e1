// A stand-in for Talvorin in the Windows tests: it opens a window, starts
// durlavex.exe with a direction word and that window's handle in hexadecimal
// as Talvorin does, answers the program's dialogs as a person would, and
// reports on standard output what it saw: how the program's window sat in
// its own (a child, or a window it owns), where, the dialogs it met, the help
// window and the program's exit code.
//
//   anfitrion_pruebas.exe [OPCIONES] PROGRAMA.exe DIRECCION
//     --archivo RUTA     answers the file dialog with RUTA (without it: cancels)
//     --captura ARCHIVO  once the program's window has been shown alone for
//                        half a second, writes its place and the host's client
//                        area on screen into ARCHIVO and waits (at most 30 s)
//                        for ARCHIVO.hecho, so that a screenshot can be taken
//                        meanwhile; no dialog is answered before
//     --captura-con TITULO  the same, with the dialog of that title open over it
//     --f1 VENTANA       presses F1 on the main window ("principal") or on the
//                        teacher dialog ("profesores"), reports the help
//                        window's title and closes it
//     --mover            moves its own window once the program's window has been
//                        seen (and captured), and reports where that is then
//     --cerrar           closes its own window once the program's window has
//                        been seen (and captured, and its help shown)
//     --cerrar-con TITULO  closes its own window while the program's dialog of
//                        that title is open, and answers the dialog afterwards
//     --plazo SEGUNDOS   time limit for the whole run (60); past it the
//                        program is ended and the report says so
//
// Its exit status: 0 when the program ended within the time limit, 2 when it
// had to be ended, 1 for a usage error or a program that did not start.

#include "conductor.h"
#include "informe.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr COLORREF kColorAnfitrion = RGB(255, 0, 255); // told apart from anything Durlavex paints
constexpr int kAnchoCliente = 800;
constexpr int kAltoCliente = 500;

struct Opciones {
    std::wstring programa, direccion, archivo, captura, capturaCon;
    std::wstring f1, cerrarCon;
    bool mover = false, cerrar = false;
    DWORD plazoMs = 60000;
};

bool LeerOpciones(int argc, wchar_t** argv, Opciones& o)
{
    int i = 1;
    for (; i < argc && std::wcsncmp(argv[i], L"--", 2) == 0; ++i) {
        const std::wstring opcion = argv[i];
        const bool conValor = opcion == L"--archivo" || opcion == L"--captura" || opcion == L"--plazo" ||
                              opcion == L"--captura-con" || opcion == L"--cerrar-con" || opcion == L"--f1";
        if (conValor && i + 1 >= argc)
            return false;
        if (opcion == L"--archivo")
            o.archivo = argv[++i];
        else if (opcion == L"--captura")
            o.captura = argv[++i];
        else if (opcion == L"--cerrar-con")
            o.cerrarCon = argv[++i];
        else if (opcion == L"--captura-con")
            o.capturaCon = argv[++i];
        else if (opcion == L"--plazo")
            o.plazoMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10) * 1000);
        else if (opcion == L"--f1")
            o.f1 = argv[++i];
        else if (opcion == L"--mover")
            o.mover = true;
        else if (opcion == L"--cerrar")
            o.cerrar = true;
        else
            return false;
    }
    if (argc - i != 2)
        return false;
    o.programa = argv[i];
    o.direccion = argv[i + 1];
    return true;
}

LRESULT CALLBACK ProcesarMensaje(HWND ventana, UINT mensaje, WPARAM w, LPARAM l)
{
    if (mensaje == WM_DESTROY)
        return 0; // the loop ends with the program, not with this window
    return DefWindowProcW(ventana, mensaje, w, l);
}

HWND CrearVentana()
{
    WNDCLASSW clase{};
    clase.lpfnWndProc = ProcesarMensaje;
    clase.hInstance = GetModuleHandleW(nullptr);
    clase.hbrBackground = CreateSolidBrush(kColorAnfitrion);
    clase.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    clase.lpszClassName = L"AnfitrionPruebasDurlavex";
    RegisterClassW(&clase);
    RECT marco{0, 0, kAnchoCliente, kAltoCliente};
    AdjustWindowRect(&marco, WS_OVERLAPPEDWINDOW, FALSE);
    HWND ventana = CreateWindowW(clase.lpszClassName, L"Talvorin (anfitrion de pruebas)",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 30, marco.right - marco.left,
                                 marco.bottom - marco.top, nullptr, nullptr, clase.hInstance, nullptr);
    ShowWindow(ventana, SW_SHOWNORMAL);
    UpdateWindow(ventana);
    return ventana;
}

bool Arrancar(const Opciones& o, HWND anfitrion, PROCESS_INFORMATION& proceso)
{
    wchar_t handle[32];
    std::swprintf(handle, 32, L"%lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(anfitrion)));
    std::wstring linea = L"\"" + o.programa + L"\" " + o.direccion + L" " + handle;
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    return CreateProcessW(o.programa.c_str(), linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &inicio, &proceso) != FALSE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Opciones opciones;
    if (!LeerOpciones(argc, argv, opciones)) {
        std::fputs("uso: anfitrion_pruebas.exe [--archivo RUTA] [--captura ARCHIVO [--captura-con TITULO]] "
                   "[--f1 principal|profesores] [--mover] [--cerrar] [--cerrar-con TITULO] "
                   "[--plazo SEGUNDOS] PROGRAMA.exe DIRECCION\n",
                   stderr);
        return 1;
    }
    HWND anfitrion = CrearVentana();
    PROCESS_INFORMATION proceso{};
    if (!Arrancar(opciones, anfitrion, proceso)) {
        Informar("no arranca: error %lu", GetLastError());
        return 1;
    }
    Informar("anfitrion: ventana %lX, area de cliente %dx%d",
             static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(anfitrion)), kAnchoCliente, kAltoCliente);

    Conductor conductor(anfitrion, proceso.dwProcessId,
                        {opciones.archivo, opciones.captura, opciones.capturaCon, opciones.f1, opciones.mover,
                         opciones.cerrar, opciones.cerrarCon});
    // Every 100 ms a look at the program's windows, until it ends or the
    // time is up.
    const DWORD fin = GetTickCount() + opciones.plazoMs;
    DWORD ultimoPaso = 0;
    bool terminado = false;
    while (!terminado && static_cast<LONG>(fin - GetTickCount()) > 0) {
        terminado = MsgWaitForMultipleObjects(1, &proceso.hProcess, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0;
        MSG mensaje;
        while (PeekMessageW(&mensaje, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&mensaje);
            DispatchMessageW(&mensaje);
        }
        if (!terminado && GetTickCount() - ultimoPaso >= 100) {
            ultimoPaso = GetTickCount();
            conductor.Paso();
        }
    }
    if (!terminado) {
        Informar("plazo agotado: se termina el programa");
        TerminateProcess(proceso.hProcess, 99);
        WaitForSingleObject(proceso.hProcess, 5000);
        return 2;
    }
    DWORD codigo = 0;
    GetExitCodeProcess(proceso.hProcess, &codigo);
    Informar("salida: %lu", static_cast<unsigned long>(codigo));
    return 0;
}
