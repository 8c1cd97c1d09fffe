#include "graphs/plotexport.h"

#include "graphs/plotpainter.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>

namespace torrentix {
namespace {

constexpr double printDotsPerMeter = 300.0 / 0.0254;

std::optional<QString> writePng(QSaveFile& file, const PlotInput& input, QSize size,
                                const QColor& foreground) {
    const QImage image = renderPlotImage(input, size, foreground);
    if (!image.save(&file, "PNG")) {
        return QStringLiteral("the image could not be encoded");
    }
    return std::nullopt;
}

std::optional<QString> writeSvg(QSaveFile& file, const PlotInput& input, QSize size,
                                const QColor& foreground) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Index against test variable"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return QStringLiteral("the drawing could not be started");
    }
    paintPlotScene(painter, buildPlotScene(input, QSizeF(size)), foreground);
    painter.end();
    return std::nullopt;
}

} // namespace

QImage renderPlotImage(const PlotInput& input, QSize size, const QColor& foreground) {
    const QSize logical = size.expandedTo(QSize(1, 1));
    const double factor = std::max(1.0, static_cast<double>(exportImageWidth) / logical.width());
    QImage image(logical * factor, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(static_cast<int>(printDotsPerMeter));
    image.setDotsPerMeterY(static_cast<int>(printDotsPerMeter));
    image.fill(plotBackground);
    QPainter painter(&image);
    painter.scale(factor, factor);
    paintPlotScene(painter, buildPlotScene(input, QSizeF(logical)), foreground);
    return image;
}

std::optional<QString> savePlotImage(const QString& path, ImageFormat format, const PlotInput& input,
                                     QSize size, const QColor& foreground) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const QSize logical = size.expandedTo(QSize(1, 1));
    auto problem = format == ImageFormat::Svg ? writeSvg(file, input, logical, foreground)
                                              : writePng(file, input, logical, foreground);
    if (problem) {
        file.cancelWriting();
        return problem;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

ImageFormat imageFormatFor(const QString& path, const QString& selectedFilter) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "svg") {
        return ImageFormat::Svg;
    }
    if (suffix == "png") {
        return ImageFormat::Png;
    }
    return selectedFilter.contains("svg", Qt::CaseInsensitive) ? ImageFormat::Svg : ImageFormat::Png;
}

QString withImageSuffix(const QString& path, ImageFormat format) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "png" || suffix == "svg") {
        return path;
    }
    return path + (format == ImageFormat::Svg ? ".svg" : ".png");
}

} // namespace torrentix
