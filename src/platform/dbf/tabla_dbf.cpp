#include "platform/dbf/tabla_dbf.h"

#include "platform/comillas.h"
#include "platform/dbf/cursor_bytes.h"
#include "platform/dbf/valores.h"
#include "platform/error.h"
#include "platform/rutas.h"
#include "platform/texto.h"

#include <algorithm>
#include <system_error>

namespace durlavex::dbf {
namespace {

char MayusculaAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EsNumerico(const Campo& c)
{
    return std::string_view("NFI+OB@Y").find(c.tipo) != std::string_view::npos;
}

} // namespace

std::optional<fs::path> RutaMdx(const fs::path& tabla)
{
    std::error_code ec;
    for (const char* extension : {".MDX", ".mdx"}) {
        fs::path ruta = tabla;
        ruta.replace_extension(extension);
        if (fs::exists(ruta, ec))
            return ruta;
    }
    return std::nullopt;
}

fs::path RutaMdxNueva(const fs::path& tabla)
{
    return RutaMdx(tabla).value_or(fs::path(tabla).replace_extension(".MDX"));
}

TablaDbf::TablaDbf(std::vector<std::uint8_t> bytes, std::string nombre, fs::path ruta,
                   std::unique_ptr<ArchivoSistema> archivo, bool exclusivo)
    : nombre_(std::move(nombre)), ruta_(std::move(ruta)), estructura_(LeerEstructura(bytes, nombre_)),
      archivo_(std::move(archivo)), exclusivo_(exclusivo)
{
    // Only the header and the counted records are kept: memory stays within
    // the file's size whatever the header claims. The records stay in the
    // buffer the file was read into, moved to its start, not copied anew.
    cabecera_.assign(bytes.begin(), bytes.begin() + estructura_.longitudCabecera);
    numRegistros_ = estructura_.numRegistros;
    const std::size_t datos = numRegistros_ * estructura_.longitudRegistro;
    bytes.erase(bytes.begin(), bytes.begin() + estructura_.longitudCabecera);
    bytes.resize(datos);
    datos_ = std::move(bytes);
    enDisco_ = numRegistros_;
    for (std::size_t i = 0; i < estructura_.campos.size() && nombresDistintos_; ++i)
        for (std::size_t j = i + 1; j < estructura_.campos.size() && nombresDistintos_; ++j)
            nombresDistintos_ = !MismoNombre(estructura_.campos[i].nombre, estructura_.campos[j].nombre);
}

TablaDbf::~TablaDbf()
{
    try {
        EscribirPendientes();
    } catch (...) {
        // Unwinding from another error, or dropped by its last handle without
        // a close: the rows are gone from memory and the file stays whole.
    }
}

void TablaDbf::DiferirEscritura(bool activar)
{
    diferida_ = activar;
    if (!activar)
        EscribirPendientes();
}

void TablaDbf::CargarIndices()
{
    if (!estructura_.indiceProduccion)
        return;
    const auto ruta = RutaMdx(ruta_);
    if (!ruta)
        return; // nothing to keep in step; readers of the table report the missing file themselves
    std::vector<EtiquetaMdx> etiquetas;
    try {
        ArchivoSistema archivo(*ruta, ArchivoSistema::Modo::Abrir);
        etiquetas = LeerEtiquetasMdx(archivo.LeerTodo(), TextoRuta(*ruta));
    } catch (const Error& e) {
        // The table itself stays readable; only posts, which could not keep
        // that index right, are refused.
        indiceNoMantenible_ = e.what();
        return;
    }
    for (const EtiquetaMdx& etiqueta : etiquetas) {
        const auto campo = BuscarCampo(etiqueta.expresion);
        if (!campo || etiqueta.tipoClave != 'N' || !EsNumerico(estructura_.campos[*campo]) ||
            etiqueta.descendente || etiqueta.unico) {
            indiceNoMantenible_ = "su índice " + Entre(TextoRuta(*ruta)) + " tiene la etiqueta " +
                                  EntreAnsi(etiqueta.nombre) + " sobre " + EntreAnsi(etiqueta.expresion) +
                                  ", que este programa no sabe mantener al día";
            continue;
        }
        indices_.push_back({etiqueta.nombre, estructura_.campos[*campo].nombre});
        campoDeIndice_.push_back(*campo);
    }
    ordenes_ = ClavesOrdenadas();
}

void TablaDbf::ExigirExclusivo()
{
    if (exclusivo_)
        return;
    if (archivo_ && !archivo_->Bloquear(true))
        throw Error("La tabla " + Entre(nombre_) +
                    " no se puede abrir en exclusiva porque otro programa la tiene abierta");
    exclusivo_ = true;
}

bool TablaDbf::MismoNombre(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return MayusculaAscii(x) == MayusculaAscii(y);
           });
}

