#pragma once
// Scripted stand-ins for everything the main window meets outside itself, so
// that a test drives it without modal boxes, a file dialog, a host window or a
// help viewer, and then reads what would have been shown.
//
//   PersonaVentana persona;
//   persona.archivos = {QString("/tmp/vorna.xml")};
//   durlavex::TMForm ventana(persona.Entorno({"exportar", "1A2B"}, carpeta));

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/entorno_ventana.h"
#include "ui/avisos.h"
#include "ui/ayuda.h"
#include "ui/dialogo_archivo.h"
#include "ui/incrustacion.h"

namespace durlavex::pruebas {

class AvisosGrabados : public ui::Avisos {
  public:
    QStringList mensajes;
    QStringList errores;
    void Mensaje(QWidget*, const QString& texto) override { mensajes << texto; }
    void Error(QWidget*, const QString& texto) override { errores << texto; }
};

// Answers the file dialog from a list; nothing left means "cancelled".
class DialogoGuionado : public ui::DialogoArchivo {
  public:
    std::deque<std::optional<QString>> respuestas;
    int veces = 0;
    std::optional<QString> Elegir(QWidget*) override
    {
        ++veces;
        std::optional<QString> respuesta;
        if (!respuestas.empty()) {
            respuesta.swap(respuestas.front());
            respuestas.pop_front();
        }
        return respuesta;
    }
};

// Host windows that exist while listed; embedding is only recorded.
class VentanasFalsas : public ui::VentanasAnfitrion {
  public:
    std::set<WId> existentes;
    std::vector<WId> incrustada;
    bool Existe(WId ventana) override { return existentes.count(ventana) != 0; }
    void Incrustar(QWidget*, WId anfitrion) override { incrustada.push_back(anfitrion); }
};

struct PeticionAyuda {
    QString archivo; // file name only
    int contexto;    // 0: the contents
    bool operator==(const PeticionAyuda&) const = default;
};

class VisorGrabado : public ui::VisorAyuda {
  public:
    std::vector<PeticionAyuda> peticiones;
    void Contenido(const std::filesystem::path& archivo) override
    {
        peticiones.push_back({QString::fromStdString(archivo.filename().string()), 0});
    }
    void Contexto(const std::filesystem::path& archivo, int contexto) override
    {
        peticiones.push_back({QString::fromStdString(archivo.filename().string()), contexto});
    }
};

// The person and the window system of one test.
struct PersonaVentana {
    AvisosGrabados avisos;
    DialogoGuionado dialogo;
    VentanasFalsas ventanas;
    std::string plantilla = "J1";            // the answer to the hour-template dialog
    std::function<void()> alElegirPlantilla; // what else happens while that dialog is open
    int plantillasPedidas = 0;
    int profesoresCompletados = 0;
    QStringList avisosClaves;       // the key reports shown after an import
    int mensajesAntesDelAviso = -1; // plain messages already shown when the last one came

    EntornoVentana Entorno(QStringList parametros, std::filesystem::path carpetaPrograma,
                           ui::Ayuda* ayuda = nullptr)
    {
        EntornoVentana e;
        e.parametros = std::move(parametros);
        e.carpetaPrograma = std::move(carpetaPrograma);
        e.avisos = &avisos;
        e.dialogoArchivo = &dialogo;
        e.ventanas = &ventanas;
        e.ayuda = ayuda;
        e.dialogos.elegirPlantilla = [this](QWidget*, const std::filesystem::path&) {
            ++plantillasPedidas;
            if (alElegirPlantilla)
                alElegirPlantilla();
            return plantilla;
        };
        e.dialogos.completarProfesores = [this](QWidget*, const std::filesystem::path&) {
            ++profesoresCompletados;
        };
        e.dialogos.avisarClaves = [this](QWidget*, const QString& informe) {
            mensajesAntesDelAviso = static_cast<int>(avisos.mensajes.size());
            avisosClaves << informe;
        };
        return e;
    }
};

// Sets an environment variable for the life of the object.
class VariableEntorno {
  public:
    VariableEntorno(const char* nombre, const QByteArray& valor)
        : nombre_(nombre), habia_(qEnvironmentVariableIsSet(nombre)), antes_(qgetenv(nombre))
    {
        qputenv(nombre, valor);
    }
    ~VariableEntorno()
    {
        if (habia_)
            qputenv(nombre_, antes_);
        else
            qunsetenv(nombre_);
    }
    VariableEntorno(const VariableEntorno&) = delete;
    VariableEntorno& operator=(const VariableEntorno&) = delete;

  private:
    const char* nombre_;
    bool habia_;
    QByteArray antes_;
};

inline QString TextoQt(const std::filesystem::path& ruta)
{
    return QString::fromStdString(ruta.string());
}

// The value of Transformado in section Transformadores of an ini file;
// "(sin archivo)" when the file does not exist, "(sin clave)" when the key is
// not in that section.
inline QString ValorTransformado(const std::filesystem::path& ini)
{
    QFile archivo(TextoQt(ini));
    if (!archivo.open(QIODevice::ReadOnly))
        return QStringLiteral("(sin archivo)");
    bool enSeccion = false;
    for (QByteArray linea : archivo.readAll().split('\n')) {
        linea = linea.trimmed();
        if (linea.startsWith('['))
            enSeccion = linea.compare("[Transformadores]", Qt::CaseInsensitive) == 0;
        else if (enSeccion && linea.startsWith("Transformado="))
            return QString::fromLatin1(linea.mid(13));
    }
    return QStringLiteral("(sin clave)");
}

} // namespace durlavex::pruebas
