#pragma once
// The fonts the windows are drawn in: Arial for the large labels, MS Sans
// Serif 8 pt for the dialogs' own text, as on the Windows machines the
// program was designed on. Where those are not installed (Linux), a font of
// the same metrics stands in: Liberation Sans or Arimo for Arial, and for
// MS Sans Serif, whose outline successor Microsoft Sans Serif has Arial's
// widths, the same. Without any of them the system's sans font is used, and
// the windows size their labels from the font they got.

#include <QFont>

namespace durlavex::ui {

// Bold Arial of `pixeles` pixels.
QFont ArialNegrita(int pixeles);

// Bold Arial of `puntos` points.
QFont ArialNegritaPuntos(int puntos);

// MS Sans Serif, 8 points.
QFont SansSerifClasica();

} // namespace durlavex::ui
