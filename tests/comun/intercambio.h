#pragma once
// Builds exchange files in code from short tables of records:
//
//   ArchivoIntercambio x;
//   x.Grupo("MATERIAS", {{"101", "M1", "Matemáticas", "MAT", "240"}});
//   x.Guardar(dir / "vorna.xml");
//
// Texts are UTF-8 and escaped; the file is written in UTF-8 unless another
// declaration is asked for (then the texts must be representable in it).

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace durlavex::pruebas {

using Registro = std::vector<std::string>;

inline std::string EscaparXml(const std::string& texto)
{
    std::string r;
    for (char c : texto) {
        switch (c) {
        case '&':
            r += "&amp;";
            break;
        case '<':
            r += "&lt;";
            break;
        case '>':
            r += "&gt;";
            break;
        case '"':
            r += "&quot;";
            break;
        default:
            r += c;
        }
    }
    return r;
}

class ArchivoIntercambio {
  public:
    // The first child of BLOQUE_DATOS, whose text starts with the academic year.
    ArchivoIntercambio& Anno(const std::string& texto)
    {
        anno_ = texto;
        return *this;
    }

    ArchivoIntercambio& Grupo(const std::string& seq, const std::vector<Registro>& registros)
    {
        cuerpo_ += "<grupo_datos seq=\"" + EscaparXml(seq) + "\" registros=\"" +
                   std::to_string(registros.size()) + "\">";
        for (const auto& registro : registros) {
            cuerpo_ += "<grupo_datos>";
            for (const auto& dato : registro)
                cuerpo_ += "<dato>" + EscaparXml(dato) + "</dato>";
            cuerpo_ += "</grupo_datos>";
        }
        cuerpo_ += "</grupo_datos>";
        return *this;
    }

    // Raw XML inserted into BLOQUE_DATOS as it stands.
    ArchivoIntercambio& Crudo(const std::string& xml)
    {
        cuerpo_ += xml;
        return *this;
    }

    std::string Texto(const std::string& declaracion = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>") const
    {
        std::string anno = anno_.empty() ? ""
                                         : "<grupo_datos seq=\"ANNO_ACADEMICO\"><dato>" + EscaparXml(anno_) +
                                               "</dato></grupo_datos>";
        return declaracion + "\n<SERVICIO><BLOQUE_DATOS>" + anno + cuerpo_ + "</BLOQUE_DATOS></SERVICIO>\n";
    }

    void Guardar(const std::filesystem::path& ruta) const
    {
        std::ofstream(ruta, std::ios::binary) << Texto();
    }

  private:
    std::string anno_;
    std::string cuerpo_;
};

} // namespace durlavex::pruebas
