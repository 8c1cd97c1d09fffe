#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (float-cast overflow included) in build-fuzz/ and fuzzes each for SECONDS: fuzz_reader
# (the reader and the taxon-name resolution) and fuzz_run (a whole computation, options
# drawn from the input's first bytes).
#   ./fuzz.sh [SECONDS]   (default 60 per target)
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
engine_flags="-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$engine_flags" -DTORRENTIX_GUI=OFF -DTORRENTIX_FUZZ=ON
cmake --build build-fuzz -j "$jobs" --target fuzz_reader fuzz_run

for target in fuzz_reader fuzz_run; do
    mkdir -p "build-fuzz/$target-corpus" build-fuzz/fuzz-artifacts
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "./build-fuzz/$target" -max_total_time="$seconds" -timeout=30 -max_len=16384 \
        -dict=tests/fuzz/reader.dict -artifact_prefix="build-fuzz/fuzz-artifacts/$target-" -print_final_stats=1 \
        "build-fuzz/$target-corpus" tests/fuzz/corpus
done
