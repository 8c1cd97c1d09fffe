#pragma once
// The common scale of the scatter plot: what the plot shows, and where a data value goes
// in a plot area of a given pixel size. The plot was designed as a 5280 x 5280 twip area
// with 100-twip margins; every fixed distance keeps its share of the area's shorter side,
// and both axes share one scale, so that the larger of the two ranges spans that side.

#include "index/regression.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <cmath>
#include <optional>
#include <vector>

namespace torrentix {

// What the plot shows: the test values (x) and index values (y) of the samples, the
// regression of y on x, and the names of both axes.
struct PlotInput {
    bool usable = false;                  // some test variable has at least 6 numeric values
    std::vector<std::optional<double>> x; // nullopt where the test value is not numeric
    std::vector<double> y;
    std::optional<Regression> regression; // line and band only when it succeeded
    QString xTitle;                       // the test variable, normalised
    QString yTitle;                       // the index
    // Lower and upper y of a band drawn instead of the regression's own, at x = 0.1, 0.2, ...;
    // empty: the regression's band.
    std::vector<std::pair<double, double>> band;
};

inline constexpr double plotDesignWidth = 5280.0; // twips

struct PlotScale {
    double width = 0.0;
    double height = 0.0;
    double unit = 0.0;    // pixels per design twip
    int low = 0;          // the scale runs from low / 10 (0, or below for negative values)
    int high = 10;        // to high / 10 on both axes, in tenths of a data unit
    double xw = 0.0;      // pixel length of that run: the shorter side less 210 twips
    double perUnit = 0.0; // pixels per data unit

    QPointF toPixel(double x, double y) const;
    double radius() const; // of a sample's circle: 0.7 % of the shorter side
};

// A scale from low / 10 to high / 10 in an area of this size.
PlotScale plotScale(QSizeF size, int low, int high);

// True when the regression succeeded and spans at least one band point, so that its
// line and band can be drawn.
bool hasDrawableRegression(const PlotInput& input);
// The scale the plot uses for this input: from 0 to the regression's band length (bandPoints
// tenths), widened to whole tenths that hold every sample, so that each is drawn whole
// inside the area; 0 to 1 when neither gives an extent.
PlotScale plotScaleFor(const PlotInput& input, QSizeF size);

// Whether x and y of a sample can be drawn.
inline bool isPlottable(const std::optional<double>& x, double y) {
    return x && std::isfinite(*x) && std::isfinite(y);
}

} // namespace torrentix
