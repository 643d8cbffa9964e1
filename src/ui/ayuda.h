#pragma once
// Help: the application's help file ("VORNA.chm" beside the program), its
// table of contents, and topics by context number for F1.
//
// Every window marks its widgets with the dynamic property "contextoAyuda"
// (an int); F1 anywhere in the application shows the topic of the nearest
// widget, walking up to its ancestors, that carries one.

#include <QObject>
#include <QString>

#include <filesystem>

namespace durlavex::ui {

// What actually shows a help file: HTML Help on Windows, an installed CHM
// viewer elsewhere. Tests record the requests instead.
class VisorAyuda {
  public:
    virtual ~VisorAyuda() = default;
    virtual void Contenido(const std::filesystem::path& archivo) = 0;
    virtual void Contexto(const std::filesystem::path& archivo, int contexto) = 0;

    // Windows: HtmlHelpA of hhctrl.ocx, loaded when first needed. Elsewhere:
    // xchm found on PATH. Does nothing when the viewer or the file is missing.
    static VisorAyuda& DelSistema();
};

// The name of the dynamic property that carries a widget's help context.
inline constexpr const char* kPropiedadContextoAyuda = "contextoAyuda";

// The application's help file and the requests made of it.
class Ayuda {
  public:
    Ayuda(VisorAyuda& visor, std::filesystem::path carpetaPrograma);

    // A name without a folder is taken from the program folder.
    void FijarArchivo(const QString& nombre);
    std::filesystem::path Archivo() const { return archivo_; }

    // Only a file whose name ends in ".chm" (any letter case) is shown.
    void MostrarContenido();
    void MostrarContexto(int contexto);

  private:
    bool EsAyudaHtml() const;

    VisorAyuda& visor_;
    std::filesystem::path carpetaPrograma_;
    std::filesystem::path archivo_;
};

// Installed on the application: F1 asks for the topic of the nearest
// "contextoAyuda" of the widget that has the focus, or of its window.
class TeclaAyuda : public QObject {
  public:
    TeclaAyuda(Ayuda& ayuda, QObject* padre = nullptr);

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    Ayuda& ayuda_;
};

// The context of `widget` or of its nearest ancestor that has one; 0 when none.
int ContextoAyudaDe(const QObject* objeto);

} // namespace durlavex::ui