std::optional<std::size_t> TablaDbf::BuscarCampo(std::string_view nombre) const
{
    // Every field set or read asks for its field by name, and rows are mostly
    // written and read field after field: with names that are all different
    // the search starts after the field found last, and usually ends there.
    const auto& campos = estructura_.campos;
    const std::size_t n = campos.size();
    const std::size_t inicio = nombresDistintos_ && campoReciente_ + 1 < n ? campoReciente_ + 1 : 0;
    for (std::size_t k = 0, i = inicio; k < n; ++k, i = i + 1 == n ? 0 : i + 1) {
        if (MismoNombre(campos[i].nombre, nombre)) {
            campoReciente_ = i;
            return i;
        }
    }
    return std::nullopt;
}

const Campo& TablaDbf::CampoEn(std::size_t campo) const
{
    if (campo >= estructura_.campos.size())
        throw Error("La tabla " + Entre(nombre_) + " no tiene un campo número " + std::to_string(campo + 1));
    return estructura_.campos[campo];
}

void TablaDbf::ComprobarFila(std::size_t fila) const
{
    if (fila >= numRegistros_)
        throw Error("La tabla " + Entre(nombre_) + " no tiene un registro " + std::to_string(fila + 1) +
                    " (tiene " + std::to_string(numRegistros_) + ")");
}

void TablaDbf::ComprobarRegistro(const std::string& registro) const
{
    if (registro.size() != estructura_.longitudRegistro)
        throw Error("Un registro de la tabla " + Entre(nombre_) + " debe medir " +
                    std::to_string(estructura_.longitudRegistro) + " bytes y mide " +
                    std::to_string(registro.size()));
}

void TablaDbf::ComprobarEscribible() const
{
    if (!indiceNoMantenible_.empty())
        throw Error("No se puede modificar la tabla " + Entre(nombre_) + ": " + indiceNoMantenible_);
}

std::span<const std::uint8_t> TablaDbf::BytesCampo(std::size_t fila, std::size_t campo) const
{
    const Campo& c = CampoEn(campo);
    ComprobarFila(fila);
    return std::span<const std::uint8_t>(datos_).subspan(
        fila * estructura_.longitudRegistro + c.desplazamiento, c.ancho);
}

std::span<std::uint8_t> TablaDbf::BytesCampo(std::string& registro, std::size_t campo) const
{
    const Campo& c = CampoEn(campo);
    ComprobarRegistro(registro);
    return std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(registro.data()), registro.size())
        .subspan(c.desplazamiento, c.ancho);
}

bool TablaDbf::Borrado(std::size_t fila) const
{
    ComprobarFila(fila);
    return datos_[fila * estructura_.longitudRegistro] == '*';
}

std::string TablaDbf::Texto(std::size_t fila, std::size_t campo) const
{
    return TextoDeCampo(CampoEn(campo), estructura_.version, BytesCampo(fila, campo));
}

std::optional<double> TablaDbf::Numero(std::size_t fila, std::size_t campo) const
{
    return NumeroDeCampo(CampoEn(campo), estructura_.version, BytesCampo(fila, campo), {nombre_, fila});
}

std::optional<bool> TablaDbf::Logico(std::size_t fila, std::size_t campo) const
{
    const std::string texto = Texto(fila, campo);
    if (texto.empty())
        return std::nullopt;
    const char c = texto[0];
    if (texto.size() == 1 && (c == 'T' || c == 't' || c == 'Y' || c == 'y'))
        return true;
    if (texto.size() == 1 && (c == 'F' || c == 'f' || c == 'N' || c == 'n'))
        return false;
    throw Error("El valor " + EntreAnsi(texto) + " del campo " + EntreAnsi(CampoEn(campo).nombre) +
                " de la tabla " + Entre(nombre_) + " (registro " + std::to_string(fila + 1) +
                ") no es un valor lógico");
}

