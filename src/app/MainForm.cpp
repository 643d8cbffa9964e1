#include "app/MainForm.h"

#include "app/interaccion_ventana.h"
#include "export/exportacion.h"
#include "import/importacion.h"
#include "import/informe_claves.h"
#include "platform/error.h"
#include "platform/ini.h"
#include "platform/numeros.h"
#include "platform/rutas.h"
#include "platform/texto.h"
#include "ui/avisos.h"
#include "ui/ayuda.h"
#include "ui/dialogo_archivo.h"
#include "ui/fuentes.h"
#include "ui/incrustacion.h"
#include "ui/panel_degradado.h"
#include "ui/rutas_qt.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

namespace durlavex {
namespace {

namespace fs = std::filesystem;

constexpr int kAncho = 632;
constexpr int kAlto = 266;
constexpr int kAltoPanelSuperior = 169;
constexpr int kAltoFranjaInferior = 97;

const char* const kArchivoResultado = "Talvorin.ini";

QLabel* Rotulo(const char* nombre, const QString& texto, QWidget* padre)
{
    auto* rotulo = new QLabel(texto, padre);
    rotulo->setObjectName(QLatin1String(nombre));
    rotulo->setFont(ui::ArialNegritaPuntos(12));
    rotulo->setWordWrap(true);
    rotulo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return rotulo;
}

QPushButton* Boton(const char* nombre, const QString& texto, QStyle::StandardPixmap glifo, QWidget* padre)
{
    auto* boton = new QPushButton(texto, padre);
    boton->setObjectName(QLatin1String(nombre));
    if (glifo != QStyle::SP_CustomBase)
        boton->setIcon(padre->style()->standardIcon(glifo));
    boton->setAutoDefault(false);
    return boton;
}

} // namespace

TMForm::TMForm(EntornoVentana entorno, QWidget* padre) : QWidget(padre), entorno_(std::move(entorno))
{
    if (entorno_.avisos == nullptr)
        entorno_.avisos = &ui::Avisos::DelSistema();
    if (entorno_.dialogoArchivo == nullptr)
        entorno_.dialogoArchivo = &ui::DialogoArchivo::DelSistema();
    if (entorno_.ventanas == nullptr)
        entorno_.ventanas = &ui::VentanasAnfitrion::DelSistema();
    interaccion_ = std::make_unique<InteraccionVentana>(this, *entorno_.avisos, entorno_.dialogos);
    setObjectName(QStringLiteral("MForm"));
    CrearControles();
    FormCreate();
}

TMForm::~TMForm() = default;

void TMForm::CrearControles()
{
    setWindowTitle(QStringLiteral("Exportar e importar datos entre Talvorin y Vorna"));
    // A dialog-style frame (title and close button only, no resizing), yet a
    // window of its own on the taskbar.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kAncho, kAlto);
    setProperty(ui::kPropiedadContextoAyuda, kContextoAyuda);

    const QColor arribaInicio(249, 211, 125), arribaFin(255, 238, 221);
    Draw3D2 = new ui::PanelDegradado(arribaInicio, Qt::white, arribaFin, this);
    Draw3D2->setObjectName(QStringLiteral("Draw3D2"));
    Draw3D2->setGeometry(0, 0, kAncho / 2, kAltoPanelSuperior);
    Draw3D3 = new ui::PanelDegradado(arribaInicio, Qt::white, arribaFin, this);
    Draw3D3->setObjectName(QStringLiteral("Draw3D3"));
    Draw3D3->setGeometry(kAncho / 2, 0, kAncho - kAncho / 2, kAltoPanelSuperior);
    Draw3D1 =
        new ui::PanelDegradado(QColor(194, 205, 254), QColor(207, 242, 254), QColor(204, 216, 230), this);
    Draw3D1->setObjectName(QStringLiteral("Draw3D1"));
    Draw3D1->setGeometry(0, kAlto - kAltoFranjaInferior, kAncho, kAltoFranjaInferior);

    // Each direction's text as tall as it wraps to in the font it got, its
    // button where the design has it or, when the text needs more lines,
    // just below them.
    Label3 = Rotulo("Label3", QStringLiteral("Transformar datos desde Vorna hacia Talvorin "), Draw3D2);
    BExportar = Boton("BExportar", QStringLiteral("Aceptar"), QStyle::SP_DialogOkButton, Draw3D2);
    Label4 = Rotulo("Label4", QStringLiteral("Transformar datos desde Talvorin hacia Vorna"), Draw3D3);
    BImportar = Boton("BImportar", QStringLiteral("Aceptar"), QStyle::SP_DialogOkButton, Draw3D3);
    for (auto [rotulo, boton] : {std::pair{Label3, BExportar}, std::pair{Label4, BImportar}}) {
        const int alto = std::max(64, rotulo->heightForWidth(268));
        rotulo->setGeometry(24, 20, 268, alto);
        boton->setGeometry(108, std::max(108, 20 + alto + 4), 100, 32);
    }

    BClose = Boton("BClose", QStringLiteral("&Salir"), QStyle::SP_DialogCloseButton, Draw3D1);
    BClose->setGeometry(266, 10, 100, 32);
    Button1 = Boton("Button1", QStringLiteral("F1 Ayuda"), QStyle::SP_CustomBase, Draw3D1);
    Button1->setGeometry(266, 50, 100, 28);
    Label1 = new QLabel(QStringLiteral("Durlavex para VX21 V-1.0"), Draw3D1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont negrita = Label1->font();
    negrita.setBold(true);
    Label1->setFont(negrita);
    QPalette rojo = Label1->palette();
    rojo.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(rojo);
    Label1->adjustSize();
    Label1->move(8, kAltoFranjaInferior - Label1->height() - 6);

    for (QWidget* w :
         {static_cast<QWidget*>(Draw3D1), static_cast<QWidget*>(Draw3D2), static_cast<QWidget*>(Draw3D3),
          static_cast<QWidget*>(BClose), static_cast<QWidget*>(Button1), static_cast<QWidget*>(BExportar),
          static_cast<QWidget*>(BImportar)})
        w->setProperty(ui::kPropiedadContextoAyuda, kContextoAyuda);

    setTabOrder(BClose, Button1);
    setTabOrder(Button1, BExportar);
    setTabOrder(BExportar, BImportar);

    connect(BClose, &QPushButton::clicked, this, &QWidget::close);
    connect(Button1, &QPushButton::clicked, this, &TMForm::Button1Click);
    connect(BExportar, &QPushButton::clicked, this, &TMForm::BExportarClick);
    connect(BImportar, &QPushButton::clicked, this, &TMForm::BImportarClick);
}

void TMForm::FormCreate()
{
    resultadoProceso_ = 0;
    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - QPoint(kAncho / 2, kAlto / 2));
    if (entorno_.parametros.size() == 2)
        ReconocerAnfitrion();
}

// The host's window handle comes as hexadecimal digits. A handle that is no
// number, or names no window, leaves an ordinary window: the direction still
// runs when it is shown, but nothing closes it or writes the result code.
void TMForm::ReconocerAnfitrion()
{
    const std::string textoHandle = "$" + Utf8AAnsi(entorno_.parametros[1].toStdString()).Bytes();
    std::int32_t handle = 0;
    try {
        handle = HexAEntero(textoHandle);
    } catch (const Error& e) {
        MostrarError(e.what());
        return;
    }
    const WId anfitrion = static_cast<WId>(static_cast<std::uint32_t>(handle));
    if (!entorno_.ventanas->Existe(anfitrion)) {
        MostrarError(
            "No existe la ventana " + AnsiAUtf8(VistaAnsi(textoHandle)) +
            " en la que el programa que abrió Durlavex pedía mostrarlo; se abre como una ventana normal");
        return;
    }
    // Only the frameless flag: with the title bar's flags beside it, Qt would
    // drop it again when the native window is made.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    entorno_.ventanas->Incrustar(this, anfitrion);
    move(0, 0);
    numParametros_ = static_cast<int>(entorno_.parametros.size());
    vigilante_ = new ui::VigilanteAnfitrion(
        *entorno_.ventanas, anfitrion, [this] { AnfitrionDesaparecido(); }, this);
}

void TMForm::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (mostrada_)
        return;
    mostrada_ = true;
    // After the window has appeared, so that in host mode the person sees it
    // behind the file dialog.
    QTimer::singleShot(0, this, &TMForm::FormShow);
}

