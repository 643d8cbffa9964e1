#pragma once
// The file-open dialog of the main window (OpenDialogXML), behind a seam so
// that tests answer it instead of a person.

#include <QString>

#include <optional>

class QWidget;

namespace durlavex::ui {

class DialogoArchivo {
  public:
    virtual ~DialogoArchivo() = default;

    // The full path the person confirmed; nothing when they cancelled.
    virtual std::optional<QString> Elegir(QWidget* padre) = 0;

    // The real dialog: titled "Archivo XML", one filter "*.xml", default
    // suffix "xml". A name that does not exist is handed back as typed: the
    // caller tells the person that the file is missing.
    static DialogoArchivo& DelSistema();
};

} // namespace durlavex::ui
