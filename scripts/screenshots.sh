#!/usr/bin/env bash
# Renders the screenshots in docs/screenshots/ without a display (Qt's offscreen
# platform): the START view with a GIG and river type chosen, the metrics of a GIG, the
# test-variable options, and the RESULTS and GRAPHS views after a run on
# examples/mediterranean.txt (or on a sample file of its own when that is missing).
#   scripts/screenshots.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh

install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}" fonts-dejavu-core
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target app_screenshots

out="${1:-docs/screenshots}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
example=examples/mediterranean.txt
if [ -f "$example" ]; then
    # Mediterranean GIG (3), river type R-M1 (0).
    ./build/app_screenshots "$out" "$example" 3 0
else
    ./build/app_screenshots "$out"
fi
