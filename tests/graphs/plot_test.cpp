#include "graphs/colourscheme.h"
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
    PlotInput input{true, std::move(x), std::move(y), std::nullopt, "EQR_NAT (normalised)", "STAR_ICMi", {},
                    {}};
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

TEST(PlotScene, DrawsSamplesWholeAndPickableLabelsEveryTickOutsideThePlottingAreaAndCutsLinesAtItsEdges) {
    const PlotInput six = sixSamples();
    PlotInput stale = six, pointless = six, unusable = six;
    stale.regression->ok = false;         // a failed regression keeps the values of an earlier one
    pointless.regression->bandPoints = 0; // a band of no point gives no scale
    unusable.usable = false;              // no test variable with six values: the axes only
    // The largest values lie just above a tenth: y 1.129 has a band of 11 tenths.
    const PlotInput edge = plotOf({0.2, 0.4, 0.6, 0.8, 1.0, 1.01}, {0.3, 0.5, 0.6, 0.9, 1.129, 0.7});
    const PlotInput negative = plotOf({-0.5, 0.2, 0.4, 0.6, -0.004, 1.0}, {0.3, 0.4, -0.3, 0.8, 0.9, 1.0});
    PlotInput steep = six; // a line that leaves the plotting area at its foot
    steep.regression->m = 0.5;
    steep.regression->b = -1.0;
    const PlotInput huge = plotOf({1e300, -1e300}, {std::nan(""), 1e300}, false);
    const PlotInput zero = plotOf({0.0, std::nullopt}, {0.0, 5.0}, false); // the data give no scale
    const PlotInput unregressed = plotOf({0.2, 0.4, std::nullopt, 0.96}, {0.3, 0.8, 2.0, 0.1}, false);
    const QSizeF sq(528, 528), big(1500, 1500), tall(400, 900), wide(1200, 700), none(0, 0);
    // Input, area, samples drawn (-1: check only that coordinates are finite), line drawn.
    const std::tuple<PlotInput, QSizeF, int, bool> cases[] = {
        {six, sq, 6, true},       {six, tall, 6, true},    {edge, sq, 6, true},
        {steep, sq, 6, true},     {edge, big, 6, true},    {edge, tall, 6, true},
        {edge, wide, 6, true},    {negative, sq, 6, true}, {unregressed, wide, 3, false},
        {zero, sq, 1, false},     {stale, sq, 6, false},   {pointless, tall, 6, false},
        {unusable, sq, 0, false}, {huge, sq, -1, false},   {huge, none, -1, false},
        {six, none, -1, true}};
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        SCOPED_TRACE(c);
        const auto& [input, size, drawn, line] = cases[c];
        const PlotScene scene = buildPlotScene(input, size);
        EXPECT_TRUE(std::all_of(scene.points.begin(), scene.points.end(),
                                [](QPointF p) { return std::isfinite(p.x() + p.y()); }));
        EXPECT_EQ(scene.regressionLine.has_value() && !scene.band.empty(), line);
        EXPECT_EQ(scene.pointAlpha, 255); // samples fade only by the thousand
        if (drawn < 0) {
            continue;
        }
        const PlotScale& s = scene.scale;
        const QRectF area(QPointF(), size);
        const double r = s.radius(), high = s.high / 10.0;
        // The scale spans the shorter side but the margins of labels and titles.
        EXPECT_GT(s.toPixel(high, 0.0).x() - s.toPixel(s.lowest(), 0.0).x(),
                  0.75 * std::min(size.width(), size.height()));
        ASSERT_EQ(scene.points.size(), static_cast<std::size_t>(drawn));
        for (std::size_t i = 0, p = 0; input.usable && i < input.x.size(); ++i) {
            if (input.x[i]) {
                EXPECT_TRUE(area.contains(QRectF(scene.points[p] - QPointF(r, r), QSizeF(2 * r, 2 * r))))
                    << i;
                const auto hits = hitSamples(input, s, scene.points[p++]);
                EXPECT_NE(std::find(hits.begin(), hits.end(), i), hits.end()) << i;
            }
        }
        // Every tick has its label, centred on the tick's value; labels and titles stand whole
        // inside the area, outside the plotting area, apart from each other and from every sample.
        ASSERT_EQ(scene.xTitle.has_value() && scene.yTitle.has_value(), input.usable);
        if (!input.usable) {
            continue;
        }
        ASSERT_TRUE(scene.xLabels.size() == scene.xTicks.size() &&
                    scene.yLabels.size() == scene.yTicks.size());
        std::vector<QRectF> texts = {scene.xTitle->rect, scene.yTitle->rect};
        for (std::size_t k = 0; k < scene.xLabels.size(); ++k) {
            const QRectF &x = scene.xLabels[k].rect, &y = scene.yLabels[k].rect;
            const double v = QString(scene.xLabels[k].text).replace(QChar(0x2212), '-').toDouble();
            EXPECT_NEAR(x.center().x(), s.toPixel(v, 0.0).x(), 1.0);
            EXPECT_NEAR(y.center().y(), s.toPixel(0.0, v).y(), 1.0);
            EXPECT_NEAR(scene.xTicks[k].center().x(), x.center().x(), 1e-9);
            texts.insert(texts.end(), {x, y});
        }
        EXPECT_GE(scene.xLabels.size(), 2u);
        EXPECT_EQ(scene.xLabels.front().text.startsWith(QChar(0x2212)),
                  s.low < 0); // negative values labelled
        for (std::size_t t = 0; t < texts.size(); ++t) {
            EXPECT_TRUE(area.contains(texts[t]) && !texts[t].intersects(s.frame)) << t;
            for (std::size_t u = t + 1; u < texts.size(); ++u) {
                EXPECT_FALSE(texts[t].intersects(texts[u])) << t << " " << u;
            }
            for (const QPointF& p : scene.points) {
                EXPECT_FALSE(texts[t].intersects(QRectF(p - QPointF(r, r), QSizeF(2 * r, 2 * r)))) << t;
            }
        }
        // The regression line lies on y = mx + b, and it and its band stay within the plotting area.
        std::vector<QLineF> lines = scene.band;
        if (line) {
            lines.push_back(*scene.regressionLine);
        }
        for (const QLineF& l : lines) {
            const QRectF within = s.frame.adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
            EXPECT_TRUE(within.contains(l.p1()) && within.contains(l.p2()));
        }
        if (line) {
            const Regression& rg = *input.regression;
            for (const QPointF p : {scene.regressionLine->p1(), scene.regressionLine->p2()}) {
                const double x = s.lowest() + (p.x() - s.frame.left()) / s.perUnit;
                EXPECT_NEAR(s.lowest() + (s.frame.bottom() - p.y()) / s.perUnit, rg.m * x + rg.b, 1e-9);
            }
        }
    }
    const std::vector<std::optional<double>> dense(20000, 0.5);
    EXPECT_LT(buildPlotScene(plotOf(dense, std::vector(20000, 0.5), false), sq).pointAlpha, 128);
}

