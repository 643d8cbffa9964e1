#include "import/dialogos/AvisoClaves.h"

#include "ui/ayuda.h"
#include "ui/fuentes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace durlavex {

namespace {

// The help page of the import, where the check is explained.
constexpr int kContextoAyuda = 4;

} // namespace

TAvisoClaves::TAvisoClaves(QWidget* propietario, const QString& informe)
    : QDialog(propietario,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AvisoClaves"));
    setWindowTitle(QStringLiteral("Comprobación para Vorna"));
    setFont(ui::SansSerifClasica());
    setProperty(ui::kPropiedadContextoAyuda, kContextoAyuda);

    LabelAviso = new QLabel(
        QStringLiteral("El archivo de resultado está escrito. Antes de cargarlo en Vorna, revise esto:"),
        this);
    LabelAviso->setObjectName(QStringLiteral("LabelAviso"));
    LabelAviso->setWordWrap(true);

    TextoInforme = new QPlainTextEdit(informe, this);
    TextoInforme->setObjectName(QStringLiteral("TextoInforme"));
    TextoInforme->setReadOnly(true);
    // Reading, selecting and copying only: the report is not the person's to edit.
    TextoInforme->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    TextoInforme->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    BCopiar = new QPushButton(QStringLiteral("Copiar"), this);
    BCopiar->setObjectName(QStringLiteral("BCopiar"));
    BCopiar->setAutoDefault(false);
    BCerrar =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Cerrar"), this);
    BCerrar->setObjectName(QStringLiteral("BCerrar"));
    BCerrar->setDefault(true);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BCopiar);
    botones->addWidget(BCerrar);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(LabelAviso);
    columna->addWidget(TextoInforme, 1);
    columna->addLayout(botones);
    resize(720, 460);

    for (QWidget* w : {static_cast<QWidget*>(TextoInforme), static_cast<QWidget*>(BCopiar),
                       static_cast<QWidget*>(BCerrar)})
        w->setProperty(ui::kPropiedadContextoAyuda, kContextoAyuda);

    connect(BCopiar, &QPushButton::clicked, this, &TAvisoClaves::BCopiarClick);
    connect(BCerrar, &QPushButton::clicked, this, &QDialog::accept);
    BCerrar->setFocus();
}

void TAvisoClaves::BCopiarClick()
{
    QGuiApplication::clipboard()->setText(TextoInforme->toPlainText());
}

void MostrarAvisoClaves(QWidget* propietario, const QString& informe)
{
    auto* aviso = new TAvisoClaves(propietario, informe);
    aviso->exec();
    delete aviso;
}

} // namespace durlavex
