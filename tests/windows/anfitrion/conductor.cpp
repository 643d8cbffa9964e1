#include "conductor.h"

#include "informe.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace {

const wchar_t* const kTituloPrincipal = L"Exportar e importar datos entre Talvorin y Vorna";

DWORD ProcesoDe(HWND ventana)
{
    DWORD proceso = 0;
    GetWindowThreadProcessId(ventana, &proceso);
    return proceso;
}

struct Busqueda {
    DWORD proceso;
    std::vector<HWND> halladas;
};

BOOL CALLBACK Anotar(HWND ventana, LPARAM datos)
{
    auto* busqueda = reinterpret_cast<Busqueda*>(datos);
    if (ProcesoDe(ventana) == busqueda->proceso && IsWindowVisible(ventana))
        busqueda->halladas.push_back(ventana);
    return TRUE;
}

// The visible top-level windows of the process, or the visible windows of
// the process inside `padre`.
std::vector<HWND> VentanasDe(DWORD proceso, HWND padre = nullptr)
{
    Busqueda busqueda{proceso, {}};
    if (padre != nullptr)
        EnumChildWindows(padre, Anotar, reinterpret_cast<LPARAM>(&busqueda));
    else
        EnumWindows(Anotar, reinterpret_cast<LPARAM>(&busqueda));
    return busqueda.halladas;
}

bool TituloEs(HWND ventana, const wchar_t* titulo)
{
    wchar_t texto[256] = L"";
    GetWindowTextW(ventana, texto, 256);
    return std::wstring(texto) == titulo;
}

// A key as the keyboard would send it to the window with the focus.
void PulsarTecla(HWND ventana, UINT tecla)
{
    const UINT codigo = MapVirtualKeyW(tecla, MAPVK_VK_TO_VSC);
    PostMessageW(ventana, WM_KEYDOWN, tecla, 1 | (codigo << 16));
    PostMessageW(ventana, WM_KEYUP, tecla, 1 | (codigo << 16) | (3u << 30));
}

BOOL CALLBACK AnotarCajaNombre(HWND hija, LPARAM datos)
{
    wchar_t clase[32] = L"";
    GetClassNameW(hija, clase, 32);
    if (lstrcmpiW(clase, L"Edit") != 0 || !IsWindowVisible(hija) || !IsWindowEnabled(hija))
        return TRUE;
    *reinterpret_cast<HWND*>(datos) = hija;
    return FALSE;
}

// The file-name box of the file dialog: its first visible, enabled edit
// control (the folder list and the type list are no edits).
HWND CajaNombre(HWND dialogo)
{
    HWND hallada = nullptr;
    EnumChildWindows(dialogo, AnotarCajaNombre, reinterpret_cast<LPARAM>(&hallada));
    return hallada;
}

RECT RectanguloEnPantalla(HWND ventana, bool cliente)
{
    RECT r{};
    if (cliente) {
        GetClientRect(ventana, &r);
        MapWindowPoints(ventana, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetWindowRect(ventana, &r);
    }
    return r;
}

} // namespace

Conductor::Conductor(HWND anfitrion, DWORD proceso, Guion guion)
    : anfitrion_(anfitrion), proceso_(proceso), guion_(std::move(guion))
{
}

void Conductor::Paso()
{
    if (principal_ == nullptr)
        BuscarPrincipal();
    if (principal_ == nullptr)
        return;
    const bool esperaCaptura = EsperaCaptura();
    if (esperaCaptura && guion_.capturaCon.empty())
        return;
    if (!esperaCaptura && MoviendoAnfitrion())
        return;
    if (guion_.f1 == L"principal" && !f1Principal_) {
        f1Principal_ = true;
        Informar("F1 en la ventana principal");
        PulsarTecla(principal_, VK_F1);
    }
    // A window is answered once it has been shown for three steps, so that
    // the program has finished setting it up; the one the screenshot waits
    // for, after it.
    for (HWND ventana : VentanasDe(proceso_))
        if (ventana != principal_ && ++pasosVista_[ventana] >= 3 &&
            !(esperaCaptura && TituloDe(ventana) == Utf8(guion_.capturaCon)))
            Atender(ventana);
    if (guion_.cerrar && !cerrado_ && (guion_.f1.empty() || ayudaVista_)) {
        cerrado_ = true;
        Informar("cierra el anfitrion");
        DestroyWindow(anfitrion_);
    }
}

// The screenshot is taken once what it should show has stood still for half
// a second, so that the program has painted it. True while it is still to
// be taken.
bool Conductor::EsperaCaptura()
{
    if (guion_.captura.empty() || capturada_)
        return false;
    pasosListos_ = ListaParaCaptura() ? pasosListos_ + 1 : 0;
    if (pasosListos_ < 5)
        return true;
    Capturar();
    return false;
}

