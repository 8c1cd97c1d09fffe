#!/usr/bin/env bash
# Renders the screenshots of the documentation without a display (Qt's offscreen
# platform): the START view with a GIG and river type chosen and the metrics of a GIG (also at
# one and a half times the font in a window of 800 x 600), the
# test-variable options, the RESULTS and GRAPHS views after a run on
# examples/mediterranean.txt, the GRAPHS view of a tall window, the question about an
# unknown name (also one ending in a blank), the information window, the taxa map's editor,
# the RESULTS and GRAPHS views under a dark palette, and the GRAPHS view
# of a generated file of 20,000 samples (written to a temporary folder and removed
# afterwards).
#   scripts/screenshots.sh [OUTDIR]      (default docs/screenshots)
# BUILD_DIR names the build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh

install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}" fonts-dejavu-core
build="${BUILD_DIR:-build}"
out="${1:-docs/screenshots}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target app_screenshots gensamples

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# Mediterranean GIG (3), river type R-M1 (0).
"./$build/app_screenshots" "$out" examples/mediterranean.txt 3 0

dense="$(mktemp -d)"
trap 'rm -rf "$dense"' EXIT
"./$build/tools/gensamples" --output "$dense/dense.txt" --samples 20000 --region mediterranean --seed 7
"./$build/app_screenshots" "$out" "$dense/dense.txt" 3 0 graphs-20000.png
