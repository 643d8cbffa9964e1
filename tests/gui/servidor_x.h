#pragma once
// An Xvfb started for a test, stopped with it.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <chrono>
#include <memory>
#include <thread>

namespace durlavex::pruebas {

class ServidorX {
  public:
    // The display's name (":93"); empty when there is no Xvfb or it did not
    // come up. `pantalla` is Xvfb's screen, e.g. "1280x1024x24".
    QString Iniciar(const QString& pantalla = {})
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return {};
        for (int numero = 90 + QCoreApplication::applicationPid() % 50; numero < 200; ++numero) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(numero)) ||
                QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(numero)))
                continue;
            const QString nombre = QStringLiteral(":%1").arg(numero);
            QStringList argumentos{nombre, QStringLiteral("-nolisten"), QStringLiteral("tcp")};
            if (!pantalla.isEmpty())
                argumentos << QStringLiteral("-screen") << QStringLiteral("0") << pantalla;
            proceso_ = std::make_unique<QProcess>();
            proceso_->start(xvfb, argumentos);
            for (int i = 0; i < 100 && proceso_->state() != QProcess::NotRunning; ++i) {
                if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(numero)))
                    return nombre;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            proceso_.reset();
        }
        return {};
    }
    ~ServidorX()
    {
        if (proceso_) {
            proceso_->terminate();
            proceso_->waitForFinished(3000);
        }
    }

  private:
    std::unique_ptr<QProcess> proceso_;
};

} // namespace durlavex::pruebas
