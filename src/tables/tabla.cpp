#include "tables/tabla.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/comillas.h"
#include "platform/dbf/archivo_dbf.h"
#include "platform/error.h"
#include "platform/numeros.h"
#include "platform/rutas.h"
#include "platform/texto.h"
#include "tables/expresion_filtro.h"
#include "tables/mascara.h"
#include "tables/valores_campo.h"
#include "tables/vista_filas.h"

namespace durlavex {

namespace {

enum class Modo { Consulta, Agregando, Editando };

std::vector<std::string> SepararCampos(std::string_view campos)
{
    std::vector<std::string> nombres;
    for (;;) {
        const std::size_t fin = campos.find(';');
        nombres.emplace_back(Recortar(campos.substr(0, fin)));
        if (fin == std::string_view::npos)
            return nombres;
        campos.remove_prefix(fin + 1);
    }
}

std::string TextoDeFlotante(double valor)
{
    char texto[64];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor);
    return std::string(texto, r.ptr);
}

dbf::Campo CampoDbf(const DefinicionCampo& definicion, std::string_view tabla)
{
    dbf::Campo campo;
    campo.nombre = definicion.nombre;
    switch (definicion.tipo) {
    case TipoCampo::Texto:
        if (definicion.ancho < 1 || definicion.ancho > 254)
            throw Error("El campo de texto " + EntreAnsi(definicion.nombre) + " de la tabla " +
                        EntreAnsi(tabla) + " tiene un ancho de " + std::to_string(definicion.ancho) +
                        " caracteres; debe estar entre 1 y 254");
        campo.tipo = 'C';
        campo.ancho = static_cast<std::uint16_t>(definicion.ancho);
        break;
    case TipoCampo::Logico:
        campo.tipo = 'L';
        campo.ancho = 1;
        break;
    case TipoCampo::Entero:
        campo.tipo = 'N';
        campo.ancho = 11;
        break;
    case TipoCampo::Flotante:
        campo.tipo = 'N';
        campo.ancho = 20;
        campo.decimales = 4;
        break;
    }
    return campo;
}

} // namespace

struct Tabla::Estado {
    fs::path directorio;
    std::string nombre;
    TipoTabla tipo;
    bool exclusiva;
    bool agrupada = false; // appends deferred while open (AgruparEscrituras)

    std::vector<DefinicionCampo> campos;
    std::vector<DefinicionIndice> indices;
    std::vector<MascaraCampo> mascaras;

    // While open.
    std::shared_ptr<dbf::ArchivoDbf> archivo;
    std::uint64_t reescriturasVistas = 0; // the file's rewrite count at the last look
    std::unique_ptr<VistaFilas> vista;
    std::size_t posicion = 0;
    std::optional<std::size_t> filaActual; // kept so the row stays current when rows move
    bool fin = true;
    bool inicio = true;

    // The row being appended or edited: its record bytes, and the fields set
    // so far as they will read back once stored.
    Modo modo = Modo::Consulta;
    std::string registro;
    std::size_t filaEditada = 0;
    // Indexed by field; kept between rows so that setting a field costs no
    // allocation once the row's texts have their room.
    std::vector<std::string> fijados;
    std::vector<char> fijado; // whether fijados[i] was set for this row

    const std::string* Fijado(std::size_t campo) const
    {
        return campo < fijado.size() && fijado[campo] ? &fijados[campo] : nullptr;
    }

    std::string& Fijar(std::size_t campo)
    {
        if (campo >= fijados.size()) {
            fijados.resize(archivo->Campos().size() > campo ? archivo->Campos().size() : campo + 1);
            fijado.resize(fijados.size(), 0);
        }
        fijado[campo] = 1;
        return fijados[campo];
    }

    std::string NombreArchivo() const
    {
        if (tipo == TipoTabla::DBase && fs::path(nombre).extension().empty())
            return nombre + ".DBF";
        return nombre;
    }

    // The table's name in messages: the file name without its extension.
    std::string NombreTabla() const { return MayusculasAscii(fs::path(NombreArchivo()).stem().string()); }

