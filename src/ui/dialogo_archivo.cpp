#include "ui/dialogo_archivo.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QStringList>
#include <QTreeView>

namespace durlavex::ui {
namespace {

// The kind of an entry in the dialog's list: Qt's Spanish translation lacks
// the words for the entries that are no files (English "Folder"); files keep
// the description of their type, which already comes in the user's language.
class TiposEnCastellano : public QFileIconProvider {
  public:
    QString type(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return QStringLiteral("Unidad");
        if (info.isSymLink() && !info.exists())
            return QStringLiteral("Acceso directo");
        if (info.isDir())
            return QStringLiteral("Carpeta");
        return QFileIconProvider::type(info);
    }
};

class DialogoArchivoDelSistema : public DialogoArchivo {
  public:
    std::optional<QString> Elegir(QWidget* padre) override
    {
        QFileDialog dialogo(padre, QStringLiteral("Archivo XML"));
        dialogo.setIconProvider(&tipos_);
        dialogo.setAcceptMode(QFileDialog::AcceptOpen);
        dialogo.setFileMode(QFileDialog::AnyFile);
        dialogo.setNameFilter(QStringLiteral("*.xml (*.xml)"));
        dialogo.setDefaultSuffix(QStringLiteral("xml"));
        // Room for the size, type and date columns beside the names, each as
        // wide as what it shows.
        dialogo.resize(760, 460);
        if (auto* lista = dialogo.findChild<QTreeView*>(QStringLiteral("treeView"))) {
            for (int columna = 1; columna < lista->header()->count(); ++columna)
                lista->header()->setSectionResizeMode(columna, QHeaderView::ResizeToContents);
        }
        if (dialogo.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList elegidos = dialogo.selectedFiles();
        if (elegidos.isEmpty())
            return std::nullopt;
        return elegidos.first();
    }

  private:
    TiposEnCastellano tipos_;
};

} // namespace

DialogoArchivo& DialogoArchivo::DelSistema()
{
    static DialogoArchivoDelSistema dialogo;
    return dialogo;
}

} // namespace durlavex::ui
