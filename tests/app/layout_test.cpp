// The resize rules of the main window, in twips.
#include "app/layout.h"

#include <gtest/gtest.h>

namespace torrentix {
namespace {

TEST(WindowLayoutTest, TwipsFollowTheLogicalDpi) {
    EXPECT_EQ(Twips(96).px(1440), 96);
    EXPECT_EQ(Twips(96).px(15), 1);
    EXPECT_EQ(Twips(192).px(1440), 192);
    EXPECT_EQ(Twips(144).px(QSize(minimumWindowWidth, minimumWindowHeight)), QSize(1056, 672));
    EXPECT_EQ(Twips(96).twips(704), 10560);
}

TEST(WindowLayoutTest, WindowNeverSmallerThanItsMinimum) {
    EXPECT_EQ(boundedWindowSize(QSize(5000, 9000)), QSize(10560, 9000));
    EXPECT_EQ(boundedWindowSize(QSize(12000, 3000)), QSize(12000, 6720));
    const WindowLayout small = windowLayout(QSize(100, 100));
    EXPECT_EQ(small.panel.size(), QSize(10560 - 1500, 6720 - 980));
}

TEST(WindowLayoutTest, PanelsAndFixedPositions) {
    const WindowLayout l = windowLayout(QSize(15000, 9000));
    EXPECT_EQ(l.panel.size(), QSize(13500, 8020));
    EXPECT_EQ(l.info.right() + 1, 15000 - 150);
    EXPECT_EQ(l.wait.center().x(), 15000 / 2 - 1);
    EXPECT_NEAR(l.wait.center().y(), 9000 / 2, 1);
    EXPECT_LE(l.panel.right(), 15000);
    EXPECT_LE(l.panel.bottom(), 9000);

    const StartLayout s = startLayout(l.panel.size(), 9000, l.panel.y());
    EXPECT_EQ(s.metricFrame.width(), 13500 - 2580);
    EXPECT_EQ(s.metricLabel.width(), s.metricFrame.width() - 345);
    EXPECT_EQ(s.prompt.y() + l.panel.y(), 9000 - 1515);
    EXPECT_GT(s.prompt.y(), s.riverTypes.bottom());
    EXPECT_LT(s.prompt.right(), s.back.x());
}

TEST(WindowLayoutTest, ResultsListShareAndBounds) {
    EXPECT_EQ(resultsLayout(QSize(10000, 6000)).list.width(), 7050);
    EXPECT_EQ(resultsLayout(QSize(9060, 6000)).list.width(), 6387);
    EXPECT_EQ(resultsLayout(QSize(8000, 6000)).list.width(), 6345);
    EXPECT_EQ(resultsLayout(QSize(20000, 6000)).list.width(), 8345);

    const QSize panel(12000, 7000);
    const ResultsLayout r = resultsLayout(panel);
    EXPECT_EQ(r.report.x() + r.report.width(), panel.width() - 100);
    EXPECT_GT(r.report.x(), r.list.x() + r.list.width());
    EXPECT_EQ(r.histogram.y(), panel.height() - 2310);
    EXPECT_EQ(r.histogram.x(), r.report.x() + 25);
    EXPECT_EQ(r.histogramCaption.y(), r.histogram.y() - 255);
    EXPECT_LE(r.report.y() + r.report.height(), r.histogramCaption.y());
    EXPECT_LE(r.histogram.y() + r.histogram.height(), panel.height());
}

} // namespace
} // namespace torrentix
