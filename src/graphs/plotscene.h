#pragma once
// The scatter plot as geometry: where the axes, the samples, the tick marks, the tick
// labels and axis titles, the regression line and its band go in a plot area of a given
// pixel size, on the common scale of both axes. Labels and titles stand outside the
// plotting area, so that they never cover a sample; lines are cut at its edges.

#include "graphs/plotscale.h"

#include <QFont>
#include <QLineF>
#include <QRectF>

#include <optional>
#include <vector>

namespace torrentix {

// A text and the box it is centred in.
struct PlotText {
    QString text;
    QRectF rect;
};

struct PlotScene {
    PlotScale scale;
    QLineF xAxis;                // the bottom edge of the plotting area
    QLineF yAxis;                // its left edge
    std::vector<QPointF> points; // centres of the samples with a numeric x, in sample order
    int pointAlpha = 255;        // opacity of their circles: lower when there are thousands
    std::vector<QRectF> xTicks;  // outside the plotting area, one under each x label
    std::vector<QRectF> yTicks;
    QFont font;                    // of the tick labels; the titles are in its bold form
    std::vector<PlotText> xLabels; // the value of each tick, centred on it, outside the plotting area
    std::vector<PlotText> yLabels;
    std::optional<PlotText> xTitle;       // under the x labels
    std::optional<PlotText> yTitle;       // above the plotting area
    std::optional<QLineF> regressionLine; // each within the plotting area
    std::vector<QLineF> band;             // dotted, on both sides of the regression line
};

PlotScene buildPlotScene(const PlotInput& input, QSizeF size);
// The scale and the type of that scene alone, without laying out the rest.
PlotScale plotSceneScale(const PlotInput& input, QSizeF size);
QFont plotSceneFont(const PlotInput& input, QSizeF size);

// "y = b + mx" (or "y = b − mx" when the slope is negative), a blank line, "r² = ..." (three
// decimals each), a blank line and "n = ...".
QString regressionText(const Regression& regression);

} // namespace torrentix
