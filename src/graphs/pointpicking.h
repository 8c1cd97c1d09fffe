#pragma once
// Picking samples on the scatter plot: which samples lie under the pointer, and the text
// that lists them (code, name and both values of each).

#include "graphs/plotscale.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <vector>

namespace torrentix {

// Samples (0-based, in sample order) whose circle's square box holds the pointer; the
// box edges themselves do not count. Overlapping samples are all listed.
std::vector<std::size_t> hitSamples(const PlotInput& input, const PlotScale& scale, QPointF pointer);

// "code - name" of a sample, as the screen shows them.
using SampleLabel = std::function<QString(std::size_t sample)>;

// Two lines per hit: "code - name" and "x: 0.00  y: 0.00", each ending in a line break.
QStringList hitEntries(const std::vector<std::size_t>& hits, const SampleLabel& label,
                       const PlotInput& input);

} // namespace torrentix
