#pragma once
// Picture masks at the keyboard ("#" one digit, "*" any number of repetitions
// of what follows, any other character itself), on a QLineEdit.
//
// A mask with "*" becomes a validator (keys that cannot lead to a fitting
// value are refused); a fixed-length mask becomes a Qt input mask, so the
// literal characters fill in as the person types. Qt accepts a half-typed
// value under an input mask, so the table checks every value again when the
// row is saved (CumpleMascara).

#include <QString>

#include <string>

class QLineEdit;

namespace durlavex::ui {

// Sets up `editor` for `mascara` (single-byte picture text); `longitud` is the
// field's width, the most characters the value may have.
void AplicarMascara(QLineEdit& editor, const std::string& mascara, int longitud);

// The value the person typed: the editor's text, or empty when nothing but
// the mask's literal characters is there (an untouched date reads "//").
QString ValorEditado(const QLineEdit& editor, const std::string& mascara);

// What a value must look like, for the message that refuses one.
QString ExplicacionMascara(const std::string& mascara);

} // namespace durlavex::ui
