#include "graphs/plotscene.h"
#include "graphs/pointpicking.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace torrentix;

namespace {

// A 528-pixel area: one design twip is 0.1 pixel, so the margins are 10 pixels and the
// data span (W - 210 twips) is 507 pixels.
const QSizeF area(528.0, 528.0);

PlotInput sixSamples() {
    PlotInput input;
    input.usable = true;
    for (int i = 1; i <= 6; ++i) {
        input.x.emplace_back(static_cast<double>(i));
    }
    input.y = {0.5, 0.7, 0.6, 0.9, 1.0, 0.8};
    input.regression = regrlin(input.x, input.y);
    return input;
}

Regression succeeded(int bandn, double m, double b) {
    Regression r;
    r.ok = true;
    r.n = 6;
    r.m = m;
    r.b = b;
    r.xmin = 0.1;
    r.bandn = bandn;
    r.bandhw.assign(static_cast<std::size_t>(bandn), 0.05);
    return r;
}

bool allFinite(const PlotScene& scene) {
    for (const QPointF& p : scene.points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            return false;
        }
    }
    for (const QRectF& t : scene.xTicks) {
        if (!std::isfinite(t.left()) || !std::isfinite(t.top())) {
            return false;
        }
    }
    for (const QRectF& t : scene.yTicks) {
        if (!std::isfinite(t.left()) || !std::isfinite(t.top())) {
            return false;
        }
    }
    return std::isfinite(scene.scale.perUnit);
}

} // namespace

TEST(PlotScale, LargestValueOfOneSpansTheWidth) {
    const PlotScale s = plotScale(area, 10);
    EXPECT_DOUBLE_EQ(s.unit, 0.1);
    EXPECT_DOUBLE_EQ(s.perUnit, 507.0);
    EXPECT_DOUBLE_EQ(s.toPixel(1.0, 0.0).x(), 528.0 - 11.0); // W - 110 twips
    EXPECT_DOUBLE_EQ(s.toPixel(0.0, 1.0).y(), 528.0 - 10.0 - 507.0);
    EXPECT_DOUBLE_EQ(s.toPixel(0.0, 0.0).x(), 10.0);
    EXPECT_DOUBLE_EQ(s.radius(), 528.0 * 0.007);
}

TEST(PlotScale, TicksAndLabelsStayAtTheirDataValuesOnAWiderScale) {
    PlotInput input;
    input.usable = true;
    input.x = {0.5, 3.0};
    input.y = {0.2, 0.4};
    input.regression = succeeded(30, 0.1, 0.1);
    const PlotScene scene = buildPlotScene(input, area);
    ASSERT_EQ(scene.xTicks.size(), 16u);
    ASSERT_EQ(scene.yTicks.size(), 16u);
    const double step = 507.0 / 30.0; // pixels per 0.1
    EXPECT_DOUBLE_EQ(scene.points[1].x(), 528.0 - 11.0);
    EXPECT_DOUBLE_EQ(scene.xTicks[15].left(), 10.0 + 16 * step); // the last tick stands at 1.6
    EXPECT_DOUBLE_EQ(scene.xTicks[0].top(), 528.0 - 15.0);
    EXPECT_DOUBLE_EQ(scene.xTicks[0].width(), 4.5);
    EXPECT_DOUBLE_EQ(scene.xTicks[0].height(), 9.0);
    // The y ticks count from the top of the x span (xw + 100 twips), not from the x axis.
    EXPECT_DOUBLE_EQ(scene.yTicks[1].top(), 507.0 + 10.0 - 2 * step);
    EXPECT_DOUBLE_EQ(scene.yTicks[1].left(), 5.5);
    ASSERT_EQ(scene.xLabels.size(), 6u);
    EXPECT_EQ(scene.xLabels[5].text, "1.2");
    EXPECT_DOUBLE_EQ(scene.xLabels[5].anchor.x(), 10.0 + 12 * step);
    EXPECT_DOUBLE_EQ(scene.xLabels[5].anchor.y(), 528.0 - 33.0);
    EXPECT_EQ(scene.yLabels[0].text, "0.2");
    EXPECT_DOUBLE_EQ(scene.yLabels[0].anchor.x(), 16.5);
    EXPECT_DOUBLE_EQ(scene.yLabels[0].anchor.y(), scene.yTicks[1].top());
}

TEST(PlotScene, DrawsTheRegressionLineFromItsLeftEndToTheEndOfTheScale) {
    const PlotInput input = sixSamples();
    ASSERT_TRUE(input.regression->ok);
    ASSERT_EQ(input.regression->bandn, 60);
    const PlotScene scene = buildPlotScene(input, area);
    ASSERT_TRUE(scene.regressionLine.has_value());
    const PlotScale& s = scene.scale;
    const Regression& r = *input.regression;
    EXPECT_NEAR(scene.regressionLine->x1(), s.toPixel(0.8, 0.0).x(), 1e-9);
    EXPECT_NEAR(scene.regressionLine->y1(), s.toPixel(0.0, r.m * 0.8 + r.b).y(), 1e-9);
    EXPECT_NEAR(scene.regressionLine->x2(), s.toPixel(6.0, 0.0).x(), 1e-9);
    EXPECT_NEAR(scene.regressionLine->y2(), s.toPixel(0.0, r.m * 6.0 + r.b).y(), 1e-9);
    ASSERT_EQ(scene.bandUpper.size(), 60u);
    ASSERT_EQ(scene.bandLower.size(), 60u);
    // Both band lines stand the half-width off the line at x = 0.1.
    const double lineAt01 = s.toPixel(0.0, r.m * 0.1 + r.b).y();
    EXPECT_NEAR(lineAt01 - scene.bandUpper[0].y(), r.bandhw[0] * s.perUnit, 1e-9);
    EXPECT_NEAR(scene.bandLower[0].y() - lineAt01, r.bandhw[0] * s.perUnit, 1e-9);
    EXPECT_EQ(scene.points.size(), 6u);
}

