#include "graphs/pointpicking.h"

#include "base/numberforms.h"

#include <algorithm>
#include <cmath>

namespace torrentix {

std::vector<std::size_t> hitSamples(const PlotInput& input, const PlotScale& scale, QPointF pointer) {
    std::vector<std::size_t> hits;
    const double r = scale.radius();
    const auto count = std::min(input.x.size(), input.y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!isPlottable(input.x[i], input.y[i])) {
            continue;
        }
        const QPointF p = scale.toPixel(*input.x[i], input.y[i]);
        if (p.x() - r < pointer.x() && pointer.x() < p.x() + r && p.y() - r < pointer.y() &&
            pointer.y() < p.y() + r) {
            hits.push_back(i);
        }
    }
    return hits;
}

QStringList hitEntries(const std::vector<std::size_t>& hits, const SampleLabel& label,
                       const PlotInput& input) {
    QStringList entries;
    for (const std::size_t i : hits) {
        const double x = input.x[i].value_or(0.0);
        entries << label(i) + "\n" + "x: " + QString::fromStdString(formatF2(x)) +
                       "  y: " + QString::fromStdString(formatF2(input.y[i])) + "\n";
    }
    return entries;
}

} // namespace torrentix
