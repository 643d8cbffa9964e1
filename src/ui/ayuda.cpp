#include "ui/ayuda.h"

#include "platform/rutas.h"
#include "ui/rutas_qt.h"

#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace durlavex::ui {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// HTML Help, reached at run time so that a machine without it still runs the
// program (help then does nothing).
class VisorHtmlHelp : public VisorAyuda {
  public:
    void Contenido(const fs::path& archivo) override { Llamar(archivo, kMostrarIndice, 0); }
    void Contexto(const fs::path& archivo, int contexto) override
    {
        Llamar(archivo, kContexto, static_cast<DWORD_PTR>(contexto));
    }

  private:
    static constexpr UINT kMostrarIndice = 0x0001; // HH_DISPLAY_TOC
    static constexpr UINT kContexto = 0x000F;      // HH_HELP_CONTEXT
    using FuncionHtmlHelp = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

    void Llamar(const fs::path& archivo, UINT orden, DWORD_PTR dato)
    {
        if (!buscada_) {
            buscada_ = true;
            if (HMODULE biblioteca = LoadLibraryW(L"hhctrl.ocx"))
                // Through void(*)(): GetProcAddress's type says nothing of
                // the function's own.
                funcion_ = reinterpret_cast<FuncionHtmlHelp>(
                    reinterpret_cast<void (*)()>(GetProcAddress(biblioteca, "HtmlHelpA")));
        }
        // The A call takes the file in the ANSI code page.
        const std::optional<std::string> nombre = RutaAnsi(archivo);
        if (funcion_ == nullptr || !nombre)
            return;
        funcion_(GetDesktopWindow(), nombre->c_str(), orden, dato);
    }

    bool buscada_ = false;
    FuncionHtmlHelp funcion_ = nullptr;
};
using VisorDelSistema = VisorHtmlHelp;
#else
// An installed CHM viewer, started on its own so that it outlives nothing of
// ours and blocks nothing.
class VisorXchm : public VisorAyuda {
  public:
    void Contenido(const fs::path& archivo) override { Abrir({TextoQt(archivo)}, archivo); }
    void Contexto(const fs::path& archivo, int contexto) override
    {
        Abrir({QStringLiteral("-c"), QString::number(contexto), TextoQt(archivo)}, archivo);
    }

  private:
    static void Abrir(const QStringList& argumentos, const fs::path& archivo)
    {
        std::error_code ec;
        if (!fs::is_regular_file(archivo, ec))
            return;
        const QString visor = QStandardPaths::findExecutable(QStringLiteral("xchm"));
        if (visor.isEmpty())
            return;
        QProcess::startDetached(visor, argumentos);
    }
};
using VisorDelSistema = VisorXchm;
#endif

bool TerminaEnChm(const fs::path& archivo)
{
    return TextoQt(archivo.filename()).endsWith(QStringLiteral(".chm"), Qt::CaseInsensitive);
}

} // namespace

VisorAyuda& VisorAyuda::DelSistema()
{
    static VisorDelSistema visor;
    return visor;
}

Ayuda::Ayuda(VisorAyuda& visor, fs::path carpetaPrograma)
    : visor_(visor), carpetaPrograma_(std::move(carpetaPrograma))
{
}

void Ayuda::FijarArchivo(const QString& nombre)
{
    const fs::path ruta = RutaDe(nombre);
    archivo_ = ruta.has_parent_path() ? ruta : carpetaPrograma_ / ruta;
}

bool Ayuda::EsAyudaHtml() const
{
    return !archivo_.empty() && TerminaEnChm(archivo_);
}

void Ayuda::MostrarContenido()
{
    if (EsAyudaHtml())
        visor_.Contenido(archivo_);
}

void Ayuda::MostrarContexto(int contexto)
{
    if (EsAyudaHtml())
        visor_.Contexto(archivo_, contexto);
}

int ContextoAyudaDe(const QObject* objeto)
{
    for (; objeto != nullptr; objeto = objeto->parent()) {
        const QVariant contexto = objeto->property(kPropiedadContextoAyuda);
        if (contexto.isValid())
            return contexto.toInt();
    }
    return 0;
}

TeclaAyuda::TeclaAyuda(Ayuda& ayuda, QObject* padre) : QObject(padre), ayuda_(ayuda) {}

bool TeclaAyuda::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() != QEvent::KeyPress || !objeto->isWidgetType())
        return false;
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() != Qt::Key_F1 || tecla->modifiers() != Qt::NoModifier)
        return false;
    const int contexto = ContextoAyudaDe(objeto);
    if (contexto == 0)
        return false;
    ayuda_.MostrarContexto(contexto);
    return true;
}

} // namespace durlavex::ui
