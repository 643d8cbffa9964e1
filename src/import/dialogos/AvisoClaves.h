#pragma once
// The window that tells, after "Proceso finalizado", which lessons of the
// result file Vorna will not recognise (TAvisoClaves): the check's report,
// to read, scroll and copy. It changes nothing and asks nothing.

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace durlavex {

class TAvisoClaves : public QDialog {
    Q_OBJECT
  public:
    TAvisoClaves(QWidget* propietario, const QString& informe);

  private:
    void BCopiarClick();

    // The controls under their object names, by which tests find them.
    QLabel* LabelAviso = nullptr;
    QPlainTextEdit* TextoInforme = nullptr; // read-only
    QPushButton* BCopiar = nullptr;         // the report to the clipboard
    QPushButton* BCerrar = nullptr;
};

// Creates the dialog owned by `propietario`, shows it modally and frees it.
void MostrarAvisoClaves(QWidget* propietario, const QString& informe);

} // namespace durlavex
