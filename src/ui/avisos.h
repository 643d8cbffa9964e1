#pragma once
// The two boxes a person is shown: the plain message box (one OK button) and
// the error box (stop icon, one OK button), both titled with the application
// title. Windows and dialogs show them through this seam so that tests can
// record what would have been shown instead of opening a modal box.

#include <QString>

class QWidget;

namespace durlavex::ui {

class Avisos {
  public:
    virtual ~Avisos() = default;

    // A plain message; returns when the person has dismissed it.
    virtual void Mensaje(QWidget* padre, const QString& texto) = 0;

    // An error box with the text exactly as given (see MostrarError).
    virtual void Error(QWidget* padre, const QString& texto) = 0;

    // The real boxes (QMessageBox).
    static Avisos& DelSistema();
};

// Shows an error that ended an operation: the error box's full-stop rule
// applied to the text (UTF-8 or QString), then the box.
void MostrarError(Avisos& avisos, QWidget* padre, const QString& textoError);

} // namespace durlavex::ui
