#pragma once
// Draws a scatter plot scene on any paint device (the screen, an image, an SVG file).

#include "graphs/plotscene.h"

#include <QColor>
#include <QPainter>

namespace torrentix {

inline const QColor plotBackground{220, 220, 255};

// Clears the area to the plot background and draws the scene in the foreground colour.
void paintPlotScene(QPainter& painter, const PlotScene& scene, const QColor& foreground);

} // namespace torrentix
