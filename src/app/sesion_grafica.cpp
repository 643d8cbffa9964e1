#include "app/sesion_grafica.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace durlavex {
namespace {

struct Retenido {
    QtMsgType tipo;
    int linea;
    QByteArray categoria, archivo, funcion;
    QString texto;
};

QtMessageHandler anterior = nullptr;
std::vector<Retenido> retenidos;

void AlMensajeDeArranque(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (tipo == QtFatalMsg) {
        // The only fatal message while the application is being created is
        // the one about the platform plugin: no display could be opened.
        const QByteArray mensaje = TextoSinSesionGrafica();
        std::fwrite(mensaje.constData(), 1, static_cast<std::size_t>(mensaje.size()), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    retenidos.push_back({tipo, contexto.line, contexto.category, contexto.file, contexto.function, texto});
}

} // namespace

QByteArray TextoSinSesionGrafica()
{
    const QByteArray x11 = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    QByteArray texto = "Durlavex necesita una sesión gráfica ";
    if (x11.isEmpty() && wayland.isEmpty())
        texto += "y aquí no hay ninguna (no están definidas DISPLAY ni WAYLAND_DISPLAY).\n";
    else
        texto += "y no ha podido abrir la pantalla «" + (x11.isEmpty() ? wayland : x11) + "».\n";
    texto += "Para trabajar sin ventanas use la línea de órdenes: durlavex-cli --help\n";
    return texto;
}

VigilanciaSesionGrafica::VigilanciaSesionGrafica()
{
    anterior = qInstallMessageHandler(&AlMensajeDeArranque);
}

VigilanciaSesionGrafica::~VigilanciaSesionGrafica()
{
    qInstallMessageHandler(anterior);
    for (const Retenido& r : std::exchange(retenidos, {})) {
        QMessageLogContext contexto(r.archivo.isEmpty() ? nullptr : r.archivo.constData(), r.linea,
                                    r.funcion.isEmpty() ? nullptr : r.funcion.constData(),
                                    r.categoria.isEmpty() ? nullptr : r.categoria.constData());
        qt_message_output(r.tipo, contexto, r.texto);
    }
}

} // namespace durlavex
