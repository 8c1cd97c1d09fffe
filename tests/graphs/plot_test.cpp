#include "graphs/plotexport.h"
#include "graphs/plotscene.h"
#include "graphs/pointpicking.h"
#include "support/testsupport.h"

#include <QTemporaryDir>

#include <cmath>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

PlotInput plotOf(std::vector<std::optional<double>> x, std::vector<double> y, bool regress = true) {
    PlotInput input{true, std::move(x), std::move(y), std::nullopt, "EQR_NAT (normalised)", "STAR_ICMi", {}};
    if (regress) {
        input.regression = fitLine(input.x, input.y);
    }
    return input;
}

// Six samples whose regression succeeds and reaches 6.0.
PlotInput sixSamples() {
    return plotOf({1.0, 2.0, 3.0, 4.0, 5.0, 6.0}, {0.5, 0.7, 0.6, 0.9, 1.0, 0.8});
}

} // namespace

TEST(PlotScene, DrawsEverySampleWholeAndPickableAndEachLabelWithin1PxOfItsValue) {
    const PlotInput six = sixSamples();
    PlotInput stale = six, pointless = six, unusable = six;
    stale.regression->ok = false;         // a failed regression keeps the values of an earlier one
    pointless.regression->bandPoints = 0; // a band of no point gives no scale
    unusable.usable = false;              // no test variable with six values: the axes only
    // The largest values lie just above a tenth: y 1.129 has a band of 11 tenths.
    const PlotInput edge = plotOf({0.2, 0.4, 0.6, 0.8, 1.0, 1.01}, {0.3, 0.5, 0.6, 0.9, 1.129, 0.7});
    const PlotInput negative = plotOf({-0.5, 0.2, 0.4, 0.6, -0.004, 1.0}, {0.3, 0.4, -0.3, 0.8, 0.9, 1.0});
    const PlotInput huge = plotOf({1e300, -1e300}, {std::nan(""), 1e300}, false);
    const PlotInput zero = plotOf({0.0, std::nullopt}, {0.0, 5.0}, false); // the data give no scale
    const PlotInput unregressed = plotOf({0.2, 0.4, std::nullopt, 0.96}, {0.3, 0.8, 2.0, 0.1}, false);
    const QSizeF sq(528, 528), big(1500, 1500), tall(400, 900), wide(1200, 700), none(0, 0);
    // Input, area, samples drawn (-1: check only that coordinates are finite), line drawn.
    const std::tuple<PlotInput, QSizeF, int, bool> cases[] = {
        {six, sq, 6, true},      {six, tall, 6, true},          {edge, sq, 6, true},
        {edge, big, 6, true},    {edge, tall, 6, true},         {edge, wide, 6, true},
        {negative, sq, 6, true}, {unregressed, wide, 3, false}, {zero, sq, 1, false},
        {stale, sq, 6, false},   {pointless, tall, 6, false},   {unusable, sq, 0, false},
        {huge, sq, -1, false},   {huge, none, -1, false},       {six, none, -1, true}};
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        SCOPED_TRACE(c);
        const auto& [input, size, drawn, line] = cases[c];
        const PlotScene scene = buildPlotScene(input, size);
        for (const auto* points : {&scene.points, &scene.bandUpper, &scene.bandLower}) {
            EXPECT_TRUE(std::all_of(points->begin(), points->end(),
                                    [](QPointF p) { return std::isfinite(p.x() + p.y()); }));
        }
        EXPECT_EQ(scene.regressionLine.has_value() && !scene.bandUpper.empty(), line);
        EXPECT_EQ(scene.pointAlpha, 255); // samples fade only by the thousand
        if (drawn < 0) {
            continue;
        }
        const PlotScale& s = scene.scale;
        const QRectF area(QPointF(), size);
        const double r = s.radius(), high = s.high / 10.0;
        // The scale spans the shorter side but its margins.
        EXPECT_GT(s.toPixel(high, 0.0).x() - s.toPixel(s.low / 10.0, 0.0).x(),
                  0.9 * std::min(size.width(), size.height()));
        ASSERT_EQ(scene.points.size(), static_cast<std::size_t>(drawn));
        for (std::size_t i = 0, p = 0; input.usable && i < input.x.size(); ++i) {
            if (input.x[i]) {
                EXPECT_TRUE(area.contains(QRectF(scene.points[p] - QPointF(r, r), QSizeF(2 * r, 2 * r))))
                    << i;
                const auto hits = hitSamples(input, s, scene.points[p++]);
                EXPECT_NE(std::find(hits.begin(), hits.end(), i), hits.end()) << i;
            }
        }
        // Each label is centred within 1 px of its value and stands whole inside the area when
        // the value is on the scale, clear of both titles.
        ASSERT_EQ(scene.xTitle.has_value() && scene.yTitle.has_value(), input.usable);
        for (std::size_t k = 0; k < scene.xLabels.size(); ++k) {
            const QRectF &x = scene.xLabels[k].rect, &y = scene.yLabels.at(k).rect;
            const double v = scene.xLabels[k].text.toDouble();
            EXPECT_NEAR(x.center().x(), s.toPixel(v, 0.0).x(), 1.0);
            EXPECT_NEAR(y.center().y(), s.toPixel(0.0, v).y(), 1.0);
            EXPECT_TRUE(v > high || (area.contains(x) && area.contains(y))) << v;
            for (const QRectF& title : {scene.xTitle->rect, scene.yTitle->rect}) {
                EXPECT_TRUE(area.contains(title) && !(area.contains(x) && x.intersects(title)) &&
                            !(area.contains(y) && y.intersects(title)));
            }
        }
        if (line) {
            // From the regression's left end to the end of its band, as the method draws it.
            const Regression& rg = *input.regression;
            const double xEnd = rg.bandPoints / 10.0;
            EXPECT_EQ(*scene.regressionLine,
                      QLineF(s.toPixel(rg.xmin, rg.m * rg.xmin + rg.b), s.toPixel(xEnd, rg.m * xEnd + rg.b)));
        }
    }
    const std::vector<std::optional<double>> dense(20000, 0.5);
    EXPECT_LT(buildPlotScene(plotOf(dense, std::vector(20000, 0.5), false), sq).pointAlpha, 128);
}