    fs::path Ruta() const
    {
        const fs::path archivo(NombreArchivo());
        const fs::path carpeta =
            archivo.has_parent_path()
                ? (directorio.empty() ? archivo.parent_path() : directorio / archivo.parent_path())
                : directorio;
        return RutaArchivo(carpeta, archivo.filename().string());
    }

    void ComprobarCarpeta(const fs::path& ruta) const
    {
        const fs::path carpeta = ruta.parent_path();
        std::error_code ec;
        if (!carpeta.empty() && !fs::is_directory(carpeta, ec))
            throw Error("No existe la carpeta " + Entre(TextoRuta(carpeta)) + " de la tabla " +
                        EntreAnsi(NombreTabla()));
    }

    void RequiereAbierta() const
    {
        if (!archivo)
            throw Error("La tabla " + EntreAnsi(NombreTabla()) + " no está abierta");
    }

    std::size_t Campo(std::string_view campo) const
    {
        RequiereAbierta();
        if (auto i = archivo->BuscarCampo(campo))
            return *i;
        throw Error("La tabla " + EntreAnsi(NombreTabla()) + " no tiene el campo " + EntreAnsi(campo));
    }

    std::size_t CampoEnEdicion(std::string_view campo) const { return EnEdicion(Campo(campo)); }

    std::size_t EnEdicion(std::size_t campo) const
    {
        RequiereAbierta();
        if (campo >= archivo->Campos().size())
            throw Error("La tabla " + EntreAnsi(NombreTabla()) + " no tiene el campo número " +
                        std::to_string(campo));
        if (modo == Modo::Consulta)
            throw Error("No se puede dar valor al campo " + EntreAnsi(Definicion(campo).nombre) +
                        " de la tabla " + EntreAnsi(NombreTabla()) + ": no hay ninguna fila en edición");
        return campo;
    }

    const dbf::Campo& Definicion(std::size_t campo) const { return archivo->Campos()[campo]; }

    // Takes in what other handles (or this one) wrote since the last look.
    void Sincronizar()
    {
        const bool reescrita = archivo->Reescrituras() != reescriturasVistas;
        reescriturasVistas = archivo->Reescrituras();
        if (vista->Actualizar(reescrita))
            Reubicar();
    }

    // Finds the current row again after the rows shown have moved.
    void Reubicar()
    {
        const auto& filas = vista->Filas();
        if (filaActual) {
            for (std::size_t i = 0; i < filas.size(); ++i) {
                if (filas[i] == *filaActual) {
                    posicion = i;
                    return;
                }
            }
        }
        IrA(0);
        fin = inicio = filas.empty();
    }

    void IrA(std::size_t nueva)
    {
        const auto& filas = vista->Filas();
        posicion = nueva;
        filaActual = nueva < filas.size() ? std::optional(filas[nueva]) : std::nullopt;
    }

    const std::vector<std::size_t>& FilasVisibles()
    {
        Sincronizar();
        return vista->Filas();
    }

    std::optional<std::size_t> FilaActual()
    {
        const auto& filas = FilasVisibles();
        if (posicion < filas.size())
            return filas[posicion];
        return std::nullopt;
    }

    // The value of a field as text, from the row being appended or edited
    // when there is one; nothing when there is no row to read.
    std::optional<std::string> Texto(std::size_t campo)
    {
        if (modo != Modo::Consulta) {
            if (const std::string* valor = Fijado(campo))
                return *valor;
            if (modo == Modo::Agregando)
                return std::nullopt;
            return std::string(QuitarBlancosFinales(archivo->Texto(filaEditada, campo)));
        }
        const auto fila = FilaActual();
        if (!fila)
            return std::nullopt;
        return std::string(QuitarBlancosFinales(archivo->Texto(*fila, campo)));
    }

    std::optional<double> Numero(std::size_t campo)
    {
        if (modo != Modo::Consulta) {
            if (const std::string* valor = Fijado(campo))
                return NumeroDeTexto(*valor);
            if (modo == Modo::Agregando)
                return std::nullopt;
            return archivo->Numero(filaEditada, campo);
        }
        const auto fila = FilaActual();
        if (!fila)
            return std::nullopt;
        return archivo->Numero(*fila, campo);
    }

