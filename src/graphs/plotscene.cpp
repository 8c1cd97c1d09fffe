#include "graphs/plotscene.h"

#include "base/numberforms.h"

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

constexpr int tickCount = 16;
constexpr int labelCount = 6;
constexpr int maxBandn = 32767;
// Coordinates far outside the area are held at this distance so that the painter never
// meets overflowing values; lines that steep look the same on screen.
constexpr double farAway = 1.0e6;

double clampCoordinate(double value) {
    if (std::isnan(value)) {
        return 0.0;
    }
    return std::clamp(value, -farAway, farAway);
}

bool isFinitePair(const std::optional<double>& x, double y) {
    return x && std::isfinite(*x) && std::isfinite(y);
}

void addTicks(PlotScene& scene) {
    const PlotScale& s = scene.scale;
    const double step = s.xw / s.bandn;
    // The y ticks are laid up from 10 twips above the x axis, on the scale of the samples,
    // so that they mark the same values in a plot that is taller than wide.
    const double yZero = s.height - 110.0 * s.unit;
    for (int k = 0; k < tickCount; ++k) {
        scene.xTicks.emplace_back(100.0 * s.unit + (k + 1) * step, s.height - 150.0 * s.unit, 45.0 * s.unit,
                                  90.0 * s.unit);
        scene.yTicks.emplace_back(55.0 * s.unit, yZero - (k + 1) * step, 90.0 * s.unit, 45.0 * s.unit);
    }
}

void addLabels(PlotScene& scene) {
    const PlotScale& s = scene.scale;
    const QString texts[labelCount] = {"0.2", "0.4", "0.6", "0.8", "1.0", "1.2"};
    for (int k = 0; k < labelCount; ++k) {
        const auto tick = static_cast<std::size_t>(2 * k + 1);
        scene.xLabels.push_back({texts[k], QPointF(scene.xTicks[tick].left(), s.height - 330.0 * s.unit)});
        scene.yLabels.push_back({texts[k], QPointF(165.0 * s.unit, scene.yTicks[tick].top())});
    }
}

void addRegression(PlotScene& scene, const Regression& r,
                   const std::vector<std::pair<double, double>>& band) {
    const PlotScale& s = scene.scale;
    const double xEnd = s.bandn / 10.0;
    scene.regressionLine = QLineF(s.toPixel(r.xmin, r.m * r.xmin + r.b), s.toPixel(xEnd, r.m * xEnd + r.b));
    const auto points =
        std::min(static_cast<std::size_t>(r.bandn), band.empty() ? r.bandhw.size() : band.size());
    for (std::size_t k = 1; k <= points; ++k) {
        const double x = 0.1 * static_cast<double>(k);
        const double y = r.m * x + r.b;
        const auto [lower, upper] =
            band.empty() ? std::pair(y - r.bandhw[k - 1], y + r.bandhw[k - 1]) : band[k - 1];
        scene.bandUpper.push_back(s.toPixel(x, upper));
        scene.bandLower.push_back(s.toPixel(x, lower));
    }
}

} // namespace

QPointF PlotScale::toPixel(double x, double y) const {
    return {clampCoordinate(100.0 * unit + x * perUnit),
            clampCoordinate(height - 100.0 * unit - y * perUnit)};
}

PlotScale plotScale(QSizeF size, int bandn) {
    PlotScale s;
    s.width = size.width();
    s.height = size.height();
    s.unit = s.width / plotDesignWidth;
    s.bandn = std::clamp(bandn, 1, maxBandn);
    s.xw = s.width - 210.0 * s.unit;
    s.perUnit = s.xw / (s.bandn / 10.0);
    return s;
}

bool hasDrawableRegression(const PlotInput& input) {
    return input.regression && input.regression->ok && input.regression->bandn >= 1;
}

int fallbackBandn(const PlotInput& input) {
    double largest = 0.0;
    const auto count = std::min(input.x.size(), input.y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (isFinitePair(input.x[i], input.y[i])) {
            largest = std::max({largest, *input.x[i], input.y[i]});
        }
    }
    const double tenths = std::min(std::nearbyint(10.0 * largest), static_cast<double>(maxBandn));
    return tenths >= 1.0 ? static_cast<int>(tenths) : 10;
}

PlotScale plotScaleFor(const PlotInput& input, QSizeF size) {
    return plotScale(size, hasDrawableRegression(input) ? input.regression->bandn : fallbackBandn(input));
}

PlotScene buildPlotScene(const PlotInput& input, QSizeF size) {
    PlotScene scene;
    scene.scale = plotScaleFor(input, size);
    const PlotScale& s = scene.scale;
    const double margin = 100.0 * s.unit;
    scene.xAxis = QLineF(margin, s.height - margin, s.width - margin, s.height - margin);
    scene.yAxis = QLineF(margin, s.height - margin, margin, margin);
    scene.labelPixelSize = std::max(6.0, 150.0 * s.unit);
    if (!input.usable) {
        return scene;
    }
    const auto count = std::min(input.x.size(), input.y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (isFinitePair(input.x[i], input.y[i])) {
            scene.points.push_back(s.toPixel(*input.x[i], input.y[i]));
        }
    }
    addTicks(scene);
    addLabels(scene);
    if (hasDrawableRegression(input)) {
        addRegression(scene, *input.regression, input.band);
    }
    return scene;
}

QString regressionText(const Regression& r) {
    const std::string text =
        "y = " + formatF3(r.b) + " + " + formatF3(r.m) + "x\n\n" + "r\u00b2 = " + formatF3(r.r2);
    return QString::fromStdString(text);
}

} // namespace torrentix
