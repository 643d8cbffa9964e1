#include "cli/consola.h"

#ifdef _WIN32

// windows.h first: shellapi.h needs what it declares.
#include <windows.h>

#include <shellapi.h>

#include <iostream>
#include <streambuf>

namespace durlavex::cli {

namespace {

std::string Utf8(const wchar_t* texto, int largo)
{
    if (largo == 0)
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, texto, largo, nullptr, 0, nullptr, nullptr);
    std::string r(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texto, largo, r.data(), n, nullptr, nullptr);
    return r;
}

// Takes UTF-8 and passes it on in a code page, line by line (and at each
// flush); a character split between two writes waits for its last bytes.
class ConversionConsola : public std::streambuf {
  public:
    ConversionConsola(std::streambuf* destino, UINT pagina) : destino_(destino), pagina_(pagina) {}

  protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        pendiente_ += traits_type::to_char_type(c);
        if (c == '\n')
            Pasar();
        return c;
    }

    std::streamsize xsputn(const char* texto, std::streamsize largo) override
    {
        pendiente_.append(texto, static_cast<std::size_t>(largo));
        if (std::string_view(texto, static_cast<std::size_t>(largo)).find('\n') != std::string_view::npos)
            Pasar();
        return largo;
    }

    int sync() override
    {
        Pasar();
        return destino_->pubsync();
    }

  private:
    // Where the last whole UTF-8 character of the pending text ends.
    std::size_t FinCompleto() const
    {
        std::size_t fin = pendiente_.size();
        std::size_t atras = 0;
        while (atras < fin && atras < 4 &&
               (static_cast<unsigned char>(pendiente_[fin - 1 - atras]) & 0xC0) == 0x80)
            ++atras;
        if (atras == fin)
            return fin;
        const auto inicial = static_cast<unsigned char>(pendiente_[fin - 1 - atras]);
        const std::size_t necesita = inicial >= 0xF0 ? 4 : inicial >= 0xE0 ? 3 : inicial >= 0xC0 ? 2 : 1;
        return atras + 1 < necesita ? fin - 1 - atras : fin;
    }

    void Pasar()
    {
        const std::size_t fin = FinCompleto();
        if (fin == 0)
            return;
        const int largo = static_cast<int>(fin);
        const int anchos = MultiByteToWideChar(CP_UTF8, 0, pendiente_.data(), largo, nullptr, 0);
        std::wstring ancho(static_cast<std::size_t>(anchos), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, pendiente_.data(), largo, ancho.data(), anchos);
        const int bytes = WideCharToMultiByte(pagina_, 0, ancho.data(), anchos, nullptr, 0, nullptr, nullptr);
        std::string salida(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(pagina_, 0, ancho.data(), anchos, salida.data(), bytes, nullptr, nullptr);
        destino_->sputn(salida.data(), static_cast<std::streamsize>(salida.size()));
        pendiente_.erase(0, fin);
    }

    std::streambuf* destino_;
    UINT pagina_;
    std::string pendiente_;
};

} // namespace

std::vector<std::string> PrepararConsola(int argc, char** argv)
{
    UINT pagina = GetConsoleOutputCP();
    if (pagina == 0)
        pagina = GetOEMCP();
    // Never destroyed: the streams are flushed at exit, after static objects
    // of this file could have gone.
    std::cout.rdbuf(new ConversionConsola(std::cout.rdbuf(), pagina));
    std::cerr.rdbuf(new ConversionConsola(std::cerr.rdbuf(), pagina));

    std::vector<std::string> argumentos;
    int n = 0;
    if (LPWSTR* anchos = CommandLineToArgvW(GetCommandLineW(), &n)) {
        for (int i = 1; i < n; ++i)
            argumentos.push_back(Utf8(anchos[i], lstrlenW(anchos[i])));
        LocalFree(anchos);
        return argumentos;
    }
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace durlavex::cli

#else

namespace durlavex::cli {

std::vector<std::string> PrepararConsola(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace durlavex::cli

#endif