    // Before a move, a lookup or a change of order or filter: the row in
    // editing is stored, as the grid and the steps expect.
    void PrepararConsulta()
    {
        RequiereAbierta();
        if (modo != Modo::Consulta)
            Grabar();
        Sincronizar();
    }

    void ComprobarMascaras()
    {
        for (const MascaraCampo& m : mascaras) {
            const std::size_t campo = Campo(m.campo);
            const std::string valor = Texto(campo).value_or("");
            if (!valor.empty() && !CumpleMascara(valor, m.mascara))
                throw Error("El valor " + EntreAnsi(valor) + " del campo " + EntreAnsi(m.campo) +
                            " de la tabla " + EntreAnsi(NombreTabla()) + " no se ajusta a la máscara " +
                            EntreAnsi(m.mascara));
        }
    }

    void Grabar()
    {
        RequiereAbierta();
        if (modo == Modo::Consulta)
            throw Error("La tabla " + EntreAnsi(NombreTabla()) +
                        " no tiene ninguna fila en edición que grabar");
        ComprobarMascaras();
        if (modo == Modo::Agregando) {
            const std::size_t fila = archivo->Agregar(registro);
            Soltar();
            const auto& filas = FilasVisibles();
            if (!filas.empty() && filas.back() == fila) {
                IrA(filas.size() - 1);
            } else {
                filaActual = fila; // another order or a filter: find where it went
                Reubicar();
            }
        } else {
            archivo->Reemplazar(filaEditada, registro);
            Soltar();
            Sincronizar();
        }
        fin = inicio = vista->Filas().empty();
    }

    void Soltar()
    {
        modo = Modo::Consulta;
        registro.clear();
        std::fill(fijado.begin(), fijado.end(), 0);
    }

    void PonerTextoSegunTipo(std::size_t campo, std::string_view valor)
    {
        const dbf::Campo& definicion = Definicion(campo);
        if (EsCampoNumerico(definicion)) {
            if (EsBlanco(valor)) {
                archivo->PonerTexto(registro, campo, "");
                Fijar(campo) = "";
                return;
            }
            const auto numero = NumeroDeTexto(valor);
            if (!numero)
                throw Error("El valor " + EntreAnsi(valor) + " no es un número válido para el campo " +
                            EntreAnsi(definicion.nombre) + " de la tabla " + EntreAnsi(NombreTabla()));
            PonerNumero(campo, *numero);
            return;
        }
        if (definicion.tipo == 'L') {
            const std::string_view v = Recortar(valor);
            if (v.empty()) {
                archivo->PonerTexto(registro, campo, "");
                Fijar(campo) = "";
                return;
            }
            const char c = v.size() == 1 ? v[0] : '?';
            if (std::string_view("TtYySs").find(c) != std::string_view::npos)
                return PonerLogico(campo, true);
            if (std::string_view("FfNn").find(c) != std::string_view::npos)
                return PonerLogico(campo, false);
            throw Error("El valor " + EntreAnsi(valor) + " no es un valor lógico válido para el campo " +
                        EntreAnsi(definicion.nombre) + " de la tabla " + EntreAnsi(NombreTabla()));
        }
        archivo->PonerTexto(registro, campo, valor);
        Fijar(campo) =
            QuitarBlancosFinales(valor.substr(0, std::min<std::size_t>(valor.size(), definicion.ancho)));
    }

    void PonerNumero(std::size_t campo, double valor)
    {
        archivo->PonerNumero(registro, campo, valor);
        Fijar(campo) = TextoDeNumero(valor, Definicion(campo).decimales);
    }

    void PonerLogico(std::size_t campo, bool valor)
    {
        archivo->PonerLogico(registro, campo, valor);
        Fijar(campo) = valor ? "T" : "F";
    }

    void Cerrar()
    {
        Soltar();
        vista.reset();
        const std::shared_ptr<dbf::ArchivoDbf> soltado = std::move(archivo);
        archivo.reset();
        posicion = 0;
        filaActual.reset();
        fin = inicio = true;
        // The handle is closed even when writing the deferred rows fails.
        if (soltado && agrupada)
            soltado->DiferirEscritura(false);
    }
};

