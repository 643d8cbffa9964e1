#!/usr/bin/env bash
# Builds the Windows programs (32-bit, cross-built with mingw-w64 against the
# static Qt and libxml2 of scripts/dependencias-windows.sh) into build-windows/
# (or $DURLAVEX_WINDOWS_BUILD_DIR): bin/ holds durlavex.exe, durlavex-cli.exe
# and the files data/ lays beside them (NIVELCAN.DBF, ...), the unit tests
# beside them in tests/. Steps that run a program of the build (writing
# NIVELCAN.DBF) run it under Wine.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${DURLAVEX_WINDOWS_BUILD_DIR:-$raiz/build-windows}
dependencias=$("$raiz/scripts/dependencias-windows.sh")
# -O2 as the Linux build (RelWithDebInfo) has: GCC 12 at -O3 warns of
# out-of-bounds copies inside std::string that are not there.
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$dependencias/lib/cmake/Qt6/qt.toolchain.cmake" "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
