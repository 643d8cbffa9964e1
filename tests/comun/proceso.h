#pragma once
// A program started from a test and left running: its standard output read
// line by line as it comes, so that the test can act at a given moment of
// the run (send it a signal, start a second program), then wait for its end.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "comun/programa.h"

namespace durlavex::pruebas {

class ProcesoEnCurso {
  public:
    // Starts `programa` with `argumentos` and the variables of `entorno` added
    // to the test's; its errors go to `carpeta`/errores-<pid>.txt.
    ProcesoEnCurso(const std::filesystem::path& programa, const std::vector<std::string>& argumentos,
                   const std::vector<std::pair<std::string, std::string>>& entorno,
                   const std::filesystem::path& carpeta)
    {
        int tubo[2];
        if (::pipe(tubo) != 0)
            std::abort();
        errores_ =
            carpeta / ("errores-" + std::to_string(::getpid()) + "-" + std::to_string(tubo[0]) + ".txt");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(tubo[1], 1);
            const int err = ::open(errores_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(err, 2);
            ::close(tubo[0]);
            for (const auto& [nombre, valor] : entorno)
                ::setenv(nombre.c_str(), valor.c_str(), 1);
            std::vector<char*> argv;
            std::string ruta = programa.string();
            argv.push_back(ruta.data());
            std::vector<std::string> copia = argumentos;
            for (std::string& a : copia)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(ruta.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(tubo[1]);
        salida_ = tubo[0];
    }

    ~ProcesoEnCurso()
    {
        if (pid_ > 0 && !terminado_) {
            ::kill(pid_, SIGKILL);
            int estado = 0;
            ::waitpid(pid_, &estado, 0);
        }
        if (salida_ >= 0)
            ::close(salida_);
    }
    ProcesoEnCurso(const ProcesoEnCurso&) = delete;
    ProcesoEnCurso& operator=(const ProcesoEnCurso&) = delete;

    // Reads the output until a line containing `texto` has come; false when
    // the output ends or `limite` passes first.
    bool EsperarLinea(std::string_view texto, std::chrono::milliseconds limite = std::chrono::seconds(60))
    {
        const auto fin = std::chrono::steady_clock::now() + limite;
        for (;;) {
            for (std::size_t corte; (corte = pendiente_.find('\n')) != std::string::npos;) {
                const std::string linea = pendiente_.substr(0, corte);
                leido_ += pendiente_.substr(0, corte + 1);
                pendiente_.erase(0, corte + 1);
                if (linea.find(texto) != std::string::npos)
                    return true;
            }
            const auto queda =
                std::chrono::duration_cast<std::chrono::milliseconds>(fin - std::chrono::steady_clock::now());
            if (queda.count() <= 0 || !LeerAlgo(static_cast<int>(queda.count())))
                return false;
        }
    }

    void Senal(int senal) { ::kill(pid_, senal); }

    // Waits for the end. `estado` is the exit status, or -1 when a signal
    // ended the program (`senal` says which).
    Salida Esperar()
    {
        while (LeerAlgo(-1)) {
        }
        leido_ += pendiente_;
        pendiente_.clear();
        int estado = 0;
        ::waitpid(pid_, &estado, 0);
        terminado_ = true;
        senal_ = WIFSIGNALED(estado) ? WTERMSIG(estado) : 0;
        Salida s;
        s.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
        s.salida = leido_;
        s.errores = LeerArchivo(errores_);
        return s;
    }

    int SenalQueLoTermino() const { return senal_; }

  private:
    // False at the end of the output or when nothing came in time.
    bool LeerAlgo(int milisegundos)
    {
        pollfd espera{salida_, POLLIN, 0};
        if (::poll(&espera, 1, milisegundos) <= 0)
            return false;
        char bloque[4096];
        const ssize_t n = ::read(salida_, bloque, sizeof bloque);
        if (n <= 0)
            return false;
        pendiente_.append(bloque, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int salida_ = -1;
    std::filesystem::path errores_;
    std::string pendiente_; // read, not yet split into lines
    std::string leido_;     // whole lines already looked at
    bool terminado_ = false;
    int senal_ = 0;
};

} // namespace durlavex::pruebas
