#!/usr/bin/env bash
# Installs what is missing, builds and starts the desktop program. Without a display it
# runs the batch command on an example file instead and prints its report.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
# Only what it runs: the two programs and the taxa database (the tests are built by ./test.sh).
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target torrentix torrentix-cli taxadb

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/torrentix "$@"
fi
echo "No display: running the batch command on examples/mediterranean.txt instead." >&2
example=$(mktemp -d)
cp examples/mediterranean.txt "$example/"
./build/torrentix-cli --gig Mediterranean --type R-M1 --bio 1 "$example/mediterranean.txt"
echo "Results file: $example/mediterranean_OUT.txt" >&2
