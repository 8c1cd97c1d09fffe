#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/) and runs them: the reader, one computation
# run and the batch command end to end against the parsing floor, on one thread and on
# every core, on generated files of 2,000, 20,000 and 200,000 samples x 300 taxon columns
# (64 families in two columns each), and the peak memory of one batch run on 200,000
# samples; the same for files of 236 taxon columns, every family once; then the time the
# desktop program's results list and plot take to show a run of 200,000 samples, to sort
# it and to save the plot, and the desktop program's whole way through such a file with
# the bootstrap, its peak memory beside the batch command's; then both desktop benchmarks
# again with accessibility on, a screen reader's listener on the accessibility bus
# (bench/with-screenreader-bus.sh). Options are passed on to the first two, for example:
#   ./bench.sh --sizes=2000,20000 --memory=20000 --benchmark_filter='floor|end-to-end'
# VIEW_SAMPLES sets the size of the desktop program's runs (default 200000; 0 skips them).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}" libbenchmark-dev xvfb dbus at-spi2-core python3-pyatspi
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_BENCH=ON -DTORRENTIX_GUI=ON -DTORRENTIX_TESTS=OFF
cmake --build build-bench -j "$jobs" --target torrentix-bench torrentix-viewbench torrentix-desktopbench
./build-bench/torrentix-bench "$@"
./build-bench/torrentix-bench --families=236 "$@"
if [ "${VIEW_SAMPLES:-200000}" != 0 ]; then
    QT_QPA_PLATFORM=offscreen ./build-bench/torrentix-viewbench --samples="${VIEW_SAMPLES:-200000}"
    QT_QPA_PLATFORM=offscreen ./build-bench/torrentix-desktopbench --samples="${VIEW_SAMPLES:-200000}"
    bench/with-screenreader-bus.sh ./build-bench/torrentix-viewbench --samples="${VIEW_SAMPLES:-200000}"
    bench/with-screenreader-bus.sh ./build-bench/torrentix-desktopbench --samples="${VIEW_SAMPLES:-200000}"
fi
