#pragma once
// What the test host does with the program's windows, a step at a time: it
// finds the program's main window in its own (a child, or a window it owns),
// answers each dialog once as a person would, presses F1 when asked, and
// closes its own window when told to.

#include <windows.h>

#include <map>
#include <set>
#include <string>

struct Guion {
    std::wstring archivo;    // the file dialog's answer; empty: cancel
    std::wstring captura;    // where to write the places for a screenshot; empty: none
    std::wstring capturaCon; // the dialog the screenshot waits for; empty: none
    std::wstring f1;         // where to press F1: "principal" or "profesores"; empty: nowhere
    bool mover = false;      // move the host window once the program's window is seen
    bool cerrar = false;     // close the host window once all else is done
    std::wstring cerrarCon;  // close it instead while the dialog of this title is open
};

class Conductor {
  public:
    Conductor(HWND anfitrion, DWORD proceso, Guion guion);

    // One look at the program's windows and what follows from it.
    void Paso();

  private:
    void BuscarPrincipal();
    bool EsperaCaptura();
    bool MoviendoAnfitrion();
    bool ListaParaCaptura() const;
    void Capturar();
    void Atender(HWND ventana);
    void ResponderArchivo(HWND dialogo);
    void AtenderProfesores(HWND dialogo);
    void MostrarAyuda(HWND ventana);

    HWND anfitrion_;
    DWORD proceso_;
    Guion guion_;
    HWND principal_ = nullptr;
    int pasosListos_ = 0;
    int pasosMovido_ = 0;
    bool capturada_ = false;
    bool f1Principal_ = false;
    bool f1Profesores_ = false;
    bool ayudaVista_ = false;
    bool cerrado_ = false;
    std::set<HWND> atendidas_;
    std::map<HWND, int> pasosVista_;
};
