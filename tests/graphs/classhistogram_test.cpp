#include "graphs/classhistogram.h"
#include "graphs/histogrambars.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace torrentix;

namespace {

// The design size scaled by 0.1: 237 x 118.5 pixels, the base line 30 pixels above the
// bottom.
const QSizeF area(237.0, 118.5);
constexpr double base = 118.5 - 30.0;

} // namespace

TEST(HistogramBars, HeightsAreTheSharesOfTheSamples) {
    const ClassCounts counts = {5, 3, 0, 0, 0, 2, 0};
    const auto bars = histogramBars(counts, 10, area);
    EXPECT_DOUBLE_EQ(bars[0].height(), 0.5 * base);
    EXPECT_DOUBLE_EQ(bars[1].height(), 0.3 * base);
    EXPECT_DOUBLE_EQ(bars[5].height(), 0.2 * base);
    for (const std::size_t flat : {2u, 3u, 4u, 6u}) {
        EXPECT_DOUBLE_EQ(bars[flat].height(), 0.0) << flat;
        EXPECT_DOUBLE_EQ(bars[flat].bottom(), base) << flat;
    }
    // 15 pixels wide, centred over the labels ("Ref" spans 3..39, "B" 172.5..192).
    EXPECT_DOUBLE_EQ(bars[0].left(), 21.0 - 7.5);
    EXPECT_DOUBLE_EQ(bars[0].width(), 15.0);
    EXPECT_DOUBLE_EQ(bars[5].center().x(), 172.5 + 9.75);
    EXPECT_DOUBLE_EQ(bars[0].bottom(), base);
}

TEST(HistogramBars, AClassOfEverySampleReachesTheTopAndNoSampleDrawsNothing) {
    const auto all = histogramBars({0, 0, 0, 0, 0, 0, 4}, 4, area);
    EXPECT_DOUBLE_EQ(all[6].top(), 0.0);
    EXPECT_DOUBLE_EQ(all[0].height(), 0.0);
    for (const QRectF& bar : histogramBars({0, 0, 0, 0, 0, 0, 0}, 0, area)) {
        EXPECT_TRUE(bar.isNull());
    }
}

TEST(ClassHistogram, LabelsTheClassesAndRedrawsFromAClearedArea) {
    ClassHistogram histogram;
    EXPECT_EQ(histogram.objectName(), "istopic");
    histogram.resize(237, 118);
    const QStringList expected = {"Ref", "H", "G", "M", "P", "B", "NC"};
    for (int j = 0; j < 7; ++j) {
        const auto* label = histogram.findChild<QLabel*>(QStringLiteral("lblisto_%1").arg(j));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), expected[j]);
    }
    histogram.faisto({5, 3, 0, 0, 0, 2, 0}, 10);
    EXPECT_GT(histogram.bars()[0].height(), 0.0);
    const QImage tall = histogram.grab().toImage();
    const int x = static_cast<int>(histogram.bars()[0].center().x());
    EXPECT_EQ(tall.pixelColor(x, 50), QColor(0, 255, 255)); // inside the Reference bar

    histogram.faisto({1, 0, 0, 0, 0, 0, 9}, 10);
    const QImage shorter = histogram.grab().toImage();
    EXPECT_EQ(shorter.pixelColor(x, 50), histogramBackground); // the taller bar is gone
}