Tabla::Tabla(std::filesystem::path directorio, std::string nombre, TipoTabla tipo, bool exclusiva)
    : estado_(std::make_unique<Estado>())
{
    estado_->directorio = std::move(directorio);
    estado_->nombre = std::move(nombre);
    estado_->tipo = tipo;
    estado_->exclusiva = exclusiva;
}

Tabla::~Tabla() = default;

void Tabla::FijarDirectorio(std::filesystem::path directorio)
{
    estado_->directorio = std::move(directorio);
}
const std::filesystem::path& Tabla::Directorio() const
{
    return estado_->directorio;
}
const std::string& Tabla::Nombre() const
{
    return estado_->nombre;
}
std::filesystem::path Tabla::Ruta() const
{
    return estado_->Ruta();
}

void Tabla::DefinirCampos(std::vector<DefinicionCampo> campos)
{
    estado_->campos = std::move(campos);
}
void Tabla::DefinirIndices(std::vector<DefinicionIndice> indices)
{
    estado_->indices = std::move(indices);
}

void Tabla::Crear()
{
    Estado& e = *estado_;
    const std::string tabla = e.NombreTabla();
    if (e.archivo)
        throw Error("La tabla " + EntreAnsi(tabla) + " está abierta y no se puede crear de nuevo");
    std::vector<dbf::Campo> campos;
    for (const DefinicionCampo& definicion : e.campos)
        campos.push_back(CampoDbf(definicion, tabla));
    std::vector<dbf::Indice> indices;
    for (const DefinicionIndice& definicion : e.indices) {
        const auto nombres = SepararCampos(definicion.campos);
        if (nombres.size() != 1)
            throw Error("El índice " + EntreAnsi(definicion.nombre) + " de la tabla " + EntreAnsi(tabla) +
                        " debe tener un solo campo");
        indices.push_back({definicion.nombre, nombres[0]});
    }
    const fs::path ruta = e.Ruta();
    e.ComprobarCarpeta(ruta);
    dbf::ArchivoDbf::Crear(ruta, campos, indices);
}

void Tabla::Abrir()
{
    Estado& e = *estado_;
    if (e.archivo)
        return;
    const fs::path ruta = e.Ruta();
    e.ComprobarCarpeta(ruta);
    if (!ExisteArchivo(ruta))
        throw Error("No existe la tabla " + EntreAnsi(e.NombreTabla()) + " en la carpeta " +
                    Entre(TextoRuta(ruta.parent_path())));
    auto archivo =
        dbf::ArchivoDbf::Abrir(ruta, e.exclusiva ? dbf::Acceso::Exclusivo : dbf::Acceso::Compartido);
    e.reescriturasVistas = archivo->Reescrituras();
    if (e.agrupada)
        archivo->DiferirEscritura(true);
    e.vista = std::make_unique<VistaFilas>(*archivo);
    e.archivo = std::move(archivo);
    e.IrA(0);
    e.fin = e.inicio = e.vista->Filas().empty();
}

void Tabla::Cerrar()
{
    estado_->Cerrar();
}
void Tabla::AgruparEscrituras()
{
    estado_->agrupada = true;
}
bool Tabla::Abierta() const
{
    return estado_->archivo != nullptr;
}

void Tabla::Agregar()
{
    Estado& e = *estado_;
    e.RequiereAbierta();
    if (e.modo != Modo::Consulta)
        e.Grabar();
    e.registro = e.archivo->RegistroVacio();
    e.modo = Modo::Agregando;
}

void Tabla::Editar()
{
    Estado& e = *estado_;
    e.RequiereAbierta();
    if (e.modo != Modo::Consulta)
        return;
    const auto fila = e.FilaActual();
    if (!fila)
        throw Error("La tabla " + EntreAnsi(e.NombreTabla()) + " no tiene ninguna fila que editar");
    e.registro = e.archivo->Registro(*fila);
    e.filaEditada = *fila;
    e.modo = Modo::Editando;
}

