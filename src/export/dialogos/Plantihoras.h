#pragma once
// The hour-template dialog (TPlantillas): the person picks the school-day
// template the timetable is built on when the exchange file holds several.

#include <QDialog>

#include <exception>
#include <filesystem>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;
class QWindow;

namespace durlavex {

class LecturaIntercambio;

namespace ui {
class Avisos;
class PanelDegradado;
} // namespace ui

// Shows the template codes of the exchange file and, for the code in the
// combo box, the template's name, dates and slot texts. There is no cancel:
// however the dialog closes, the code in the combo box is the choice.
// The dialog reads the file itself, again at every activation, and shows the
// datums' texts as they stand (untrimmed).
class TPlantillas : public QDialog {
    Q_OBJECT
  public:
    // Reader failures are shown through `avisos`; the dialog stays open.
    TPlantillas(QWidget* propietario, const std::filesystem::path& archivoXml, ui::Avisos& avisos);
    TPlantillas(QWidget* propietario, const std::filesystem::path& archivoXml);
    ~TPlantillas() override;

    // The combo box's text trimmed at both ends, single-byte ANSI, as it stood
    // when the dialog was last closed; empty before that.
    const std::string& PlantillaElegida() const { return plantillaElegida_; }

  public slots:
    void done(int resultado) override;

  protected:
    bool event(QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void Maquetar();
    void FormActivate();
    void ComboBoxPlantillaChange();
    void BitBtnContinuarClick();
    void FormClose();
    void MostrarFallo(const std::exception& error);
    void AlCambiarVentanaConFoco(QWindow* ventana);

    // The controls under the dialog's names for them, which are also their
    // object names: tests find them by those.
    ui::PanelDegradado* Panel = nullptr;
    QLabel* LabelPlantillas = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* ComboBoxPlantilla = nullptr;
    QLabel* LabelNombre = nullptr;
    QLabel* LabelPlanFec1 = nullptr;
    QLabel* LabelPlanFec2 = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* BitBtnContinuar = nullptr;

    std::string plantillaElegida_;
    std::filesystem::path archivoXml_;
    ui::Avisos& avisos_;
    std::unique_ptr<LecturaIntercambio> lectura_; // the dialog's own document
    bool activacionDeMuestra_ = false;            // the showing ran FormActivate; its activation follows
    QWindow* ventanaAnterior_ = nullptr;          // had the focus before this one; none: another application
    bool mostrandoAviso_ = false;
    bool volviendoDeAviso_ = false;
};

// Creates the dialog owned by `propietario` (the form variable Plantillas),
// shows it modally over the exchange file `archivoXml`, and frees it.
// Returns PlantillaElegida: the combo box's text trimmed at both ends, as
// single-byte text.
std::string ElegirPlantillaConDialogo(QWidget* propietario, const std::filesystem::path& archivoXml);

} // namespace durlavex