TEST(PlotExport, FiguresCarryTitlesEquationAndNInEachFormat) {
    const PlotInput plot = sixSamples();
    const QImage image = renderPlotImage(plot, {400, 300}, Qt::black);
    EXPECT_EQ(image.width(), exportImageWidth); // print resolution, the plot's width
    EXPECT_GT(image.height(), 1500);            // and a line for the equation under the plot

    QTemporaryDir dir;
    ASSERT_FALSE(savePlotImage(dir.filePath("a.svg"), ImageFormat::Svg, plot, {400, 300}, Qt::black));
    ASSERT_FALSE(savePlotImage(dir.filePath("a.pdf"), ImageFormat::Pdf, plot, {400, 300}, Qt::black));
    EXPECT_THAT(readFile(dir.filePath("a.svg").toStdString()),
                Mentions("STAR_ICMi", "EQR_NAT (normalised)", "y = 0.480 + 0.077x", "0.595", "n = 6"));
    EXPECT_THAT(readFile(dir.filePath("a.pdf").toStdString()), Mentions("%PDF-", "%%EOF"));
    EXPECT_TRUE(savePlotImage(dir.filePath("none/a.png"), ImageFormat::Png, plot, {400, 300}, Qt::black));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"a.pdf", "a.svg"})); // nothing half-written

    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"a/plot.SVG", "PNG image (*.png)", "a/plot.SVG"},
        {"a/plot", "PDF document (*.pdf)", "a/plot.pdf"},
        {"a/site.v2", "", "a/site.v2.png"}};
    for (const auto& [chosen, filter, path] : cases) {
        EXPECT_EQ(withImageSuffix(chosen, imageFormatFor(chosen, filter)), path) << chosen;
    }
}
