#!/usr/bin/env bash
# Builds both flavours: the host build first (its tools make the archive the
# win32 build embeds), then the win32 build (dida.exe and the Win32 tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
jobs=${DIDA_JOBS:-$(nproc)}

echo "[build] host flavour in $build/host"
cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDIDA_WIN32_BUILD_DIR="$build/win32" >/dev/null
cmake --build "$build/host" -j "$jobs"

echo "[build] win32 flavour in $build/win32"
cmake -S "$root" -B "$build/win32" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DDIDA_HOST_BIN_DIR="$build/host/bin" >/dev/null
cmake --build "$build/win32" -j "$jobs"
