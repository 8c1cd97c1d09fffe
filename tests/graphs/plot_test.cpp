#include "graphs/plotexport.h"
#include "graphs/pointpicking.h"
#include "graphs/scatterplot.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

using namespace torrentix;
using torrentix::testing::Mentions;

namespace {

PlotInput plotOf(std::vector<std::optional<double>> x, std::vector<double> y, bool regress) {
    PlotInput input{true, std::move(x), std::move(y), std::nullopt, {}};
    if (regress) {
        input.regression = regrlin(input.x, input.y);
    }
    return input;
}

// Six samples whose regression succeeds and reaches 6.0.
PlotInput sixSamples() {
    return plotOf({1.0, 2.0, 3.0, 4.0, 5.0, 6.0}, {0.5, 0.7, 0.6, 0.9, 1.0, 0.8}, true);
}

bool allFinite(const PlotScene& s) {
    std::vector<QPointF> all = s.points;
    all.insert(all.end(), s.bandUpper.begin(), s.bandUpper.end());
    for (std::size_t k = 0; k < s.xTicks.size(); ++k) {
        all.insert(all.end(), {s.xTicks[k].center(), s.yTicks[k].center()});
    }
    return std::all_of(all.begin(), all.end(),
                       [](QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); });
}

// Acts on the first window of type W (a menu or a dialog) as soon as it shows.
template <typename W, typename Act> void whenOpen(Act act, int tries = 500) {
    QTimer::singleShot(10, qApp, [act, tries] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<W*>(window); found != nullptr && found->isVisible()) {
                return act(found);
            }
        }
        if (tries > 0) {
            whenOpen<W>(act, tries - 1);
        }
    });
}

// Opens the context menu of a plot of 400 x 300 pixels and chooses its entry number `entry`.
void choosePlotMenuEntry(int entry) {
    ScatterPlot plot;
    plot.setInput(sixSamples());
    plot.resize(400, 300);
    plot.show();
    whenOpen<QMenu>([entry](QMenu* menu) {
        menu->close();
        menu->actions().at(entry)->trigger();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), plot.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&plot, &event);
}

} // namespace

TEST(PlotScene, PutsEveryMarkInsideTheAreaWhereTheScalePutsItsValue) {
    PlotInput stale = sixSamples(), pointless = sixSamples(), unusable = sixSamples();
    stale.regression->ok = false;    // a failed regression keeps the values of an earlier one
    pointless.regression->bandn = 0; // a band of no point gives no scale
    unusable.usable = false;         // no test variable with six values: the axes only
    const PlotInput huge = plotOf({1e300, -1e300}, {std::nan(""), 1e300}, false);
    const PlotInput zero = plotOf({0.0, std::nullopt}, {0.0, 5.0}, false); // the data give no scale
    const PlotInput unregressed = plotOf({0.2, 0.4, std::nullopt, 0.96}, {0.3, 0.8, 2.0, 0.1}, false);
    // Input, area, samples drawn inside it (-1: check only that coordinates are finite), line drawn.
    const std::tuple<PlotInput, QSizeF, int, bool> cases[] = {
        {sixSamples(), {528, 528}, 6, true}, {sixSamples(), {300, 528}, 6, true},
        {unregressed, {528, 528}, 3, false}, {zero, {528, 528}, 1, false},
        {stale, {528, 528}, 6, false},       {pointless, {528, 528}, 6, false},
        {unusable, {528, 528}, 0, false},    {huge, {528, 528}, -1, false},
        {huge, {0, 0}, -1, false},           {sixSamples(), {0, 0}, -1, true}};
    for (const auto& [input, size, inside, line] : cases) {
        SCOPED_TRACE(&input - &std::get<0>(cases[0]));
        const PlotScene scene = buildPlotScene(input, size);
        EXPECT_TRUE(allFinite(scene));
        EXPECT_EQ(scene.regressionLine.has_value(), line);
        EXPECT_EQ(scene.bandUpper.empty(), !line);
        if (inside < 0) {
            continue;
        }
        const PlotScale& s = scene.scale;
        const QRectF area(QPointF(), size);
        const double extent = s.bandn / 10.0;
        EXPECT_GT(s.toPixel(extent, 0.0).x(), 0.9 * size.width()); // the larger range spans the width
        EXPECT_EQ(std::count_if(scene.points.begin(), scene.points.end(),
                                [&](QPointF p) { return area.contains(p); }),
                  inside);
        // Tick k marks k + 1 tenths and each label its value, to within a tick's thickness; the
        // labels stand inside the area as far as the scale goes.
        ASSERT_EQ(scene.xTicks.size(), input.usable ? 16u : 0u);
        double v = 0.0;
        for (std::size_t k = 0; k < scene.xTicks.size(); ++k) {
            v += 0.1;
            EXPECT_NEAR(scene.xTicks[k].center().x(), s.toPixel(v, 0.0).x(), scene.xTicks[k].width());
            EXPECT_NEAR(scene.yTicks.at(k).center().y(), s.toPixel(0.0, v).y(), scene.yTicks[k].height());
        }
        for (std::size_t k = 0; k < scene.xLabels.size(); ++k) {
            const AxisLabel &x = scene.xLabels[k], &y = scene.yLabels.at(k);
            v = x.text.toDouble();
            EXPECT_NEAR(x.anchor.x(), s.toPixel(v, 0.0).x(), scene.xTicks[k].width());
            EXPECT_NEAR(y.anchor.y(), s.toPixel(0.0, v).y(), scene.yTicks[k].height());
            EXPECT_EQ(area.contains(x.anchor) && area.contains(y.anchor), v <= extent);
        }
        if (line) {
            // From the regression's left end to the end of the scale, between the band lines.
            const Regression& r = *input.regression;
            EXPECT_NEAR(scene.regressionLine->x1(), s.toPixel(r.xmin, 0.0).x(), 1e-9);
            EXPECT_EQ(scene.regressionLine->p2(), s.toPixel(extent, r.m * extent + r.b));
            EXPECT_NEAR(scene.bandUpper.back().x(), scene.regressionLine->x2(), 1e-9);
            for (std::size_t k = 0; k < scene.bandUpper.size(); ++k) {
                const double x = 0.1 * static_cast<double>(k + 1), y = s.toPixel(x, r.m * x + r.b).y();
                EXPECT_TRUE(scene.bandUpper[k].y() < y && y < scene.bandLower.at(k).y()) << k;
            }
        }
    }
}

