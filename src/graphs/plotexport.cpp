#include "graphs/plotexport.h"

#include "graphs/plotpainter.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

constexpr double printDotsPerInch = 300.0;
constexpr double printDotsPerMeter = printDotsPerInch / 0.0254;

QString figureTitle(const PlotInput& input) {
    return input.caption.isEmpty() ? input.yTitle + QStringLiteral(" against ") + input.xTitle
                                   : input.caption;
}

// The caption above the plot, wrapped within its width.
QRectF captionRect(const PlotInput& input, QSize plot, const QFont& font) {
    const QFontMetricsF metrics(font);
    const double margin = 0.5 * metrics.height();
    const double width = std::max(1.0, plot.width() - 2.0 * margin);
    const QRectF text = metrics.boundingRect(QRectF(0.0, 0.0, width, 1.0e6),
                                             Qt::TextWordWrap | Qt::AlignCenter, figureTitle(input));
    return {margin, margin, width, std::ceil(text.height())};
}

double captionHeight(const PlotInput& input, QSize plot, const QFont& font) {
    return std::ceil(captionRect(input, plot, font).bottom() + 0.5 * QFontMetricsF(font).height());
}

// The equation, r² and n on one line.
std::optional<QString> equationLine(const PlotInput& input) {
    if (!hasDrawableRegression(input)) {
        return std::nullopt;
    }
    return regressionText(*input.regression).replace(QStringLiteral("\n\n"), QStringLiteral("      "));
}

QSize atLeastOnePixel(QSize size) {
    return size.expandedTo(QSize(1, 1));
}

std::optional<QString> writePng(QSaveFile& file, const PlotInput& input, QSize plot) {
    if (!renderPlotImage(input, plot).save(&file, "PNG")) {
        return QStringLiteral("the image could not be encoded");
    }
    return std::nullopt;
}

std::optional<QString> writeSvg(QSaveFile& file, const PlotInput& input, QSize plot) {
    const QSize figure = figureSize(input, plot);
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(figure);
    generator.setViewBox(QRect(QPoint(0, 0), figure));
    generator.setTitle(figureTitle(input));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return QStringLiteral("the drawing could not be started");
    }
    paintPlotFigure(painter, input, plot);
    painter.end();
    return std::nullopt;
}

std::optional<QString> writePdf(QSaveFile& file, const PlotInput& input, QSize plot) {
    const QSize figure = figureSize(input, plot);
    QPdfWriter writer(&file);
    writer.setResolution(static_cast<int>(printDotsPerInch));
    writer.setTitle(figureTitle(input));
    const double height = pdfFigureMillimetres * figure.height() / figure.width();
    writer.setPageSize(QPageSize(QSizeF(pdfFigureMillimetres, height), QPageSize::Millimeter, QString(),
                                 QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF());
    QPainter painter;
    if (!painter.begin(&writer)) {
        return QStringLiteral("the document could not be started");
    }
    const double factor = writer.width() / static_cast<double>(figure.width());
    painter.scale(factor, factor);
    paintPlotFigure(painter, input, plot);
    painter.end();
    return std::nullopt;
}

} // namespace

QSize figureSize(const PlotInput& input, QSize plot) {
    plot = atLeastOnePixel(plot);
    const QFont font = plotSceneFont(input, QSizeF(plot));
    const double equation = equationLine(input) ? std::ceil(2.0 * QFontMetricsF(font).height()) : 0.0;
    return {plot.width(), plot.height() + static_cast<int>(captionHeight(input, plot, font) + equation)};
}

void paintPlotFigure(QPainter& painter, const PlotInput& input, QSize plot) {
    plot = atLeastOnePixel(plot);
    const ColourScheme colours = printColours();
    const PlotScene scene = buildPlotScene(input, QSizeF(plot));
    const QSize figure = figureSize(input, plot);
    const double top = captionHeight(input, plot, scene.font);
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), figure), colours.plot.background);
    painter.setFont(scene.font);
    painter.setPen(colours.plot.text);
    painter.drawText(captionRect(input, plot, scene.font), Qt::TextWordWrap | Qt::AlignCenter,
                     figureTitle(input));
    if (const auto text = equationLine(input)) {
        const QRectF line(0.0, top + plot.height(), figure.width(), figure.height() - plot.height() - top);
        const QString shown = QFontMetricsF(scene.font).elidedText(*text, Qt::ElideRight, line.width());
        painter.drawText(line, Qt::AlignCenter, shown);
    }
    painter.translate(0.0, top);
    paintPlotScene(painter, scene, colours);
    painter.restore();
}

QImage renderPlotImage(const PlotInput& input, QSize plot) {
    const QSize figure = figureSize(input, plot);
    const double factor = std::max(1.0, static_cast<double>(exportImageWidth) / figure.width());
    QImage image(figure * factor, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(static_cast<int>(printDotsPerMeter));
    image.setDotsPerMeterY(static_cast<int>(printDotsPerMeter));
    image.fill(printColours().plot.background);
    QPainter painter(&image);
    painter.scale(factor, factor);
    paintPlotFigure(painter, input, plot);
    return image;
}

std::optional<QString> savePlotImage(const QString& path, ImageFormat format, const PlotInput& input,
                                     QSize plot) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    plot = atLeastOnePixel(plot);
    std::optional<QString> problem;
    switch (format) {
    case ImageFormat::Png:
        problem = writePng(file, input, plot);
        break;
    case ImageFormat::Svg:
        problem = writeSvg(file, input, plot);
        break;
    case ImageFormat::Pdf:
        problem = writePdf(file, input, plot);
        break;
    }
    if (problem) {
        file.cancelWriting();
        return problem;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

} // namespace torrentix
