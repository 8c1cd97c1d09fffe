#include "graphs/classhistogram.h"

#include "graphs/histogrambars.h"
#include "graphs/twips.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace torrentix {

ClassHistogram::ClassHistogram(QWidget* parent) : QWidget(parent) {
    setObjectName("istopic");
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (std::size_t j = 0; j < lblisto_.size(); ++j) {
        auto* label = new QLabel(QString::fromLatin1(histogramClasses()[j].label), this);
        label->setObjectName(QStringLiteral("lblisto_%1").arg(j));
        label->setAlignment(Qt::AlignCenter);
        lblisto_[j] = label;
    }
}

// Every drawing starts from a cleared area, so bars of an earlier run never linger.
void ClassHistogram::faisto(const ClassCounts& counts, int nsamp) {
    counts_ = counts;
    nsamp_ = nsamp;
    update();
}

std::array<QRectF, 7> ClassHistogram::bars() const {
    return histogramBars(counts_, nsamp_, QSizeF(size()));
}

QSize ClassHistogram::sizeHint() const {
    return {twipsToPixels(histogramDesignWidth, logicalDpiX()),
            twipsToPixels(histogramDesignHeight, logicalDpiY())};
}

void ClassHistogram::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), histogramBackground);
    const auto rects = bars();
    for (std::size_t j = 0; j < rects.size(); ++j) {
        QRectF bar = rects[j];
        if (nsamp_ > 0 && bar.height() < 1.0) {
            bar.setTop(bar.bottom() - 1.0); // an empty class shows as a line on the base
        }
        painter.fillRect(bar, histogramClasses()[j].colour);
    }
}

void ClassHistogram::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto rects = histogramLabelRects(QSizeF(size()));
    for (std::size_t j = 0; j < lblisto_.size(); ++j) {
        QFont font = lblisto_[j]->font();
        font.setPixelSize(std::max(6, static_cast<int>(rects[j].height() * 0.9)));
        lblisto_[j]->setFont(font);
        lblisto_[j]->setGeometry(rects[j].toAlignedRect());
    }
}

} // namespace torrentix
