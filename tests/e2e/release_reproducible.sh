#!/bin/bash
# Builds the release archive again in a fresh tree at another path and
# compares it byte for byte with the archive of the main build.
set -euo pipefail
source=${1:?source dir}
archive=${2:?archive}
tree=${3:?scratch dir}
rm -rf "$tree"
mkdir -p "$tree"
cmake -S "$source" -B "$tree/build-elsewhere" -G "Unix Makefiles" \
      -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DTIKAVO_DIST_DIR="$tree/dist" >/dev/null
cmake --build "$tree/build-elsewhere" --target dist -j2 >/dev/null
second=$tree/dist/$(basename "$archive")
unzip -l "$archive"
if cmp "$archive" "$second"; then
    echo "ok: $(basename "$archive") is byte-identical across builds ($(sha256sum < "$archive" | cut -c1-16))"
    rm -rf "$tree"
else
    echo "FAIL: the archives differ"
    unzip -lv "$archive"; unzip -lv "$second"
    exit 1
fi
