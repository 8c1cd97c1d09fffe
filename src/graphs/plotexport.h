#pragma once
// The scatter plot as a picture for reports: a high-resolution PNG image or an SVG
// drawing of the plot as it stands on screen.

#include "graphs/plotscene.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace torrentix {

enum class ImageFormat { Png, Svg };

// Width in pixels of an exported image: about 6.7 inches at 300 dots per inch.
inline constexpr int exportImageWidth = 2000;

// The plot of this size drawn at print resolution (never smaller than on screen).
QImage renderPlotImage(const PlotInput& input, QSize size, const QColor& foreground);

// Writes the plot to a file in one piece: the file appears complete or not at all.
// Returns the reason when it could not be written.
std::optional<QString> savePlotImage(const QString& path, ImageFormat format, const PlotInput& input,
                                     QSize size, const QColor& foreground);

// The format of a chosen file: an .svg suffix, else the chosen filter, else PNG.
ImageFormat imageFormatFor(const QString& path, const QString& selectedFilter);
// The path with the format's suffix added when it ends in neither .png nor .svg.
QString withImageSuffix(const QString& path, ImageFormat format);

} // namespace torrentix
