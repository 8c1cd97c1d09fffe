#pragma once
// Geometry of the class histogram: seven labels under seven bars, one per quality class,
// the bars in proportion to the counts of their classes, the largest class's reaching up
// to a line's height under the top, and each count above its bar. The area was designed as
// 2370 x 1185 twips; positions keep their share of the area's width and height.

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
    const char* name;  // of the class, in full
    double labelLeft;  // twips
    double labelWidth; // twips
    QColor colour;
};

// In the order of ClassCounts: Reference, High, Good, Moderate, Poor, Bad, Not Classified.
const std::array<HistogramClass, 7>& histogramClasses();

// Where the class labels go in an area of this size: each as wide as its class's column.
std::array<QRectF, 7> histogramLabelRects(QSizeF size);
// The bars of these counts: 70 % as wide as the narrow columns, centred over their labels,
// standing on a base line 300 design twips above the bottom; the largest class's bar
// reaches up to a count's line under the top edge, the others in proportion. Empty when
// nsamp is 0.
std::array<QRectF, 7> histogramBars(const ClassCounts& counts, int nsamp, QSizeF size, double lineHeight);
// Where the count of each class stands, in a line of this height: on its bar, across the
// class's column, or at the top inside the bar when there is no room above it.
std::array<QRectF, 7> histogramCountRects(const std::array<QRectF, 7>& bars, QSizeF size, double lineHeight);

} // namespace torrentix
