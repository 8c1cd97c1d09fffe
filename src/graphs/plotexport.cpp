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
    return input.yTitle + QStringLiteral(" against ") + input.xTitle;
}

// The equation, r² and n on one line.
std::optional<QString> caption(const PlotInput& input) {
    if (!hasDrawableRegression(input)) {
        return std::nullopt;
    }
    return regressionText(*input.regression).replace(QStringLiteral("\n\n"), QStringLiteral("      "));
}

QSize atLeastOnePixel(QSize size) {
    return size.expandedTo(QSize(1, 1));
}

std::optional<QString> writePng(QSaveFile& file, const PlotInput& input, QSize plot,
                                const QColor& foreground) {
    if (!renderPlotImage(input, plot, foreground).save(&file, "PNG")) {
        return QStringLiteral("the image could not be encoded");
    }
    return std::nullopt;
}

std::optional<QString> writeSvg(QSaveFile& file, const PlotInput& input, QSize plot,
                                const QColor& foreground) {
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
    paintPlotFigure(painter, input, plot, foreground);
    painter.end();
    return std::nullopt;
}

std::optional<QString> writePdf(QSaveFile& file, const PlotInput& input, QSize plot,
                                const QColor& foreground) {
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
    paintPlotFigure(painter, input, plot, foreground);
    painter.end();
    return std::nullopt;
}

} // namespace

QSize figureSize(const PlotInput& input, QSize plot) {
    plot = atLeastOnePixel(plot);
    if (!caption(input)) {
        return plot;
    }
    const QFontMetricsF metrics(buildPlotScene(input, QSizeF(plot)).font);
    return {plot.width(), plot.height() + static_cast<int>(std::ceil(2.0 * metrics.height()))};
}

void paintPlotFigure(QPainter& painter, const PlotInput& input, QSize plot, const QColor& foreground) {
    plot = atLeastOnePixel(plot);
    const PlotScene scene = buildPlotScene(input, QSizeF(plot));
    const QSize figure = figureSize(input, plot);
    painter.fillRect(QRect(QPoint(0, 0), figure), plotBackground);
    paintPlotScene(painter, scene, foreground);
    if (const auto text = caption(input)) {
        painter.save();
        painter.setFont(scene.font);
        painter.setPen(foreground);
        const QRectF line(0.0, plot.height(), figure.width(), figure.height() - plot.height());
        const QString shown = QFontMetricsF(scene.font).elidedText(*text, Qt::ElideRight, line.width());
        painter.drawText(line, Qt::AlignCenter, shown);
        painter.restore();
    }
}

QImage renderPlotImage(const PlotInput& input, QSize plot, const QColor& foreground) {
    const QSize figure = figureSize(input, plot);
    const double factor = std::max(1.0, static_cast<double>(exportImageWidth) / figure.width());
    QImage image(figure * factor, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(static_cast<int>(printDotsPerMeter));
    image.setDotsPerMeterY(static_cast<int>(printDotsPerMeter));
    image.fill(plotBackground);
    QPainter painter(&image);
    painter.scale(factor, factor);
    paintPlotFigure(painter, input, plot, foreground);
    return image;
}

std::optional<QString> savePlotImage(const QString& path, ImageFormat format, const PlotInput& input,
                                     QSize plot, const QColor& foreground) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    plot = atLeastOnePixel(plot);
    std::optional<QString> problem;
    switch (format) {
    case ImageFormat::Png:
        problem = writePng(file, input, plot, foreground);
        break;
    case ImageFormat::Svg:
        problem = writeSvg(file, input, plot, foreground);
        break;
    case ImageFormat::Pdf:
        problem = writePdf(file, input, plot, foreground);
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
