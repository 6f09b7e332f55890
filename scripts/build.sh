#!/usr/bin/env bash
# Builds both trees: the native one (portable core, kvxpack, host tests) and
# the MinGW-w64 cross build (setup.exe, Win32 tests). Leaves build/setup.exe
# and build/kvxpack as links. BUILD_DIR chooses another output folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
jobs=$(nproc)
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/native" -j "$jobs"
kvxpack="$build/native/tools/kvxpack"
cmake -S "$root" -B "$build/win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DKVXPACK="$kvxpack" >/dev/null
cmake --build "$build/win32" -j "$jobs"
[ -f "$build/win32/app/setup.exe" ] && ln -sfn win32/app/setup.exe "$build/setup.exe"
[ -f "$kvxpack" ] && ln -sfn native/tools/kvxpack "$build/kvxpack"
exit 0
