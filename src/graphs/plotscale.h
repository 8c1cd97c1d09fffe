#pragma once
// The common scale of the scatter plot: what the plot shows, and where a data value goes
// in a plot area of a given pixel size. The plot was designed as a 5280 x 5280 twip area;
// every fixed distance keeps its share of the area's shorter side. Both axes share one
// scale: the plotting area between the axes is a square, inside margins that hold the
// tick labels and the axis titles, and the larger of the two ranges spans its side.

#include "index/regression.h"

#include <QMarginsF>
#include <QPointF>
#include <QRectF>
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
    QString caption; // of a copied or saved figure: file, GIG, river type, index against variable
};

inline constexpr double plotDesignWidth = 5280.0; // twips

struct PlotScale {
    double width = 0.0;
    double height = 0.0;
    double unit = 0.0;    // pixels per design twip
    int low = 0;          // the scale runs from low / 10 (0, or below for negative values)
    int high = 10;        // to high / 10 on both axes, in tenths of a data unit
    QRectF frame;         // the plotting area: the square from low / 10 to high / 10 on both axes
    double perUnit = 0.0; // pixels per data unit

    double lowest() const { return low / 10.0; }
    double highest() const { return high / 10.0; }
    QPointF toPixel(double x, double y) const;
    double radius() const; // of a sample's circle: 0.7 % of the shorter side
};

// A scale from low / 10 to high / 10 in an area of this size, its plotting area the
// largest square inside these margins, standing on the bottom one (at least a pixel wide).
PlotScale plotScale(QSizeF size, int low, int high, const QMarginsF& margins);
// The tenths that the scale of this input spans (low, high): from 0 to the regression's
// band length (bandPoints tenths), widened to whole tenths that hold every sample, so that
// each is drawn whole inside the area; 0 to 1 when neither gives an extent.
std::pair<int, int> plotTenths(const PlotInput& input);

// True when the regression succeeded and spans at least one band point, so that its
// line and band can be drawn.
bool hasDrawableRegression(const PlotInput& input);

// Whether x and y of a sample can be drawn.
inline bool isPlottable(const std::optional<double>& x, double y) {
    return x && std::isfinite(*x) && std::isfinite(y);
}

} // namespace torrentix