void TMForm::FormShow()
{
    if (formShowEjecutado_)
        return;
    formShowEjecutado_ = true;
    if (entorno_.parametros.size() != 2)
        return;
    const std::string direccion = MinusculasAscii(entorno_.parametros[0].toStdString());
    if (direccion == "importar")
        BImportarClick();
    if (direccion == "exportar")
        BExportarClick();
}

bool TMForm::ElegirArchivoXML()
{
    const std::optional<QString> elegido = entorno_.dialogoArchivo->Elegir(this);
    if (elegido)
        archivoXML_ = ui::RutaDe(*elegido);
    return elegido.has_value();
}

fs::path TMForm::DirectorioTrabajoCorrida() const
{
    return entorno_.directorioTrabajo.empty() ? DirectorioTrabajo() : entorno_.directorioTrabajo;
}

// The host's window has gone. A run that is waiting for the person (the
// template or teacher dialog) is let finish first, so that no run goes on
// writing tables after the window has closed and the result code was written.
void TMForm::AnfitrionDesaparecido()
{
    if (corriendo_)
        cerrarTrasCorrida_ = true;
    else
        close();
}

template <typename Corrida> void TMForm::Correr(Corrida corrida)
{
    corriendo_ = true;
    corrida();
    corriendo_ = false;
    if (cerrarTrasCorrida_)
        close();
}

