#pragma once
// The teacher-data completion dialog (TControlProfesores): a grid over
// PROFT.DBF in which the person types the missing X_EMPLEADO and F_TOMAPOS.

#include <QDialog>

#include <filesystem>
#include <memory>

class QLabel;
class QPushButton;
class QWidget;

namespace durlavex {

class Tabla;

namespace ui {
class Avisos;
class ModeloTabla;
class NavegadorDatos;
class PanelDegradado;
class RejillaDatos;
} // namespace ui

// PROFT.DBF of the working directory, shown whole and in table order; only
// X_EMPLEADO and F_TOMAPOS can be changed, and no row added or deleted. What
// the person saves goes straight into the table; the dialog hands nothing
// back.
class TControlProfesores : public QDialog {
    Q_OBJECT
  public:
    // Opens PROFT.DBF of `directorioTrabajo` for shared access (the import run
    // holds it open too); a refused save is shown through `avisos`.
    TControlProfesores(QWidget* propietario, const std::filesystem::path& directorioTrabajo,
                       ui::Avisos& avisos);
    TControlProfesores(QWidget* propietario, const std::filesystem::path& directorioTrabajo);
    ~TControlProfesores() override; // closes the table

    Tabla& wwTableProft() const { return *wwTableProft_; }

  protected:
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void ProftDBGridEnter();
    void ProftDBGridExit();
    void BitBtn1Click();
    void AlCambiarFoco(QWidget* antes, QWidget* ahora);
    bool EnRejilla(const QWidget* w) const;
    void Maquetar();

    // The controls under the dialog's names for them, which are also their
    // object names: tests find them by those.
    ui::PanelDegradado* Panel = nullptr;
    QLabel* Label1 = nullptr;
    ui::NavegadorDatos* wwDBNavigator1 = nullptr;
    ui::RejillaDatos* ProftDBGrid = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    std::unique_ptr<Tabla> wwTableProft_;
    ui::ModeloTabla* modelo_ = nullptr;
    bool cerrandoSinSalir_ = false; // the title bar's close box: nothing more is saved
};

// Creates the dialog owned by `propietario` (the form variable
// ControlProfesores), which opens PROFT.DBF of `directorioTrabajo` for shared
// access; shows it modally; frees it, which closes the table. What was saved
// stays in the table; nothing is handed back.
void CompletarProfesoresConDialogo(QWidget* propietario, const std::filesystem::path& directorioTrabajo);

} // namespace durlavex
