#!/usr/bin/env bash
# Builds the benchmark in Release (build-bench/) and runs it: the reader, one computation
# run and the batch command end to end against the parsing floor, on generated files of
# 2,000, 20,000 and 60,000 samples x 300 taxon columns, and the peak memory of one batch
# run. The last line is the end-to-end time as a ratio of the floor. Options are passed
# on, for example:
#   ./bench.sh --sizes=2000,20000 --benchmark_filter='floor|end-to-end'
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

install_missing "${ENGINE_PACKAGES[@]}" libbenchmark-dev
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_BENCH=ON -DTORRENTIX_GUI=OFF -DTORRENTIX_TESTS=OFF
cmake --build build-bench -j "$jobs" --target torrentix-bench
exec ./build-bench/torrentix-bench "$@"
