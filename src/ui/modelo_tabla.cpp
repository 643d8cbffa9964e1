#include "ui/modelo_tabla.h"

#include "platform/error.h"
#include "platform/texto.h"
#include "tables/mascara.h"
#include "tables/tabla.h"
#include "ui/mascaras_entrada.h"

#include <algorithm>

namespace durlavex::ui {
namespace {

QString AQString(VistaAnsi ansi)
{
    return QString::fromStdString(AnsiAUtf8(ansi));
}
TextoAnsi AAnsi(const QString& texto)
{
    return Utf8AAnsi(texto.toStdString());
}

} // namespace

ModeloTabla::ModeloTabla(Tabla& tabla, std::vector<ColumnaRejilla> columnas, QObject* padre)
    : QAbstractTableModel(padre), tabla_(tabla), columnas_(std::move(columnas))
{
    Cargar();
    tabla_.Primero();
}

// One walk over the table, keeping the current row where it was.
void ModeloTabla::Cargar()
{
    const int actual = tabla_.Posicion();
    filas_.clear();
    const int total = tabla_.NumeroFilas();
    filas_.reserve(static_cast<std::size_t>(total));
    tabla_.Primero();
    for (int i = 0; i < total; ++i, tabla_.Siguiente()) {
        std::vector<TextoAnsi> fila;
        fila.reserve(columnas_.size());
        for (const auto& c : columnas_)
            fila.push_back(tabla_.LeerTexto(c.campo));
        filas_.push_back(std::move(fila));
    }
    tabla_.Primero();
    tabla_.Mover(std::clamp(actual, 0, std::max(total - 1, 0)));
}

int ModeloTabla::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloTabla::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : static_cast<int>(columnas_.size());
}

QString ModeloTabla::Texto(int fila, int columna) const
{
    if (fila == FilaActual() && tabla_.EnEdicion())
        return AQString(tabla_.LeerTexto(columnas_[columna].campo));
    return AQString(filas_[fila][columna]);
}

QVariant ModeloTabla::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || indice.row() >= rowCount() || indice.column() >= columnCount())
        return {};
    if (rol == Qt::DisplayRole || rol == Qt::EditRole)
        return Texto(indice.row(), indice.column());
    return {};
}

QVariant ModeloTabla::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 && seccion < columnCount())
        return columnas_[seccion].titulo;
    return {};
}

Qt::ItemFlags ModeloTabla::flags(const QModelIndex& indice) const
{
    if (!indice.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (columnas_[indice.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ModeloTabla::setData(const QModelIndex& indice, const QVariant& valor, int rol)
{
    if (rol != Qt::EditRole || !indice.isValid() || !columnas_[indice.column()].editable)
        return false;
    if (indice.row() != FilaActual() && !IrAFila(indice.row()))
        return false;
    const TextoAnsi nuevo = AAnsi(valor.toString());
    const auto& columna = columnas_[indice.column()];
    if (!tabla_.EnEdicion() && tabla_.LeerTexto(columna.campo) == nuevo)
        return true; // an editor closed without a change does not start an edit
    Editar();
    try {
        tabla_.FijarTexto(columna.campo, nuevo);
    } catch (const Error& e) { // a text the field cannot hold (a number field, say)
        emit GrabacionRechazada(indice.row(), indice.column(), QString::fromStdString(e.what()));
        return false;
    }
    emit dataChanged(indice, indice);
    return true;
}

int ModeloTabla::FilaActual() const
{
    return filas_.empty() ? -1 : tabla_.Posicion();
}
bool ModeloTabla::EnEdicion() const
{
    return tabla_.EnEdicion();
}

bool ModeloTabla::IrAFila(int fila)
{
    if (filas_.empty())
        return true;
    fila = std::clamp(fila, 0, rowCount() - 1);
    if (tabla_.EnEdicion() && !Grabar())
        return false;
    if (fila == FilaActual())
        return true;
    tabla_.Mover(fila - tabla_.Posicion());
    emit FilaActualCambiada(FilaActual());
    emit EstadoCambiado();
    return true;
}

void ModeloTabla::Editar()
{
    if (filas_.empty() || tabla_.EnEdicion())
        return;
    tabla_.Editar();
    emit EstadoCambiado();
}

bool ModeloTabla::Grabar()
{
    if (!tabla_.EnEdicion())
        return true;
    const int fila = FilaActual();
    for (std::size_t c = 0; c < columnas_.size(); ++c) {
        const auto& columna = columnas_[c];
        if (columna.mascara.empty())
            continue;
        const TextoAnsi valor = tabla_.LeerTexto(columna.campo);
        if (!valor.Vacio() && !CumpleMascara(valor.Bytes(), columna.mascara)) {
            emit GrabacionRechazada(
                fila, static_cast<int>(c),
                QStringLiteral("El valor de %1 no es válido: %2")
                    .arg(AQString(VistaAnsi(columna.campo)), ExplicacionMascara(columna.mascara)));
            return false;
        }
        if (!valor.Vacio() && columna.fecha && !EsFechaDelCalendario(valor.Bytes())) {
            emit GrabacionRechazada(
                fila, static_cast<int>(c),
                QStringLiteral("El valor de %1 no es válido: %2 no es un día del calendario; %3")
                    .arg(AQString(VistaAnsi(columna.campo)), AQString(valor),
                         ExplicacionMascara(columna.mascara)));
            return false;
        }
    }
    try {
        tabla_.Grabar();
    } catch (const Error& e) {
        emit GrabacionRechazada(fila, -1, QString::fromStdString(e.what()));
        return false;
    }
    for (std::size_t c = 0; c < columnas_.size(); ++c)
        filas_[fila][c] = tabla_.LeerTexto(columnas_[c].campo);
    AvisarFila(fila);
    emit EstadoCambiado();
    return true;
}

void ModeloTabla::Cancelar()
{
    if (!tabla_.EnEdicion())
        return;
    tabla_.Cancelar();
    AvisarFila(FilaActual());
    emit EstadoCambiado();
}

void ModeloTabla::Refrescar()
{
    if (tabla_.EnEdicion() && !Grabar())
        return;
    beginResetModel();
    try {
        tabla_.Refrescar();
        Cargar();
    } catch (const Error& e) { // the file could not be read again: what was read stays
        endResetModel();
        emit GrabacionRechazada(FilaActual(), -1, QString::fromStdString(e.what()));
        return;
    }
    endResetModel();
    emit FilaActualCambiada(FilaActual());
    emit EstadoCambiado();
}

void ModeloTabla::AvisarFila(int fila)
{
    if (fila >= 0 && fila < rowCount())
        emit dataChanged(index(fila, 0), index(fila, columnCount() - 1));
}

} // namespace durlavex::ui
