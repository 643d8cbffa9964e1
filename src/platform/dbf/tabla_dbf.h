#pragma once
// The one implementation of ArchivoDbf: a table held whole in memory, with
// the open file (when there is one) to write posts through.

#include "platform/dbf/archivo_dbf.h"
#include "platform/dbf/archivo_sistema.h"
#include "platform/dbf/estructura.h"
#include "platform/dbf/indice_mdx.h"

#include <memory>
#include <string_view>

namespace durlavex::dbf {

// The production index file beside a table: same name, extension .MDX in
// either letter case (Windows does not care, other systems do).
std::optional<fs::path> RutaMdx(const fs::path& tabla);
// The same, or the upper-case name for a file still to be written.
fs::path RutaMdxNueva(const fs::path& tabla);

class TablaDbf final : public ArchivoDbf {
  public:
    // `bytes` is the whole file; `archivo` the open, locked file, or null for
    // a table decoded from memory only. `nombre` names the table in errors.
    TablaDbf(std::vector<std::uint8_t> bytes, std::string nombre, fs::path ruta,
             std::unique_ptr<ArchivoSistema> archivo, bool exclusivo);
    // Writes what is still pending; an error here has no one to go to.
    ~TablaDbf() override;

    // Reads the tags of the production index file beside the table, when the
    // header says there is one.
    void CargarIndices();

    // Opening again in this process: an exclusive request upgrades the lock.
    void ExigirExclusivo();
    bool Exclusivo() const { return exclusivo_; }

    Version VersionArchivo() const override { return estructura_.version; }
    const std::vector<Campo>& Campos() const override { return estructura_.campos; }
    std::optional<std::size_t> BuscarCampo(std::string_view nombre) const override;
    const std::vector<Indice>& Indices() const override { return indices_; }
    const fs::path& Ruta() const override { return ruta_; }

    std::size_t NumRegistros() const override { return numRegistros_; }
    bool Borrado(std::size_t fila) const override;

    std::string Texto(std::size_t fila, std::size_t campo) const override;
    std::optional<double> Numero(std::size_t fila, std::size_t campo) const override;
    std::optional<bool> Logico(std::size_t fila, std::size_t campo) const override;

    std::string RegistroVacio() const override;
    void PonerTexto(std::string& registro, std::size_t campo, std::string_view valor) const override;
    void PonerLogico(std::string& registro, std::size_t campo, bool valor) const override;
    void PonerNumero(std::string& registro, std::size_t campo, double valor) const override;
    std::string Registro(std::size_t fila) const override;

    std::size_t Agregar(const std::string& registro) override;
    void Reemplazar(std::size_t fila, const std::string& registro) override;
    std::uint64_t Reescrituras() const override { return reescrituras_; }
    void DiferirEscritura(bool activar) override;

    std::vector<std::size_t> OrdenIndice(std::string_view etiqueta) const override;

  private:
    std::span<const std::uint8_t> BytesCampo(std::size_t fila, std::size_t campo) const;
    std::span<std::uint8_t> BytesCampo(std::string& registro, std::size_t campo) const;
    const Campo& CampoEn(std::size_t campo) const;
    void ComprobarFila(std::size_t fila) const;
    void ComprobarRegistro(const std::string& registro) const;
    void ComprobarEscribible() const;
    // The production index: keys in index order, kept up to date at every post.
    std::vector<std::vector<EntradaIndice>> ClavesOrdenadas() const;
    EntradaIndice ClaveDeFila(std::size_t tag, std::size_t fila) const;
    void GuardarIndice();
    void EscribirRegistro(std::size_t fila);
    // Writes the rows appended since the last write, then the header's count
    // and the index; on failure drops them from memory and throws.
    void EscribirPendientes();
    static bool MismoNombre(std::string_view a, std::string_view b);

    std::string nombre_;
    fs::path ruta_;
    Estructura estructura_;
    std::vector<std::uint8_t> cabecera_;
    std::vector<std::uint8_t> datos_;
    // Field lookups by name: whether no two fields share a name (without
    // regard to ASCII letter case), and the field found last.
    bool nombresDistintos_ = true;
    mutable std::size_t campoReciente_ = 0;
    mutable std::string registroVacio_; // RegistroVacio, made at its first use
    std::size_t numRegistros_ = 0;
    std::size_t enDisco_ = 0; // rows the file holds and its header counts
    bool diferida_ = false;   // appends wait in memory for EscribirPendientes
    std::uint64_t reescrituras_ = 0;
    std::vector<Indice> indices_;
    std::vector<std::size_t> campoDeIndice_;          // for each tag, its field
    std::vector<std::vector<EntradaIndice>> ordenes_; // for each tag, entries in index order
    std::string indiceNoMantenible_;                  // why posts cannot keep the index file right
    std::unique_ptr<ArchivoSistema> archivo_;
    bool exclusivo_ = false;
};

} // namespace durlavex::dbf