std::string TablaDbf::RegistroVacio() const
{
    // Made once: every appended row starts from it.
    if (registroVacio_.empty()) {
        std::string registro(estructura_.longitudRegistro, ' ');
        for (std::size_t i = 0; i < estructura_.campos.size(); ++i)
            VaciarCampo(estructura_.campos[i], estructura_.version, BytesCampo(registro, i));
        registroVacio_ = std::move(registro);
    }
    return registroVacio_;
}

void TablaDbf::PonerTexto(std::string& registro, std::size_t campo, std::string_view valor) const
{
    EscribirTexto(CampoEn(campo), estructura_.version, BytesCampo(registro, campo), valor,
                  {nombre_, std::nullopt});
}

void TablaDbf::PonerLogico(std::string& registro, std::size_t campo, bool valor) const
{
    EscribirLogico(CampoEn(campo), BytesCampo(registro, campo), valor, {nombre_, std::nullopt});
}

void TablaDbf::PonerNumero(std::string& registro, std::size_t campo, double valor) const
{
    EscribirNumero(CampoEn(campo), estructura_.version, BytesCampo(registro, campo), valor,
                   {nombre_, std::nullopt});
}

std::string TablaDbf::Registro(std::size_t fila) const
{
    ComprobarFila(fila);
    const auto inicio = datos_.begin() + static_cast<std::ptrdiff_t>(fila * estructura_.longitudRegistro);
    return std::string(inicio, inicio + estructura_.longitudRegistro);
}

std::size_t TablaDbf::Agregar(const std::string& registro)
{
    ComprobarRegistro(registro);
    ComprobarEscribible();
    if (numRegistros_ >= 0xFFFFFFFFu)
        throw Error("La tabla " + Entre(nombre_) + " ya tiene el máximo de registros");
    const std::size_t fila = numRegistros_;
    datos_.insert(datos_.end(), registro.begin(), registro.end());
    ++numRegistros_;
    for (std::size_t t = 0; t < ordenes_.size(); ++t) {
        const EntradaIndice entrada = ClaveDeFila(t, fila);
        ordenes_[t].insert(std::upper_bound(ordenes_[t].begin(), ordenes_[t].end(), entrada), entrada);
    }
    if (!diferida_)
        EscribirPendientes();
    return fila;
}

void TablaDbf::Reemplazar(std::size_t fila, const std::string& registro)
{
    ComprobarFila(fila);
    ComprobarRegistro(registro);
    ComprobarEscribible();
    // A row the file already holds is written through, after the rows still
    // pending so that the header written with it counts only what is there.
    const bool enDisco = fila < enDisco_;
    if (enDisco)
        EscribirPendientes();
    const std::string anterior = Registro(fila);
    const auto inicio = datos_.begin() + static_cast<std::ptrdiff_t>(fila * estructura_.longitudRegistro);
    std::copy(registro.begin(), registro.end(), inicio);
    if (enDisco) {
        try {
            EscribirRegistro(fila);
        } catch (...) {
            std::copy(anterior.begin(), anterior.end(), inicio);
            throw;
        }
    }
    ++reescrituras_;
    const auto registroArchivo = static_cast<std::uint32_t>(fila + 1);
    for (std::size_t t = 0; t < ordenes_.size(); ++t) {
        auto& orden = ordenes_[t];
        std::erase_if(orden, [&](const EntradaIndice& e) { return e.registro == registroArchivo; });
        const EntradaIndice entrada = ClaveDeFila(t, fila);
        orden.insert(std::upper_bound(orden.begin(), orden.end(), entrada), entrada);
    }
    if (enDisco)
        GuardarIndice();
}

// Records first, then the end-of-file mark, then the header count: a reader
// that looks at any moment finds a count whose records are all there.
void TablaDbf::EscribirPendientes()
{
    if (enDisco_ == numRegistros_)
        return;
    const std::size_t desde = enDisco_;
    const std::size_t largo = estructura_.longitudRegistro;
    PonerFechaCabecera(cabecera_, estructura_.version, FechaDeHoy());
    EscribirLE(std::span<std::uint8_t>(cabecera_).subspan(kPosNumRegistros, 4),
               static_cast<std::uint32_t>(numRegistros_));
    if (archivo_) {
        try {
            const std::uint64_t inicio = estructura_.longitudCabecera + std::uint64_t{desde} * largo;
            archivo_->Escribir(inicio, std::span<const std::uint8_t>(datos_).subspan(desde * largo));
            const std::uint8_t fin = kFinDeArchivo;
            archivo_->Escribir(inicio + std::uint64_t{numRegistros_ - desde} * largo,
                               std::span<const std::uint8_t>(&fin, 1));
            archivo_->Escribir(0, std::span<const std::uint8_t>(cabecera_).first(kPosNumRegistros + 4));
        } catch (...) {
            // The rows are not in the file: they must not stay in memory either.
            numRegistros_ = desde;
            datos_.resize(desde * largo);
            EscribirLE(std::span<std::uint8_t>(cabecera_).subspan(kPosNumRegistros, 4),
                       static_cast<std::uint32_t>(numRegistros_));
            ordenes_ = ClavesOrdenadas();
            throw;
        }
    }
    enDisco_ = numRegistros_;
    GuardarIndice();
}

