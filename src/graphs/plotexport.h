#pragma once
// The scatter plot as a figure for reports: a caption that names the sample file, the GIG,
// the river type and the pair plotted; the plot as it stands on screen, with its axis
// titles; and under it a line with the equation, r² and n of the regression. Figures are
// always in the print colours, dark on white, whatever the screen shows. Written as a
// high-resolution PNG image, an SVG drawing or a PDF document.

#include "graphs/imageformat.h"
#include "graphs/plotscale.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <optional>

namespace torrentix {

// Width in pixels of an exported image: about 6.7 inches at 300 dots per inch.
inline constexpr int exportImageWidth = 2000;
// Width of a PDF figure: a page's text width.
inline constexpr double pdfFigureMillimetres = 170.0;

// The figure of a plot of this size: as wide, and taller by the caption and, when the
// regression succeeded, the line of the equation.
QSize figureSize(const PlotInput& input, QSize plot);
// Draws the figure with its top left corner at the painter's origin.
void paintPlotFigure(QPainter& painter, const PlotInput& input, QSize plot);

// The figure of a plot of this size drawn at print resolution (never smaller than on screen).
QImage renderPlotImage(const PlotInput& input, QSize plot);

// Writes the figure to a file in one piece: the file appears complete or not at all.
// Returns the reason when it could not be written.
std::optional<QString> savePlotImage(const QString& path, ImageFormat format, const PlotInput& input,
                                     QSize plot);

} // namespace torrentix
