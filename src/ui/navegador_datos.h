#pragma once
// The navigator bar over a ModeloTabla: ten buttons, left to right first,
// ten back, prior, next, ten forward, last, edit, post, cancel, refresh. Each
// is enabled only while its action is possible; the move buttons repeat while
// held down; none takes the keyboard focus, so the grid keeps it.

#include <QWidget>

#include <array>

class QToolButton;

namespace durlavex::ui {

class ModeloTabla;

class NavegadorDatos : public QWidget {
    Q_OBJECT
  public:
    enum Boton {
        Primero,
        PaginaAnterior,
        Anterior,
        Siguiente,
        PaginaSiguiente,
        Ultimo,
        Editar,
        Grabar,
        Cancelar,
        Refrescar,
        NumeroBotones
    };

    explicit NavegadorDatos(ModeloTabla& modelo, QWidget* padre = nullptr);

    QToolButton* BotonDe(Boton boton) const { return botones_[boton]; }

    static constexpr int kFilasPorPagina = 10;

  signals:
    // Before a button acts: a grid hands over (or, for cancel, drops) the
    // text still open in its cell editor.
    void AntesDeActuar(NavegadorDatos::Boton boton);

  public slots:
    void ActualizarEstado();

  private:
    void Pulsar(Boton boton);

    ModeloTabla& modelo_;
    std::array<QToolButton*, NumeroBotones> botones_{};
};

} // namespace durlavex::ui
