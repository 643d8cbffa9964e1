#include "platform/ui/dialogo_archivo.h"

#include <QFileDialog>
#include <QStringList>

namespace durlavex::ui {
namespace {

class DialogoArchivoDelSistema : public DialogoArchivo {
public:
    std::optional<QString> Elegir(QWidget* padre) override
    {
        QFileDialog dialogo(padre, QStringLiteral("Archivo XML"));
        dialogo.setAcceptMode(QFileDialog::AcceptOpen);
        dialogo.setFileMode(QFileDialog::AnyFile);
        dialogo.setNameFilter(QStringLiteral("*.xml (*.xml)"));
        dialogo.setDefaultSuffix(QStringLiteral("xml"));
        // Room for the size, type and date columns beside the names.
        dialogo.resize(760, 460);
        if (dialogo.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList elegidos = dialogo.selectedFiles();
        if (elegidos.isEmpty())
            return std::nullopt;
        return elegidos.first();
    }
};

} // namespace

DialogoArchivo& DialogoArchivo::DelSistema()
{
    static DialogoArchivoDelSistema dialogo;
    return dialogo;
}

} // namespace durlavex::ui
