#pragma once
// Qt's own texts in Spanish: the file dialog, the buttons of the message
// boxes ("Aceptar", "Cancelar"), the context menus, and Spanish dates and
// sizes in the file dialog. The translation comes with Qt
// (qt6-translations-l10n on Debian); without it those texts stay English.

namespace durlavex::ui {

// Call once the application exists. False when Qt's Spanish translation is
// not installed.
bool TextosDeQtEnCastellano();

// Call before the application exists. Qt writes dates (the file dialog's
// "modified" column) in the session's language; a session that names none
// (neither LC_TIME nor LANG, or only C or POSIX, and no LC_ALL) gets Spanish
// dates rather than English ones. Only dates: numbers and messages stay as
// they are.
void FechasEnCastellanoSiLaSesionNoTieneIdioma();

} // namespace durlavex::ui