// The host moves; half a second later the program's window must be at the
// corner of its client area again. True while that is being waited for.
bool Conductor::MoviendoAnfitrion()
{
    if (!guion_.mover || pasosMovido_ >= 5)
        return false;
    if (pasosMovido_++ == 0) {
        RECT r{};
        GetWindowRect(anfitrion_, &r);
        SetWindowPos(anfitrion_, nullptr, r.left + 60, r.top + 40, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Informar("el anfitrion se mueve 60,40");
        return true;
    }
    if (pasosMovido_ < 5)
        return true;
    const RECT cliente = RectanguloEnPantalla(anfitrion_, true);
    const RECT v = RectanguloEnPantalla(principal_, false);
    Informar("tras moverse el anfitrion: en %ld,%ld del area de cliente", v.left - cliente.left,
             v.top - cliente.top);
    return false;
}

// Only the main window is shown, or the main window and the dialog whose
// title the script named (the hour-template dialog covers only its middle).
bool Conductor::ListaParaCaptura() const
{
    bool conDialogo = false;
    for (HWND ventana : VentanasDe(proceso_)) {
        if (ventana == principal_)
            continue;
        if (!guion_.capturaCon.empty() && TituloDe(ventana) == Utf8(guion_.capturaCon))
            conDialogo = true;
        else
            return false;
    }
    return guion_.capturaCon.empty() || conDialogo;
}

void Conductor::BuscarPrincipal()
{
    const char* forma = nullptr;
    for (HWND hija : VentanasDe(proceso_, anfitrion_))
        if (GetParent(hija) == anfitrion_) {
            principal_ = hija;
            forma = "hija";
        }
    if (principal_ == nullptr)
        for (HWND ventana : VentanasDe(proceso_))
            if (TituloEs(ventana, kTituloPrincipal) && GetWindow(ventana, GW_OWNER) == anfitrion_) {
                principal_ = ventana;
                forma = "propia";
            }
    if (principal_ == nullptr)
        return;
    const RECT cliente = RectanguloEnPantalla(anfitrion_, true);
    const RECT r = RectanguloEnPantalla(principal_, false);
    Informar("incrustada: %s, en %ld,%ld del area de cliente, %ldx%ld", forma, r.left - cliente.left,
             r.top - cliente.top, r.right - r.left, r.bottom - r.top);
}

// The places for the screenshot, then a wait for the script that takes it.
void Conductor::Capturar()
{
    capturada_ = true;
    const RECT cliente = RectanguloEnPantalla(anfitrion_, true);
    const RECT r = RectanguloEnPantalla(principal_, false);
    if (FILE* archivo = _wfopen(guion_.captura.c_str(), L"w")) {
        std::fprintf(archivo, "anfitrion %ld %ld %ld %ld\nventana %ld %ld %ld %ld\n", cliente.left,
                     cliente.top, cliente.right - cliente.left, cliente.bottom - cliente.top, r.left, r.top,
                     r.right - r.left, r.bottom - r.top);
        std::fclose(archivo);
    }
    const std::wstring hecho = guion_.captura + L".hecho";
    const DWORD fin = GetTickCount() + 30000;
    while (GetFileAttributesW(hecho.c_str()) == INVALID_FILE_ATTRIBUTES &&
           static_cast<LONG>(fin - GetTickCount()) > 0) {
        MSG mensaje;
        while (PeekMessageW(&mensaje, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&mensaje);
        Sleep(50);
    }
    Informar("captura: %s",
             GetFileAttributesW(hecho.c_str()) == INVALID_FILE_ATTRIBUTES ? "sin respuesta" : "hecha");
}

void Conductor::Atender(HWND ventana)
{
    const std::string titulo = TituloDe(ventana);
    const std::string clase = ClaseDe(ventana);
    if (clase == "HH Parent") {
        // The help window stays until it is closed: one report is enough.
        if (atendidas_.insert(ventana).second)
            MostrarAyuda(ventana);
        return;
    }
    if (!guion_.cerrarCon.empty() && titulo == Utf8(guion_.cerrarCon) && !cerrado_) {
        // The host goes while the dialog waits for the person, who answers
        // it afterwards (at the next step).
        cerrado_ = true;
        Informar("cierra el anfitrion con \"%s\" abierto", titulo.c_str());
        DestroyWindow(anfitrion_);
        return;
    }
    if (titulo == "Control de Profesores") {
        AtenderProfesores(ventana);
        return;
    }
    if (!atendidas_.insert(ventana).second)
        return;
    if (titulo == "Archivo XML") {
        ResponderArchivo(ventana);
    } else if (titulo == "Plantillas Horarias") {
        Informar("dialogo: Plantillas Horarias, Intro (Continuar)");
        PulsarTecla(ventana, VK_RETURN);
    } else if (titulo == "Durlavex") {
        Informar("mensaje: Durlavex, Intro (Aceptar)");
        PulsarTecla(ventana, VK_RETURN);
    } else {
        Informar("ventana: \"%s\" (%s)", titulo.c_str(), clase.c_str());
    }
}

// The teacher dialog: F1 first when asked (and the help seen), then closed
// by its title bar's close box, which leaves the teachers as they were.
void Conductor::AtenderProfesores(HWND dialogo)
{
    if (atendidas_.count(dialogo) != 0)
        return;
    if (guion_.f1 == L"profesores" && !f1Profesores_) {
        f1Profesores_ = true;
        Informar("dialogo: Control de Profesores, F1");
        PulsarTecla(dialogo, VK_F1);
        return;
    }
    if (guion_.f1 == L"profesores" && !ayudaVista_)
        return;
    atendidas_.insert(dialogo);
    Informar("dialogo: Control de Profesores, se cierra");
    PostMessageW(dialogo, WM_CLOSE, 0, 0);
}

void Conductor::ResponderArchivo(HWND dialogo)
{
    if (guion_.archivo.empty()) {
        Informar("dialogo: Archivo XML, Cancelar");
        PostMessageW(dialogo, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    HWND caja = CajaNombre(dialogo);
    if (caja == nullptr) {
        Informar("dialogo: Archivo XML sin caja para el nombre");
        atendidas_.erase(dialogo); // looked at again at the next step
        return;
    }
    SendMessageW(caja, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(guion_.archivo.c_str()));
    Informar("dialogo: Archivo XML, %s, Abrir", Utf8(guion_.archivo).c_str());
    PostMessageW(dialogo, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialogo, IDOK)));
}

void Conductor::MostrarAyuda(HWND ventana)
{
    Informar("ayuda: \"%s\"", TituloDe(ventana).c_str());
    ayudaVista_ = true;
    PostMessageW(ventana, WM_CLOSE, 0, 0);
}
