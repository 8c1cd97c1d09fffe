#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   ./test.sh             Release build in build/, all tests (widgets under the offscreen platform)
#   ./test.sh --sanitize  engine, batch command and their tests with AddressSanitizer and
#                         UndefinedBehaviorSanitizer, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

jobs=$(nproc 2>/dev/null || echo 2)
if [ "${1:-}" = "--sanitize" ]; then
    install_missing "${ENGINE_PACKAGES[@]}"
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORRENTIX_GUI=OFF -DTORRENTIX_SANITIZE=ON
    cmake --build build-sanitize -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    exit 0
fi

install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