// One record rewritten in place; the header keeps the table's count.
void TablaDbf::EscribirRegistro(std::size_t fila)
{
    const Fecha hoy = FechaDeHoy();
    PonerFechaCabecera(cabecera_, estructura_.version, hoy);
    EscribirLE(std::span<std::uint8_t>(cabecera_).subspan(kPosNumRegistros, 4),
               static_cast<std::uint32_t>(numRegistros_));
    if (!archivo_)
        return;
    const std::uint64_t inicio =
        estructura_.longitudCabecera + std::uint64_t{fila} * estructura_.longitudRegistro;
    archivo_->Escribir(inicio, std::span<const std::uint8_t>(datos_).subspan(
                                   fila * estructura_.longitudRegistro, estructura_.longitudRegistro));
    if (fila + 1 == numRegistros_) {
        const std::uint8_t fin = kFinDeArchivo;
        archivo_->Escribir(inicio + estructura_.longitudRegistro, std::span<const std::uint8_t>(&fin, 1));
    }
    archivo_->Escribir(0, std::span<const std::uint8_t>(cabecera_).first(kPosNumRegistros + 4));
}

EntradaIndice TablaDbf::ClaveDeFila(std::size_t tag, std::size_t fila) const
{
    // A blank number is 0 in a dBase key expression.
    const Campo& campo = estructura_.campos[campoDeIndice_[tag]];
    const double valor = Numero(fila, campoDeIndice_[tag]).value_or(0.0);
    return {valor, static_cast<std::uint32_t>(fila + 1), ClaveBcd(valor, campo.ancho, campo.decimales)};
}

std::vector<std::vector<EntradaIndice>> TablaDbf::ClavesOrdenadas() const
{
    std::vector<std::vector<EntradaIndice>> ordenes;
    for (std::size_t t = 0; t < indices_.size(); ++t) {
        std::vector<EntradaIndice> orden;
        orden.reserve(numRegistros_);
        for (std::size_t fila = 0; fila < numRegistros_; ++fila)
            orden.push_back(ClaveDeFila(t, fila));
        std::sort(orden.begin(), orden.end());
        ordenes.push_back(std::move(orden));
    }
    return ordenes;
}

// The index file is rebuilt whole after every write of rows, so it matches
// the table whenever anyone can look (the tables with an index have a few
// hundred rows, and are written in bulk).
void TablaDbf::GuardarIndice()
{
    if (indices_.empty() || !archivo_)
        return;
    std::vector<EtiquetaNueva> etiquetas;
    for (std::size_t t = 0; t < indices_.size(); ++t) {
        const Campo& campo = estructura_.campos[campoDeIndice_[t]];
        etiquetas.push_back({indices_[t].etiqueta, campo.nombre, ordenes_[t]});
    }
    const auto bytes = ConstruirMdx(ruta_.stem().string(), etiquetas, FechaDeHoy());
    ArchivoSistema mdx(RutaMdxNueva(ruta_), ArchivoSistema::Modo::Crear);
    mdx.Escribir(0, bytes);
    mdx.Truncar(bytes.size());
}

std::vector<std::size_t> TablaDbf::OrdenIndice(std::string_view etiqueta) const
{
    for (std::size_t t = 0; t < indices_.size(); ++t) {
        if (MayusculasAscii(indices_[t].etiqueta) != MayusculasAscii(etiqueta))
            continue;
        std::vector<std::size_t> filas;
        filas.reserve(ordenes_[t].size());
        for (const EntradaIndice& e : ordenes_[t])
            filas.push_back(e.registro - 1u);
        return filas;
    }
    throw Error("La tabla " + Entre(nombre_) + " no tiene el índice " + EntreAnsi(etiqueta));
}

} // namespace durlavex::dbf