TEST(PlotScene, WithoutASuccessfulRegressionShowsAxesAndPointsOnly) {
    PlotInput input = sixSamples();
    input.x = {0.2, 0.4, std::nullopt, 1.04, 0.5, 0.25};
    input.regression.reset(); // before any regression
    PlotScene scene = buildPlotScene(input, area);
    EXPECT_FALSE(scene.regressionLine.has_value());
    EXPECT_TRUE(scene.bandUpper.empty());
    EXPECT_EQ(scene.points.size(), 5u);
    EXPECT_EQ(scene.xTicks.size(), 16u);
    EXPECT_EQ(scene.scale.bandn, 10); // from the largest value, 1.04
    EXPECT_TRUE(allFinite(scene));

    Regression failed = succeeded(12, 0.5, 0.1); // stale values of a failed regression
    failed.ok = false;
    input.regression = failed;
    scene = buildPlotScene(input, area);
    EXPECT_FALSE(scene.regressionLine.has_value());
    EXPECT_TRUE(scene.bandLower.empty());

    input.regression = succeeded(0, 0.5, 0.1); // a band of no point gives no scale
    scene = buildPlotScene(input, area);
    EXPECT_FALSE(scene.regressionLine.has_value());
    EXPECT_TRUE(allFinite(scene));
}

TEST(PlotScene, NothingDividesByZeroWithoutData) {
    PlotInput input;
    input.usable = true;
    input.x = {0.0, std::nullopt};
    input.y = {0.0, 5.0};
    PlotScene scene = buildPlotScene(input, area);
    EXPECT_EQ(scene.scale.bandn, 10);
    EXPECT_TRUE(allFinite(scene));

    input.x = {1e300, -1e300};
    input.y = {std::nan(""), 1e300};
    scene = buildPlotScene(input, area);
    EXPECT_TRUE(allFinite(scene));
    EXPECT_TRUE(allFinite(buildPlotScene(input, QSizeF(0.0, 0.0))));
}

TEST(PlotScene, WithoutUsableTestVariableOnlyTheAxesStand) {
    PlotInput input = sixSamples();
    input.usable = false;
    const PlotScene scene = buildPlotScene(input, area);
    EXPECT_TRUE(scene.points.empty());
    EXPECT_TRUE(scene.xTicks.empty());
    EXPECT_TRUE(scene.xLabels.empty());
    EXPECT_FALSE(scene.regressionLine.has_value());
    EXPECT_EQ(scene.xAxis, QLineF(10.0, 518.0, 518.0, 518.0));
    EXPECT_EQ(scene.yAxis, QLineF(10.0, 518.0, 10.0, 10.0));
}

TEST(RegressionText, PutsTheInterceptFirstAndKeepsThePlusBeforeANegativeSlope) {
    Regression r = succeeded(10, -0.0771428, 0.48);
    r.r2 = 0.59512;
    EXPECT_EQ(regressionText(r), QString::fromUtf8("y = 0.480 + -0.077x\n\nr\u00b2 = 0.595"));
}

TEST(PointPicking, ListsEveryOverlappingSampleInSampleOrder) {
    PlotInput input;
    input.usable = true;
    input.x = {0.5, 0.9, std::nullopt, 0.5};
    input.y = {0.6, 0.1, 0.6, 0.6};
    const PlotScale s = plotScale(area, 10);
    const QPointF centre = s.toPixel(0.5, 0.6);
    const std::vector<std::size_t> both{0, 3};
    EXPECT_EQ(hitSamples(input, s, centre), both); // sample 3 has no numeric x
    EXPECT_EQ(hitSamples(input, s, centre + QPointF(s.radius() - 0.01, s.radius() - 0.01)), both);
    EXPECT_TRUE(hitSamples(input, s, centre + QPointF(s.radius(), 0.0)).empty()); // edges do not count
    EXPECT_TRUE(hitSamples(input, s, QPointF(1.0, 1.0)).empty());

    SampleLabels labels{{"A1", "B2", "C3", "7"}, {"Upper Reach    ", "x", "y", "Lower Reach    "}};
    EXPECT_EQ(hitListText(both, labels, input),
              "A1 - Upper Reach    \nx: 0.50  y: 0.60\n7 - Lower Reach    \nx: 0.50  y: 0.60\n");
    EXPECT_TRUE(hitListText({}, labels, input).isEmpty());
}
