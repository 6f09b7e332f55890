#!/usr/bin/env bash
# Builds setup.exe a second time in another folder from the same sources and
# compares it byte for byte with the first build's. Exit 0 when identical.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
first=$build/win32/app/setup.exe
second=$build/repro
[ -f "$first" ] || { echo "reproducible: no $first"; exit 1; }
cmake -S "$root" -B "$second" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DKVXPACK="$build/native/tools/kvxpack" >/dev/null &&
  cmake --build "$second" --target setup -j "$(nproc)" >/dev/null || { echo "reproducible: second build failed"; exit 1; }
if cmp -s "$first" "$second/app/setup.exe"; then
  echo "reproducible: setup.exe identical in two build folders ($(stat -c%s "$first") bytes, sha256 $(sha256sum "$first" | cut -c1-16))"
else
  echo "reproducible: setup.exe differs between $first and $second/app/setup.exe"; exit 1
fi
