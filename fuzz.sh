#!/usr/bin/env bash
# Builds the libFuzzer target of the reader and the taxon-name resolution with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (build-fuzz/) and fuzzes it.
#   ./fuzz.sh [SECONDS]   (default 60)
# The seed corpus tests/fuzz/corpus/ is replayed first and left as it is; new inputs go to
# build-fuzz/fuzz-corpus/, and an input that crashes is saved in build-fuzz/fuzz-artifacts/.
# The exit status is not 0 when an input crashed.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
    echo "Usage: ./fuzz.sh [SECONDS]" >&2
    exit 2
fi
install_missing "${ENGINE_PACKAGES[@]}" clang libclang-rt-14-dev
jobs=$(nproc 2>/dev/null || echo 2)
engine_flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$engine_flags" -DTORRENTIX_GUI=OFF -DTORRENTIX_FUZZ=ON
cmake --build build-fuzz -j "$jobs" --target fuzz_reader

mkdir -p build-fuzz/fuzz-corpus build-fuzz/fuzz-artifacts
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ./build-fuzz/fuzz_reader -max_total_time="$seconds" -timeout=30 -max_len=16384 \
    -dict=tests/fuzz/reader.dict -artifact_prefix=build-fuzz/fuzz-artifacts/ -print_final_stats=1 \
    build-fuzz/fuzz-corpus tests/fuzz/corpus
