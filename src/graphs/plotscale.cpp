#include "graphs/plotscale.h"

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

// Extents beyond a thousand million tenths are held there, so that the scale stays finite.
constexpr double maxTenths = 1.0e9;
// Coordinates far outside the area are held at this distance so that the painter never
// meets overflowing values; lines that steep look the same on screen.
constexpr double farAway = 1.0e6;
// 10 x 1.1 is 11.000000000000002 in binary: such values still count as whole tenths.
constexpr double tenthsSlack = 1.0e-9;
// A sample this little below 0, as a share of the scale's length, lies within its own
// circle's radius of the axes, so the axes stay at 0 for it.
constexpr double marginShare = 0.006;

double clampCoordinate(double value) {
    if (std::isnan(value)) {
        return 0.0;
    }
    return std::clamp(value, -farAway, farAway);
}

struct Tenths {
    int low = 0;
    int high = 0;
};

// Whole tenths from the smallest value to the largest of the samples; from 0 unless some
// value lies too far below 0 for the margin beside the axes.
Tenths sampleTenths(const PlotInput& input) {
    double smallest = 0.0;
    double largest = 0.0;
    const auto count = std::min(input.x.size(), input.y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (isPlottable(input.x[i], input.y[i])) {
            smallest = std::min({smallest, *input.x[i], input.y[i]});
            largest = std::max({largest, *input.x[i], input.y[i]});
        }
    }
    const double high = std::min(std::ceil(10.0 * largest - tenthsSlack), maxTenths);
    const bool inMargin = smallest >= -marginShare * std::max(high / 10.0, 1.0);
    const double low = inMargin ? 0.0 : std::max(std::floor(10.0 * smallest + tenthsSlack), -maxTenths);
    return {static_cast<int>(low), static_cast<int>(high)};
}

} // namespace

QPointF PlotScale::toPixel(double x, double y) const {
    return {clampCoordinate(frame.left() + (x - lowest()) * perUnit),
            clampCoordinate(frame.bottom() - (y - lowest()) * perUnit)};
}

double PlotScale::radius() const {
    return 0.007 * std::min(width, height);
}

PlotScale plotScale(QSizeF size, int low, int high, const QMarginsF& margins) {
    PlotScale s;
    s.width = size.width();
    s.height = size.height();
    s.unit = std::min(s.width, s.height) / plotDesignWidth;
    s.low = std::min(low, 0);
    s.high = std::max(high, s.low + 1);
    const double side = std::max(1.0, std::min(s.width - margins.left() - margins.right(),
                                               s.height - margins.top() - margins.bottom()));
    s.frame = QRectF(margins.left(), s.height - margins.bottom() - side, side, side);
    s.perUnit = side / ((static_cast<double>(s.high) - s.low) / 10.0);
    return s;
}

bool hasDrawableRegression(const PlotInput& input) {
    return input.regression && input.regression->ok && input.regression->bandPoints >= 1;
}

std::pair<int, int> plotTenths(const PlotInput& input) {
    const Tenths samples = sampleTenths(input);
    int high = samples.high;
    if (hasDrawableRegression(input)) {
        high = std::max(high, input.regression->bandPoints);
    } else if (high < 1) {
        high = 10;
    }
    return {samples.low, high};
}

} // namespace torrentix
