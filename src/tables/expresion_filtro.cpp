#include "tables/expresion_filtro.h"

#include "platform/comillas.h"
#include "platform/error.h"
#include "platform/texto.h"

namespace durlavex {

namespace {

bool EsLetra(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool EsDigito(char c)
{
    return c >= '0' && c <= '9';
}

class Lector {
  public:
    explicit Lector(std::string_view texto) : texto_(texto) {}

    void SaltarBlancos()
    {
        while (pos_ < texto_.size() && texto_[pos_] == ' ')
            ++pos_;
    }
    bool Acepta(char c)
    {
        if (pos_ < texto_.size() && texto_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Nombre(std::string& nombre)
    {
        if (pos_ >= texto_.size() || !EsLetra(texto_[pos_]))
            return false;
        const std::size_t inicio = pos_;
        while (pos_ < texto_.size() && (EsLetra(texto_[pos_]) || EsDigito(texto_[pos_])))
            ++pos_;
        nombre.assign(texto_.substr(inicio, pos_ - inicio));
        return true;
    }
    // After the opening quote: up to the closing quote, '' standing for '.
    bool Literal(std::string& valor)
    {
        while (pos_ < texto_.size()) {
            const char c = texto_[pos_++];
            if (c != '\'') {
                valor.push_back(c);
                continue;
            }
            if (!Acepta('\''))
                return true;
            valor.push_back('\'');
        }
        return false; // no closing quote
    }
    bool AlFinal() const { return pos_ == texto_.size(); }

  private:
    std::string_view texto_;
    std::size_t pos_ = 0;
};

} // namespace

ExpresionFiltro LeerExpresionFiltro(std::string_view expresion, std::string_view tabla)
{
    ExpresionFiltro filtro;
    Lector lector(expresion);
    lector.SaltarBlancos();
    bool valida = lector.Nombre(filtro.campo);
    lector.SaltarBlancos();
    valida = valida && lector.Acepta('=');
    lector.SaltarBlancos();
    valida = valida && lector.Acepta('\'') && lector.Literal(filtro.valor);
    lector.SaltarBlancos();
    if (!valida || !lector.AlFinal()) {
        throw Error("El filtro " + EntreAnsi(expresion) + " de la tabla " + EntreAnsi(tabla) +
                    " no es válido: se esperaba CAMPO= 'valor', con las comillas del valor duplicadas");
    }
    return filtro;
}

} // namespace durlavex
