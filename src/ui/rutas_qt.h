#pragma once
// Paths between Qt text and std::filesystem without loss: wide on Windows,
// the local 8-bit encoding (UTF-8) elsewhere.

#include <QString>

#include <filesystem>

namespace durlavex::ui {

inline QString TextoQt(const std::filesystem::path& ruta)
{
#ifdef _WIN32
    return QString::fromStdWString(ruta.wstring());
#else
    return QString::fromStdString(ruta.string());
#endif
}

inline std::filesystem::path RutaDe(const QString& texto)
{
#ifdef _WIN32
    return std::filesystem::path(texto.toStdWString());
#else
    return std::filesystem::path(texto.toStdString());
#endif
}

} // namespace durlavex::ui
