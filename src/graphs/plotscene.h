#pragma once
// The scatter plot as geometry: where the axes, the samples, the tick marks, the axis
// labels, the regression line and its band go in a plot area of a given pixel size.
// The plot was designed as a 5280 x 5280 twip area; every fixed distance keeps its share
// of the area's width, and both axes share one scale so that the larger of the two
// ranges spans the width.

#include "index/regression.h"

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

namespace torrentix {

// What the plot shows: the test values (x) and index values (y) of the samples, and the
// regression of y on x.
struct PlotInput {
    bool usable = false;                  // some test variable has at least 6 numeric values
    std::vector<std::optional<double>> x; // nullopt where the test value is not numeric
    std::vector<double> y;
    std::optional<Regression> regression; // line, band and scale only when it succeeded
    // Lower and upper y of a band drawn instead of the regression's own, at x = 0.1, 0.2, ...;
    // empty: the regression's band.
    std::vector<std::pair<double, double>> band;
};

inline constexpr double plotDesignWidth = 5280.0; // twips

// The common scale of both axes, in the plot's own pixels.
struct PlotScale {
    double width = 0.0;
    double height = 0.0;
    double unit = 0.0;    // pixels per design twip
    int bandn = 10;       // extent of the scale in tenths of a data unit
    double xw = 0.0;      // width of that extent in pixels (W - 210 twips)
    double perUnit = 0.0; // pixels per data unit

    QPointF toPixel(double x, double y) const;
    double radius() const { return width * 0.007; } // of a sample's circle
};

PlotScale plotScale(QSizeF size, int bandn);

// True when the regression succeeded and spans at least one band point, so that its
// line, band and scale can be drawn.
bool hasDrawableRegression(const PlotInput& input);
// The extent of the scale when no regression can give it: the larger of the largest x and
// the largest y, as the regression would take it, or 1.0 when the data give none.
int fallbackBandn(const PlotInput& input);
// The scale the plot uses for this input.
PlotScale plotScaleFor(const PlotInput& input, QSizeF size);

struct AxisLabel {
    QString text;
    QPointF anchor; // x axis: top centre of the label; y axis: left end of its middle
};

struct PlotScene {
    PlotScale scale;
    QLineF xAxis;
    QLineF yAxis;
    std::vector<QPointF> points; // centres of the samples with a numeric x, in sample order
    std::vector<QRectF> xTicks;
    std::vector<QRectF> yTicks;
    std::vector<AxisLabel> xLabels;
    std::vector<AxisLabel> yLabels;
    double labelPixelSize = 10.0;
    std::optional<QLineF> regressionLine;
    std::vector<QPointF> bandUpper; // dotted lines on both sides of the regression line
    std::vector<QPointF> bandLower;
};

PlotScene buildPlotScene(const PlotInput& input, QSizeF size);

// "y = b + mx", a blank line and "r² = ...", three decimals each.
QString regressionText(const Regression& regression);

} // namespace torrentix
