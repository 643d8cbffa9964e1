#pragma once
// Qt's own texts in Spanish: the file dialog, the buttons of the message
// boxes ("Aceptar", "Cancelar"), the context menus, and Spanish dates and
// sizes in the file dialog. The translation comes with Qt
// (qt6-translations-l10n on Debian); without it those texts stay English.

namespace durlavex::ui {

// Call once the application exists. False when Qt's Spanish translation is
// not installed.
bool TextosDeQtEnCastellano();

} // namespace durlavex::ui