void Tabla::Grabar()
{
    estado_->Grabar();
}
void Tabla::Cancelar()
{
    estado_->Soltar();
}
bool Tabla::EnEdicion() const
{
    return estado_->modo != Modo::Consulta;
}

void Tabla::FijarTexto(std::string_view campo, VistaAnsi valor)
{
    FijarTexto(BuscarCampo(campo), valor);
}

CampoTabla Tabla::BuscarCampo(std::string_view campo) const
{
    return {estado_->Campo(campo)};
}

void Tabla::FijarTexto(CampoTabla campo, VistaAnsi valor)
{
    estado_->PonerTextoSegunTipo(estado_->EnEdicion(campo.indice), valor.Bytes());
}

void Tabla::FijarLogico(std::string_view campo, bool valor)
{
    Estado& e = *estado_;
    const std::size_t i = e.CampoEnEdicion(campo);
    if (e.Definicion(i).tipo != 'L')
        throw Error("El campo " + EntreAnsi(campo) + " de la tabla " + EntreAnsi(e.NombreTabla()) +
                    " no es lógico");
    e.PonerLogico(i, valor);
}

void Tabla::FijarEntero(std::string_view campo, std::int32_t valor)
{
    Estado& e = *estado_;
    const std::size_t i = e.CampoEnEdicion(campo);
    if (EsCampoNumerico(e.Definicion(i)))
        e.PonerNumero(i, valor);
    else
        e.PonerTextoSegunTipo(i, std::to_string(valor));
}

void Tabla::FijarFlotante(std::string_view campo, double valor)
{
    FijarFlotante(BuscarCampo(campo), valor);
}

void Tabla::FijarFlotante(CampoTabla campo, double valor)
{
    Estado& e = *estado_;
    const std::size_t i = e.EnEdicion(campo.indice);
    if (EsCampoNumerico(e.Definicion(i)))
        e.PonerNumero(i, valor);
    else
        e.PonerTextoSegunTipo(i, TextoDeFlotante(valor));
}

TextoAnsi Tabla::LeerTexto(std::string_view campo) const
{
    return TextoAnsi(estado_->Texto(estado_->Campo(campo)).value_or(""));
}

std::int32_t Tabla::LeerEntero(std::string_view campo) const
{
    Estado& e = *estado_;
    const std::size_t i = e.Campo(campo);
    if (!EsCampoNumerico(e.Definicion(i))) {
        const std::string texto = e.Texto(i).value_or("");
        return texto.empty() ? 0 : TextoAEntero(texto);
    }
    const double valor = e.Numero(i).value_or(0.0);
    if (valor != std::trunc(valor) || valor < std::numeric_limits<std::int32_t>::min() ||
        valor > std::numeric_limits<std::int32_t>::max())
        throw Error("El valor " + EntreAnsi(e.Texto(i).value_or("")) + " del campo " + EntreAnsi(campo) +
                    " de la tabla " + EntreAnsi(e.NombreTabla()) + " no es un número entero");
    return static_cast<std::int32_t>(valor);
}

double Tabla::LeerFlotante(std::string_view campo) const
{
    Estado& e = *estado_;
    const std::size_t i = e.Campo(campo);
    if (EsCampoNumerico(e.Definicion(i)))
        return e.Numero(i).value_or(0.0);
    const std::string texto = e.Texto(i).value_or("");
    if (texto.empty())
        return 0.0;
    if (auto numero = NumeroDeTexto(texto))
        return *numero;
    throw ErrorConversion("'" + AnsiAUtf8(VistaAnsi(texto)) + "' no es un valor de coma flotante válido");
}

bool Tabla::TieneCampo(std::string_view campo) const
{
    estado_->RequiereAbierta();
    return estado_->archivo->BuscarCampo(campo).has_value();
}

void Tabla::Primero()
{
    Estado& e = *estado_;
    e.PrepararConsulta();
    e.IrA(0);
    e.fin = e.inicio = e.vista->Filas().empty();
}

void Tabla::Siguiente()
{
    Mover(1);
}
void Tabla::Anterior()
{
    Mover(-1);
}

