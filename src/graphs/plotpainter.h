#pragma once
// Draws a scatter plot scene on any paint device (the screen, an image, an SVG or PDF file).

#include "graphs/plotscene.h"

#include <QColor>
#include <QPainter>

namespace torrentix {

inline const QColor plotBackground{220, 220, 255};
// The regression line and its band stand apart from the samples in the foreground colour.
inline const QColor regressionColour{200, 30, 30};

// Clears the area to the plot background and draws the scene: axes, ticks and samples in
// the foreground colour, the band and the regression line above the samples, and the
// labels and titles above everything.
void paintPlotScene(QPainter& painter, const PlotScene& scene, const QColor& foreground);

} // namespace torrentix
