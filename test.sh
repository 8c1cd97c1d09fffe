#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   ./test.sh             Release build in build/, all tests (widgets under the offscreen platform)
#   ./test.sh --werror    the same, with the compiler's warnings as errors
#   ./test.sh --sanitize  engine, batch command and their tests with AddressSanitizer and
#                         UndefinedBehaviorSanitizer, in build-sanitize/
#   ./test.sh --coverage  Debug build with coverage in build-coverage/, all tests, then line
#                         and branch coverage of every source folder
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

mode=release
werror=OFF
for arg in "$@"; do
    case "$arg" in
    --sanitize) mode=sanitize ;;
    --coverage) mode=coverage ;;
    --werror) werror=ON ;;
    *)
        echo "Usage: ./test.sh [--werror] [--sanitize | --coverage]" >&2
        echo "Unknown option: $arg" >&2
        exit 2
        ;;
    esac
done

jobs=$(nproc 2>/dev/null || echo 2)
case "$mode" in
sanitize)
    install_missing "${ENGINE_PACKAGES[@]}"
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORRENTIX_GUI=OFF -DTORRENTIX_SANITIZE=ON \
        -DTORRENTIX_WERROR="$werror"
    cmake --build build-sanitize -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    ;;
coverage)
    install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}" gcovr
    cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DTORRENTIX_COVERAGE=ON -DTORRENTIX_WERROR="$werror"
    cmake --build build-coverage -j "$jobs"
    find build-coverage -name '*.gcda' -delete
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-coverage --output-on-failure -j "$jobs"
    gcovr --root . --filter 'src/' --exclude 'build-coverage/' \
        --exclude-unreachable-branches --exclude-throw-branches \
        --json-summary build-coverage/coverage.json --txt build-coverage/coverage.txt build-coverage
    python3 scripts/coverage_summary.py build-coverage/coverage.json
    ;;
release)
    install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}"
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_WERROR="$werror"
    cmake --build build -j "$jobs"
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
esac
