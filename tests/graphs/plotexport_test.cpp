#include "graphs/plotexport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace torrentix;

namespace {

PlotInput samplePlot() {
    PlotInput input;
    input.usable = true;
    for (int i = 1; i <= 8; ++i) {
        input.x.emplace_back(0.1 * i);
        input.y.push_back(0.2 + 0.09 * i + (i % 2) * 0.05);
    }
    input.regression = regrlin(input.x, input.y);
    return input;
}

} // namespace

TEST(PlotExport, PngIsDrawnAtPrintResolution) {
    const QImage image = renderPlotImage(samplePlot(), QSize(400, 400), Qt::black);
    EXPECT_EQ(image.width(), exportImageWidth);
    EXPECT_EQ(image.height(), exportImageWidth);
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300.0, 1.0);
    EXPECT_EQ(image.pixelColor(5, 5), QColor(220, 220, 255));

    const QImage large = renderPlotImage(samplePlot(), QSize(3000, 1500), Qt::black);
    EXPECT_EQ(large.size(), QSize(3000, 1500)); // never smaller than on screen
}

TEST(PlotExport, WritesPngAndSvgFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath("plot.png");
    EXPECT_FALSE(savePlotImage(png, ImageFormat::Png, samplePlot(), QSize(400, 400), Qt::black).has_value());
    EXPECT_EQ(QImage(png).width(), exportImageWidth);

    const QString svg = dir.filePath("plot.svg");
    EXPECT_FALSE(savePlotImage(svg, ImageFormat::Svg, samplePlot(), QSize(400, 400), Qt::black).has_value());
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray drawing = file.readAll();
    EXPECT_TRUE(drawing.contains("<svg"));
    EXPECT_TRUE(drawing.contains("</svg>"));
}

TEST(PlotExport, AFileThatCannotBeWrittenIsReportedAndLeftAbsent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("missing/plot.png");
    const auto problem = savePlotImage(path, ImageFormat::Png, samplePlot(), QSize(400, 400), Qt::black);
    ASSERT_TRUE(problem.has_value());
    EXPECT_FALSE(problem->isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(PlotExport, ChoosesTheFormatFromTheSuffixOrTheFilter) {
    EXPECT_EQ(imageFormatFor("a/plot.SVG", "PNG image (*.png)"), ImageFormat::Svg);
    EXPECT_EQ(imageFormatFor("a/plot", "SVG drawing (*.svg)"), ImageFormat::Svg);
    EXPECT_EQ(imageFormatFor("a/plot", "PNG image (*.png)"), ImageFormat::Png);
    EXPECT_EQ(withImageSuffix("a/plot", ImageFormat::Svg), "a/plot.svg");
    EXPECT_EQ(withImageSuffix("a/plot.png", ImageFormat::Png), "a/plot.png");
    EXPECT_EQ(withImageSuffix("a/site.v2", ImageFormat::Png), "a/site.v2.png");
}
