#!/usr/bin/env bash
# Builds every flavour: the host build first (its tools make the archive the
# Windows builds embed), then the two Windows builds from the same sources:
# win32 (the product, PE32 i386) and win64 (PE32+ x86-64). Both are built on
# every host; which of them this host can also run is the test run's concern.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
jobs=${DIDA_JOBS:-$(nproc)}

echo "[build] host flavour in $build/host"
cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDIDA_WINDOWS_BUILD_ROOT="$build" >/dev/null
cmake --build "$build/host" -j "$jobs"

for flavour in win32:i686 win64:x86_64; do
  name=${flavour%%:*}
  echo "[build] $name flavour in $build/$name"
  cmake -S "$root" -B "$build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-${flavour#*:}.cmake" \
    -DDIDA_HOST_BIN_DIR="$build/host/bin" >/dev/null
  cmake --build "$build/$name" -j "$jobs"
done
