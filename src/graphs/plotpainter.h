#pragma once
// Draws a scatter plot scene on any paint device (the screen, an image, an SVG or PDF file).

#include "graphs/colourscheme.h"
#include "graphs/plotscene.h"

#include <QPainter>

namespace torrentix {

// Clears the area to the scheme's plot background and draws the scene: axes, ticks,
// samples, labels and titles in the plot's text colour, the band and the regression line
// above the samples in the regression colour.
void paintPlotScene(QPainter& painter, const PlotScene& scene, const ColourScheme& colours);

} // namespace torrentix