void TMForm::BExportarClick()
{
    Correr([this] { Exportar(); });
}

void TMForm::BImportarClick()
{
    Correr([this] { Importar(); });
}

void TMForm::Exportar()
{
    ElegirArchivoXML();
    OpcionesExportacion opciones;
    opciones.archivoXml = archivoXML_;
    opciones.directorioTrabajo = DirectorioTrabajoCorrida();
    opciones.carpetaPrograma = entorno_.carpetaPrograma;
    const ResultadoExportacion resultado = EjecutarExportacion(opciones, *interaccion_);
    AtenderDesenlace(resultado, [&] {
        jornadaElegida_ = resultado.JornadaElegida;
        std::string donde = "Tablas de Talvorin: " + TextoRuta(resultado.directorioTrabajo) + "\n";
        if (resultado.copiaSeguridad.empty())
            donde += "No había tablas anteriores que copiar.";
        else
            donde += "Copia de seguridad de las tablas anteriores: " + TextoRuta(resultado.copiaSeguridad);
        CorridaFinalizada(donde);
    });
}

void TMForm::Importar()
{
    ElegirArchivoXML();
    OpcionesCorrida opciones;
    opciones.archivoXml = archivoXML_;
    opciones.directorioTrabajo = DirectorioTrabajoCorrida();
    const ResultadoImportacion resultado = EjecutarImportacion(opciones, *interaccion_);
    AtenderDesenlace(resultado, [&] {
        std::optional<QString> aviso;
        if (resultado.claves.HayQueAvisar())
            aviso = QString::fromStdString(TextoInformeClaves(resultado.claves));
        CorridaFinalizada("Archivo de resultado: " + TextoRuta(resultado.archivoResultado), aviso);
    });
}

// What follows a run, whichever direction it took.
void TMForm::AtenderDesenlace(const ResultadoCorrida& resultado, const std::function<void()>& finalizada)
{
    switch (resultado.desenlace) {
    case Desenlace::Finalizado:
        finalizada();
        break;
    case Desenlace::Detenido:
        if (resultado.detencion == Detencion::ArchivoInexistente)
            ArchivoInexistente();
        // A teacher still incomplete ends the program: the window closes,
        // and in host mode Talvorin gets the result code as it stands.
        if (resultado.detencion == Detencion::ProfesorIncompleto)
            close();
        break;
    case Desenlace::Error:
        MostrarError(resultado.mensaje);
        break;
    }
}

// "No existe archivo" has been shown by the run.
void TMForm::ArchivoInexistente()
{
    if (numParametros_ != 2)
        return;
    resultadoProceso_ = -1;
    close();
}

// "Proceso finalizado", then where the run left what it wrote, and after an
// import the lessons Vorna will not recognise, when there are any: before
// the window closes in host mode.
void TMForm::CorridaFinalizada(const std::string& donde, const std::optional<QString>& avisoClaves)
{
    resultadoProceso_ = 1;
    entorno_.avisos->Mensaje(this, QStringLiteral("Proceso finalizado\n\n") + QString::fromStdString(donde));
    if (avisoClaves && entorno_.dialogos.avisarClaves)
        entorno_.dialogos.avisarClaves(this, *avisoClaves);
    BExportar->setEnabled(false);
    BImportar->setEnabled(false);
    if (numParametros_ == 2)
        close();
}

void TMForm::MostrarError(const std::string& mensaje)
{
    ui::MostrarError(*entorno_.avisos, this, QString::fromStdString(mensaje));
}

void TMForm::Button1Click()
{
    if (entorno_.ayuda == nullptr)
        return;
    entorno_.ayuda->FijarArchivo(QStringLiteral("VORNA.chm"));
    entorno_.ayuda->MostrarContenido();
}

void TMForm::FormClose()
{
    if (numParametros_ != 2)
        return;
    const std::optional<fs::path> existente = BuscarArchivo(entorno_.carpetaPrograma, kArchivoResultado);
    const fs::path ini = existente ? *existente : entorno_.carpetaPrograma / kArchivoResultado;
    try {
        EscribirCadenaIni(ini, "Transformadores", "Transformado", std::to_string(resultadoProceso_));
    } catch (const std::exception& e) {
        // The window still closes: Talvorin reads no result and the person
        // has been told why.
        MostrarError(e.what());
    }
}

void TMForm::closeEvent(QCloseEvent* evento)
{
    if (cerrada_) {
        evento->accept();
        return;
    }
    cerrada_ = true;
    if (vigilante_ != nullptr)
        vigilante_->Detener();
    FormClose();
    evento->accept();
    emit Cerrada();
}

} // namespace durlavex
