#pragma once
// The scatter plot as geometry: where the axes, the samples, the tick marks, the axis
// labels and titles, the regression line and its band go in a plot area of a given pixel
// size, on the common scale of both axes.

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
    QLineF xAxis;
    QLineF yAxis;
    std::vector<QPointF> points; // centres of the samples with a numeric x, in sample order
    int pointAlpha = 255;        // opacity of their circles: lower when there are thousands
    std::vector<QRectF> xTicks;  // centred on 0.1, 0.2 ... 1.6
    std::vector<QRectF> yTicks;
    QFont font;                    // of the axis labels; the titles are in its bold form
    std::vector<PlotText> xLabels; // "0.2" ... "1.2", each centred on its value
    std::vector<PlotText> yLabels;
    std::optional<PlotText> xTitle; // above the x labels, ending where the scale ends
    std::optional<PlotText> yTitle; // right of the y labels, level with the scale's top
    std::optional<QLineF> regressionLine;
    std::vector<QPointF> bandUpper; // dotted lines on both sides of the regression line
    std::vector<QPointF> bandLower;
};

PlotScene buildPlotScene(const PlotInput& input, QSizeF size);

// "y = b + mx", a blank line, "r² = ..." (three decimals each), a blank line and "n = ...".
QString regressionText(const Regression& regression);

} // namespace torrentix
