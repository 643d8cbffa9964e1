// A fuzz target's entry point run over files, without libFuzzer: linked with
// each fuzz_*.cpp into a plain program that ctest runs over the target's seed
// corpus in every build, so a seed that crashes, hangs or (in the sanitizer
// build) reads out of bounds fails the ordinary test run, clang or not.
//
//   fuzz_dbf-semillas tests/dbf/semillas
//
// Arguments are files or folders; a folder stands for every regular file in
// it, in name order. Each file's name is printed before it runs, so a crash
// names its seed. No file at all is a failure: a corpus that has gone missing
// must not pass unnoticed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Archivos(const fs::path& ruta)
{
    if (!fs::is_directory(ruta))
        return {ruta};
    std::vector<fs::path> archivos;
    for (const fs::directory_entry& entrada : fs::directory_iterator(ruta))
        if (entrada.is_regular_file())
            archivos.push_back(entrada.path());
    std::sort(archivos.begin(), archivos.end());
    return archivos;
}

} // namespace

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    std::size_t repetidas = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& archivo : Archivos(argv[i])) {
            std::ifstream entrada(archivo, std::ios::binary);
            if (!entrada) {
                std::fprintf(stderr, "No se puede leer la semilla %s\n", archivo.string().c_str());
                return 1;
            }
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(entrada),
                                                  std::istreambuf_iterator<char>()};
            std::printf("%s (%zu bytes)\n", archivo.string().c_str(), bytes.size());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++repetidas;
        }
    }
    if (repetidas == 0) {
        std::fprintf(stderr, "No hay semillas que repetir\n");
        return 1;
    }
    std::printf("%zu semillas repetidas sin fallos\n", repetidas);
    return 0;
}