TEST(PlotScene, RegressionTextPutsTheInterceptFirstAndKeepsThePlusBeforeANegativeSlope) {
    const Regression r{true, 6, -0.0771428, 0.48, 0.59512, 0.0, 0, {}};
    EXPECT_EQ(regressionText(r), QString::fromUtf8("y = 0.480 + -0.077x\n\nr\u00b2 = 0.595"));
}

TEST(PointPicking, ListsEverySampleWhoseBoxHoldsThePointer) {
    const PlotInput input = plotOf({0.5, 0.9, std::nullopt, 0.5}, {0.6, 0.1, 0.6, 0.6}, false);
    const PlotScale s = plotScale({528.0, 528.0}, 10);
    const QPointF centre = s.toPixel(0.5, 0.6);
    const double r = s.radius();
    const std::vector<std::size_t> both{0, 3}, none{}; // sample 2 has no numeric x
    EXPECT_EQ(hitSamples(input, s, centre), both);
    EXPECT_EQ(hitSamples(input, s, centre + QPointF(r - 0.01, r - 0.01)), both);
    EXPECT_EQ(hitSamples(input, s, centre + QPointF(r, 0.0)), none); // the box edges do not count
    EXPECT_EQ(hitSamples(input, s, QPointF(1.0, 1.0)), none);
    const SampleLabels labels{{"A1", "B2", "C3", "7"}, {"Upper", "x", "y", "Lower"}};
    EXPECT_EQ(hitListText(both, labels, input),
              "A1 - Upper\nx: 0.50  y: 0.60\n7 - Lower\nx: 0.50  y: 0.60\n");
    EXPECT_TRUE(hitListText(none, labels, input).isEmpty());
}

TEST(PlotExport, DrawsAtPrintResolutionNeverBelowScreenSizeAndTakesTheFormatFromSuffixOrFilter) {
    for (const auto& [screen, printed] :
         {std::pair{QSize(400, 300), QSize(2000, 1500)}, {{3000, 1500}, {3000, 1500}}}) {
        const QImage image = renderPlotImage(sixSamples(), screen, Qt::black);
        EXPECT_EQ(image.size(), printed);
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300.0, 1.0);
    }
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"a/plot.SVG", "PNG image (*.png)", "a/plot.SVG"},
        {"a/plot", "SVG drawing (*.svg)", "a/plot.svg"},
        {"a/plot", "PNG image (*.png)", "a/plot.png"},
        {"a/plot.png", "SVG drawing (*.svg)", "a/plot.png"},
        {"a/site.v2", "", "a/site.v2.png"}};
    for (const auto& [chosen, filter, path] : cases) {
        EXPECT_EQ(withImageSuffix(chosen, imageFormatFor(chosen, filter)), path) << chosen;
    }
}

TEST(PlotMenu, CopyImagePutsThePlotAtPrintSizeOnTheClipboard) {
    QApplication::clipboard()->clear();
    choosePlotMenuEntry(0); // Copy image
    const QImage plot =
        renderPlotImage(sixSamples(), {400, 300}, QApplication::palette().color(QPalette::WindowText));
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32),
              plot.convertToFormat(QImage::Format_ARGB32));
}

TEST(PlotMenu, SaveImageWritesAReadableFileInTheOfferedFormatOrTellsWhyNot) {
    QTemporaryDir dir;
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const auto save = [&dir](const char* chosen, const char* filter) {
        whenOpen<QFileDialog>([path = dir.filePath(chosen), filter](QFileDialog* dialog) {
            dialog->selectNameFilter(filter);
            if (QWidget* focused = dialog->focusWidget()) {
                focused->clearFocus(); // a focused name field would keep its text
            }
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept(); // with the file dialog's own checks
        });
        choosePlotMenuEntry(1); // Save image as
    };
    save("plot", "PNG image (*.png)");
    QImageReader png(dir.filePath("plot.png"));
    EXPECT_EQ(png.format(), "png");
    EXPECT_EQ(png.read().width(), exportImageWidth);
    save("figure", "SVG drawing (*.svg)");
    EXPECT_EQ(QSvgRenderer(dir.filePath("figure.svg")).viewBoxF(), QRectF(0.0, 0.0, 400.0, 300.0));

    QString message;
    whenOpen<QMessageBox>([&message](QMessageBox* box) {
        message = box->text();
        box->accept();
    });
    save("missing/plot.png", "PNG image (*.png)");
    EXPECT_THAT(message.toStdString(), Mentions("could not be saved", "missing/plot.png"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"figure.svg", "plot.png"})); // nothing half-written left behind
}