TEST(PlotScene, TheEquationWritesTheSlopesSignAsItsOperator) {
    Regression r;
    r.m = -0.7744;
    r.b = 0.9526;
    r.r2 = 0.5;
    r.n = 12;
    EXPECT_EQ(regressionText(r), QString::fromUtf8("y = 0.953 \u2212 0.774x\n\nr\u00b2 = 0.500\n\nn = 12"));
    r.b = -0.0004; // rounds to zero: no sign
    r.m = 0.5;
    EXPECT_TRUE(regressionText(r).startsWith("y = 0.000 + 0.500x"));
    r.b = -0.25;
    EXPECT_TRUE(regressionText(r).startsWith(QString::fromUtf8("y = \u22120.250 + 0.500x")));
}

// Figures are dark on white whatever the screen shows, and name the file, GIG, type and pair.
TEST(PlotExport, FiguresCarryCaptionTitlesEquationAndNInPrintColoursInEachFormat) {
    PlotInput plot = sixSamples();
    plot.caption =
        QString::fromUtf8("rivers.txt \u00b7 Mediterranean \u00b7 R-M1 \u00b7 STAR_ICMi against EQR_NAT");
    const QImage image = renderPlotImage(plot, {400, 300});
    EXPECT_EQ(image.width(), exportImageWidth); // print resolution, the plot's width
    EXPECT_GT(image.height(), 1600);            // and lines for the caption and the equation
    // White round the caption and beside the plot; the caption's letters readable on it.
    EXPECT_TRUE(image.pixelColor(3, 3) == Qt::white && image.pixelColor(1995, 900) == Qt::white);
    int readable = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            readable += contrastRatio(image.pixelColor(x, y), Qt::white) >= 4.5 ? 1 : 0;
        }
    }
    EXPECT_GT(readable, 500);

    QTemporaryDir dir;
    ASSERT_FALSE(savePlotImage(dir.filePath("a.svg"), ImageFormat::Svg, plot, {400, 300}));
    ASSERT_FALSE(savePlotImage(dir.filePath("a.pdf"), ImageFormat::Pdf, plot, {400, 300}));
    EXPECT_THAT(readFile(dir.filePath("a.svg").toStdString()),
                Mentions("STAR_ICMi", "EQR_NAT (normalised)", "y = 0.480 + 0.077x", "0.595", "n = 6",
                         "rivers.txt \u00b7 Mediterranean \u00b7 R-M1"));
    EXPECT_THAT(readFile(dir.filePath("a.pdf").toStdString()), Mentions("%PDF-", "%%EOF"));
    EXPECT_TRUE(savePlotImage(dir.filePath("none/a.png"), ImageFormat::Png, plot, {400, 300}));
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

// A figure of many samples copies one drawn circle to each (a raster image): it shows the
// same picture as one with a circle drawn per sample, at the image's own scale.
TEST(PlotExport, ManySamplesAreStampedWhereTheirCirclesWouldBeDrawn) {
    const auto figureOf = [](std::size_t samples) {
        std::vector<std::optional<double>> x;
        std::vector<double> y;
        for (std::size_t i = 0; i < samples; ++i) {
            x.push_back(0.25 + 0.5 * static_cast<double>(i % 2)); // two places, many circles on each
            y.push_back(0.75 - 0.5 * static_cast<double>(i % 2));
        }
        return renderPlotImage(plotOf(std::move(x), std::move(y), false), QSize(600, 400));
    };
    const QImage drawn = figureOf(1990);   // a circle drawn per sample
    const QImage stamped = figureOf(2010); // one circle copied
    ASSERT_EQ(drawn.size(), stamped.size());
    ASSERT_GT(drawn.width(), 600); // the figure is drawn at the image's larger scale
    int differing = 0;
    int inked = 0;
    for (int row = 0; row < drawn.height(); ++row) {
        for (int column = 0; column < drawn.width(); ++column) {
            const QColor a = drawn.pixelColor(column, row), b = stamped.pixelColor(column, row);
            inked += a.lightness() < 128 ? 1 : 0;
            differing += std::abs(a.lightness() - b.lightness()) > 96 ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_LT(differing, inked / 50) << differing << " of " << inked;
}
