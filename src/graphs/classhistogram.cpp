#include "graphs/classhistogram.h"

#include "graphs/colourscheme.h"
#include "graphs/histogrambars.h"
#include "graphs/twips.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace torrentix {
namespace {

constexpr int smallestPixelSize = 6;

// The largest pixel size at which every text fits the room (the smallest legible one when
// none does).
int fittingPixelSize(QFont font, const QStringList& texts, QSizeF room) {
    int size = std::max(smallestPixelSize, static_cast<int>(room.height()));
    for (; size > smallestPixelSize; --size) {
        font.setPixelSize(size);
        const QFontMetricsF metrics(font);
        const auto fitsWidth = [&](const QString& t) { return metrics.horizontalAdvance(t) <= room.width(); };
        if (metrics.height() <= room.height() && std::all_of(texts.begin(), texts.end(), fitsWidth)) {
            break;
        }
    }
    return size;
}

QColor textColourOn(const QColor& bar) {
    return qGray(bar.rgb()) < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

ClassHistogram::ClassHistogram(QWidget* parent) : QWidget(parent) {
    setObjectName("classHistogram");
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (std::size_t j = 0; j < classCountLabels_.size(); ++j) {
        auto* label = new QLabel(QString::fromLatin1(histogramClasses()[j].label), this);
        label->setObjectName(QStringLiteral("classCountLabel_%1").arg(j));
        label->setAlignment(Qt::AlignCenter);
        label->setAccessibleName(QString::fromLatin1(histogramClasses()[j].name));
        classCountLabels_[j] = label;
    }
    setAccessibleName(tr("Sample Classification"));
    showLabelColours();
    describeCounts();
}

// The class labels stand on the histogram's own background: their text takes its pair.
void ClassHistogram::showLabelColours() {
    setTextColour(classCountLabels_, screenColours(palette()).histogram.text);
}

void ClassHistogram::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        showLabelColours();
    }
}

// "Reference: 5 of 10 samples" on each label; every class in one line on the histogram.
void ClassHistogram::describeCounts() {
    QStringList all;
    for (std::size_t j = 0; j < classCountLabels_.size(); ++j) {
        const QString count =
            nsamp_ > 0 ? tr("%1 of %2 samples").arg(counts_[j]).arg(nsamp_) : tr("no samples");
        classCountLabels_[j]->setAccessibleDescription(count);
        all << QString::fromLatin1(histogramClasses()[j].name) + ": " + count;
    }
    setAccessibleDescription(all.join(QStringLiteral("; ")));
}

// Every drawing starts from a cleared area, so bars of an earlier run never linger.
void ClassHistogram::setClassCounts(const ClassCounts& counts, int nsamp) {
    counts_ = counts;
    nsamp_ = nsamp;
    describeCounts();
    update();
}

std::array<QRectF, 7> ClassHistogram::bars() const {
    return histogramBars(counts_, nsamp_, QSizeF(size()), QFontMetricsF(countFont()).height());
}

QSize ClassHistogram::sizeHint() const {
    return {twipsToPixels(histogramDesignWidth, logicalDpiX()),
            twipsToPixels(histogramDesignHeight, logicalDpiY())};
}

QFont ClassHistogram::countFont() const {
    QStringList counts;
    for (const int count : counts_) {
        counts << QString::number(count);
    }
    QFont font = classCountLabels_[0]->font();
    const QRectF column = histogramLabelRects(QSizeF(size()))[1];
    font.setPixelSize(std::min(font.pixelSize(), fittingPixelSize(font, counts, column.size())));
    return font;
}

void ClassHistogram::paintEvent(QPaintEvent*) {
    const ColourPair colours = screenColours(palette()).histogram;
    QPainter painter(this);
    painter.fillRect(rect(), colours.background);
    const auto rects = bars();
    const QFont font = countFont();
    painter.setFont(font);
    const auto countRects = histogramCountRects(rects, QSizeF(size()), QFontMetricsF(font).height());
    for (std::size_t j = 0; j < rects.size(); ++j) {
        QRectF bar = rects[j];
        if (nsamp_ > 0 && bar.height() < 1.0) {
            bar.setTop(bar.bottom() - 1.0); // an empty class shows as a line on the base
        }
        const QColor colour = histogramClasses()[j].colour;
        painter.fillRect(bar, colour);
        if (!countRects[j].isNull()) {
            const bool onBar = countRects[j].top() >= rects[j].top();
            painter.setPen(onBar ? textColourOn(colour) : colours.text);
            painter.drawText(countRects[j], Qt::AlignCenter, QString::number(counts_[j]));
        }
    }
}

// The class labels share one type size, the largest at which each fits its column.
void ClassHistogram::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto rects = histogramLabelRects(QSizeF(size()));
    int pixelSize = std::numeric_limits<int>::max();
    for (std::size_t j = 0; j < classCountLabels_.size(); ++j) {
        pixelSize =
            std::min(pixelSize, fittingPixelSize(classCountLabels_[j]->font(), {classCountLabels_[j]->text()},
                                                 rects[j].toAlignedRect().size()));
    }
    for (std::size_t j = 0; j < classCountLabels_.size(); ++j) {
        QFont font = classCountLabels_[j]->font();
        font.setPixelSize(pixelSize);
        classCountLabels_[j]->setFont(font);
        classCountLabels_[j]->setGeometry(rects[j].toAlignedRect());
    }
}

} // namespace torrentix
