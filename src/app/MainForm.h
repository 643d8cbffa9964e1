#pragma once
// The main window (TMForm, the form variable MForm): the two directions of
// the conversion as two buttons, help, and host mode, in which Talvorin
// starts the program with a direction word and the handle of one of its
// windows: the window then shows itself inside that window, runs the
// direction at once, closes when the run has finished and leaves a result
// code in "Talvorin.ini" beside the program.

#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/entorno_ventana.h"
#include "platform/corrida.h"

class QLabel;
class QPushButton;

namespace durlavex {

namespace ui {
class PanelDegradado;
class VigilanteAnfitrion;
} // namespace ui

class InteraccionVentana;

class TMForm : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kContextoAyuda = 3;

    explicit TMForm(EntornoVentana entorno, QWidget* padre = nullptr);
    ~TMForm() override;

    // The exchange file last confirmed in the file dialog.
    const std::filesystem::path& ArchivoXML() const { return archivoXML_; }
    // For the host: 1 a run finished, -1 the exchange file was missing in host
    // mode, 0 neither.
    int ResultadoProceso() const { return resultadoProceso_; }
    // 2 once a host launch has been recognised and its window found.
    int NumParametros() const { return numParametros_; }
    // The school-day template the last export used.
    const std::string& JornadaElegida() const { return jornadaElegida_; }

    void FormCreate();
    void FormShow();
    void FormClose();
    void BExportarClick();
    void BImportarClick();
    void Button1Click();

    // The first showing has run the direction named on the command line.
    bool FormShowEjecutado() const { return formShowEjecutado_; }

  signals:
    // The window has closed (and the result code was written in host mode).
    void Cerrada();

  protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

  private:
    void CrearControles();
    void ReconocerAnfitrion();
    bool ElegirArchivoXML();
    void Exportar();
    void Importar();
    void AtenderDesenlace(const ResultadoCorrida& resultado, const std::function<void()>& finalizada);
    void ArchivoInexistente();
    void CorridaFinalizada(const std::string& donde,
                           const std::optional<QString>& avisoClaves = std::nullopt);
    void MostrarError(const std::string& mensaje);
    void AnfitrionDesaparecido();
    template <typename Corrida> void Correr(Corrida corrida);
    std::filesystem::path DirectorioTrabajoCorrida() const;

    // The controls under the window's names for them, which are also their
    // object names: tests find them by those.
    ui::PanelDegradado* Draw3D1 = nullptr;
    ui::PanelDegradado* Draw3D2 = nullptr;
    ui::PanelDegradado* Draw3D3 = nullptr;
    QPushButton* BClose = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BExportar = nullptr;
    QPushButton* BImportar = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;

    std::filesystem::path archivoXML_;
    int resultadoProceso_ = 0;
    int numParametros_ = 0;
    std::string jornadaElegida_;
    EntornoVentana entorno_;
    std::unique_ptr<InteraccionVentana> interaccion_;
    ui::VigilanteAnfitrion* vigilante_ = nullptr;
    bool mostrada_ = false;
    bool formShowEjecutado_ = false;
    bool cerrada_ = false;
    bool corriendo_ = false;
    bool cerrarTrasCorrida_ = false;
};

} // namespace durlavex