void Tabla::Ultimo()
{
    Estado& e = *estado_;
    e.PrepararConsulta();
    const std::size_t total = e.vista->Filas().size();
    e.IrA(total == 0 ? 0 : total - 1);
    e.fin = e.inicio = total == 0;
}

void Tabla::Mover(int filas)
{
    Estado& e = *estado_;
    e.PrepararConsulta();
    const std::size_t total = e.vista->Filas().size();
    if (total == 0) {
        e.fin = e.inicio = true;
        return;
    }
    if (filas == 0)
        return;
    if (filas > 0) {
        const std::size_t pasos = static_cast<std::size_t>(filas);
        const bool pasa = pasos > total - 1 - e.posicion;
        e.IrA(pasa ? total - 1 : e.posicion + pasos);
        e.fin = pasa;
        e.inicio = false;
    } else {
        const std::size_t pasos = static_cast<std::size_t>(-static_cast<long long>(filas));
        const bool pasa = pasos > e.posicion;
        e.IrA(pasa ? 0 : e.posicion - pasos);
        e.inicio = pasa;
        e.fin = false;
    }
}

bool Tabla::Fin() const
{
    return estado_->fin;
}
bool Tabla::Inicio() const
{
    return estado_->inicio;
}
int Tabla::Posicion() const
{
    return static_cast<int>(estado_->posicion);
}

int Tabla::NumeroFilas() const
{
    estado_->RequiereAbierta();
    return static_cast<int>(estado_->FilasVisibles().size());
}

bool Tabla::Localizar(std::string_view campos, const std::vector<ValorClave>& valores)
{
    Estado& e = *estado_;
    e.RequiereAbierta();
    const auto nombres = SepararCampos(campos);
    if (nombres.size() != valores.size())
        throw Error("Búsqueda en la tabla " + EntreAnsi(e.NombreTabla()) + " con " +
                    std::to_string(nombres.size()) + " campos (" + AnsiAUtf8(VistaAnsi(campos)) + ") y " +
                    std::to_string(valores.size()) + " valores");
    std::vector<std::size_t> indices;
    std::string clave;
    bool posible = true;
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        indices.push_back(e.Campo(nombres[i]));
        const auto fragmento = ClaveDeValor(e.Definicion(indices.back()), valores[i], true);
        posible = posible && fragmento.has_value();
        clave += fragmento.value_or("");
    }
    e.PrepararConsulta();
    if (!posible)
        return false;
    const auto encontrada = e.vista->Buscar(indices, clave);
    if (!encontrada)
        return false;
    e.IrA(*encontrada);
    e.fin = e.inicio = false;
    return true;
}

void Tabla::OrdenarPorIndice(std::string_view campos)
{
    Estado& e = *estado_;
    e.RequiereAbierta();
    std::vector<std::size_t> indices;
    if (!Recortar(campos).empty()) {
        for (const std::string& nombre : SepararCampos(campos))
            indices.push_back(e.Campo(nombre));
    }
    e.PrepararConsulta();
    e.vista->Ordenar(std::move(indices));
    e.Reubicar();
}

void Tabla::Filtrar(std::string_view expresion)
{
    Estado& e = *estado_;
    e.RequiereAbierta();
    const ExpresionFiltro filtro = LeerExpresionFiltro(expresion, e.NombreTabla());
    const std::size_t campo = e.Campo(filtro.campo);
    e.PrepararConsulta();
    e.vista->Filtrar(campo, ClaveDeValor(e.Definicion(campo), filtro.valor, false));
    e.IrA(0);
    e.fin = e.inicio = e.vista->Filas().empty();
}

void Tabla::QuitarFiltro()
{
    Estado& e = *estado_;
    e.PrepararConsulta();
    e.vista->QuitarFiltro();
    e.IrA(0);
    e.fin = e.inicio = e.vista->Filas().empty();
}

void Tabla::DefinirMascaras(std::vector<MascaraCampo> mascaras)
{
    estado_->mascaras = std::move(mascaras);
}

void Tabla::Refrescar()
{
    Estado& e = *estado_;
    e.PrepararConsulta();
    e.vista->Actualizar(true);
    e.Reubicar();
}

} // namespace durlavex
