#pragma once
// Geometry of the class histogram: seven labels under seven bars, one per quality class,
// each bar as high as its class's share of the samples and its count above it. The area
// was designed as 2370 x 1185 twips; positions keep their share of the area's width and
// height.

#include "index/classes.h"

#include <QColor>
#include <QRectF>
#include <QSizeF>

#include <array>

namespace torrentix {

inline constexpr double histogramDesignWidth = 2370.0;  // twips
inline constexpr double histogramDesignHeight = 1185.0; // twips

struct HistogramClass {
    const char* label;
    double labelLeft;  // twips
    double labelWidth; // twips
    QColor colour;
};

// In the order of ClassCounts: Reference, High, Good, Moderate, Poor, Bad, Not Classified.
const std::array<HistogramClass, 7>& histogramClasses();

inline const QColor histogramBackground{246, 246, 255};

// Where the class labels go in an area of this size: each as wide as its class's column.
std::array<QRectF, 7> histogramLabelRects(QSizeF size);
// The bars of these counts: 150 design twips wide, centred over their labels, standing on
// a base line 300 design twips above the bottom and reaching up by the class's share of
// the samples (a class of every sample reaches the top edge). Empty when nsamp is 0.
std::array<QRectF, 7> histogramBars(const ClassCounts& counts, int nsamp, QSizeF size);
// Where the count of each class stands, in a line of this height: on its bar, across the
// class's column, or at the top inside the bar when there is no room above it.
std::array<QRectF, 7> histogramCountRects(const std::array<QRectF, 7>& bars, QSizeF size, double lineHeight);

} // namespace torrentix
