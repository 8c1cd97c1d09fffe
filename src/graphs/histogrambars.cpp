#include "graphs/histogrambars.h"

#include <algorithm>

namespace torrentix {
namespace {

constexpr double labelTop = 945.0;
constexpr double labelHeight = 180.0;
constexpr double baseLineAboveBottom = 300.0;
constexpr double barWidth = 203.0;

} // namespace

// The one-letter classes were laid out in labels 195 twips wide, too narrow for "NC" in a
// legible type: each label keeps its centre and takes the width of its class's column.
const std::array<HistogramClass, 7>& histogramClasses() {
    static const std::array<HistogramClass, 7> classes = {{
        {"Ref", "Reference", 30.0, 360.0, QColor(0, 255, 255)},
        {"H", "High", 447.5, 290.0, QColor(0, 0, 255)},
        {"G", "Good", 762.5, 290.0, QColor(0, 255, 0)},
        {"M", "Moderate", 1062.5, 290.0, QColor(255, 255, 0)},
        {"P", "Poor", 1362.5, 290.0, QColor(255, 128, 0)},
        {"B", "Bad", 1677.5, 290.0, QColor(255, 0, 0)},
        {"NC", "Not Classified", 1977.5, 290.0, QColor(128, 128, 128)},
    }};
    return classes;
}

std::array<QRectF, 7> histogramLabelRects(QSizeF size) {
    const double ux = size.width() / histogramDesignWidth;
    const double uy = size.height() / histogramDesignHeight;
    std::array<QRectF, 7> rects;
    for (std::size_t j = 0; j < rects.size(); ++j) {
        const HistogramClass& c = histogramClasses()[j];
        rects[j] = QRectF(c.labelLeft * ux, labelTop * uy, c.labelWidth * ux, labelHeight * uy);
    }
    return rects;
}

std::array<QRectF, 7> histogramBars(const ClassCounts& counts, int nsamp, QSizeF size, double lineHeight) {
    std::array<QRectF, 7> bars{};
    if (nsamp <= 0) {
        return bars;
    }
    const double ux = size.width() / histogramDesignWidth;
    const double base = size.height() - baseLineAboveBottom * size.height() / histogramDesignHeight;
    const double reach = std::max(0.0, base - lineHeight);
    const int largest = std::max(1, *std::max_element(counts.begin(), counts.end()));
    const auto labels = histogramLabelRects(size);
    for (std::size_t j = 0; j < bars.size(); ++j) {
        const double share = static_cast<double>(std::max(0, counts[j])) / largest;
        const double top = base - reach * share;
        const double centre = labels[j].center().x();
        bars[j] =
            QRectF(QPointF(centre - barWidth / 2.0 * ux, top), QPointF(centre + barWidth / 2.0 * ux, base));
    }
    return bars;
}

std::array<QRectF, 7> histogramCountRects(const std::array<QRectF, 7>& bars, QSizeF size, double lineHeight) {
    std::array<QRectF, 7> rects{};
    const auto labels = histogramLabelRects(size);
    for (std::size_t j = 0; j < rects.size(); ++j) {
        if (bars[j].isNull()) {
            continue;
        }
        rects[j] = QRectF(labels[j].left(), bars[j].top() - lineHeight, labels[j].width(), lineHeight);
        if (rects[j].top() < 0.0) {
            rects[j].moveTop(bars[j].top());
        }
    }
    return rects;
}

} // namespace torrentix
