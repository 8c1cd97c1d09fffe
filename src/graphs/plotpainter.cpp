#include "graphs/plotpainter.h"

#include <QImage>
#include <QPaintEngine>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

void paintTexts(QPainter& painter, const PlotScene& scene) {
    painter.setFont(scene.font);
    for (const auto* labels : {&scene.xLabels, &scene.yLabels}) {
        for (const PlotText& label : *labels) {
            painter.drawText(label.rect, Qt::AlignCenter, label.text);
        }
    }
    QFont bold = scene.font;
    bold.setBold(true);
    painter.setFont(bold);
    for (const auto* title : {&scene.xTitle, &scene.yTitle}) {
        if (*title) {
            painter.drawText((*title)->rect, Qt::AlignCenter, (*title)->text);
        }
    }
}

void paintRegression(QPainter& painter, const PlotScene& scene, const ColourScheme& colours,
                     double lineWidth) {
    QPen pen(colours.regression, lineWidth, Qt::DotLine);
    painter.setPen(pen);
    for (const QLineF& line : scene.band) {
        painter.drawLine(line);
    }
    if (scene.regressionLine) {
        // A veil of the background along the line keeps it visible over dense samples.
        QColor veil = colours.plot.background;
        veil.setAlpha(160);
        painter.setPen(QPen(veil, 4.0 * lineWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(*scene.regressionLine);
        pen.setStyle(Qt::SolidLine);
        pen.setWidthF(1.5 * lineWidth);
        painter.setPen(pen);
        painter.drawLine(*scene.regressionLine);
    }
}

// From this many samples on, a plot drawn on a raster device (the screen, a PNG image)
// copies one drawn circle to every sample (placed to the nearest device pixel) instead of
// drawing each: the same picture, drawn many times faster. Images for files drawn as
// shapes (SVG, PDF) keep a circle per sample.
constexpr std::size_t stampedPoints = 2000;

bool canStamp(const QPainter& painter, std::size_t points) {
    const QPaintEngine* engine = painter.paintEngine();
    const QTransform& t = painter.transform();
    return points >= stampedPoints && engine != nullptr && engine->type() == QPaintEngine::Raster &&
           t.type() <= QTransform::TxScale && t.m11() == t.m22() && t.m11() > 0.0;
}

void paintPoints(QPainter& painter, const PlotScene& scene, const QColor& foreground, double lineWidth) {
    QColor colour = foreground;
    colour.setAlpha(scene.pointAlpha);
    const double r = scene.scale.radius();
    if (!canStamp(painter, scene.points.size())) {
        painter.setPen(QPen(colour, lineWidth));
        for (const QPointF& p : scene.points) {
            painter.drawEllipse(p, r, r);
        }
        return;
    }
    // The stamp is drawn in device pixels: the painter's scale (an image for a file) and
    // the screen's pixel ratio both go into its size.
    const QTransform toDevice = painter.transform();
    const double ratio = painter.device()->devicePixelRatioF();
    const double pixels = toDevice.m11() * ratio; // device pixels per drawing unit
    const int side = static_cast<int>(std::ceil(2.0 * (r + lineWidth) * pixels)) + 2;
    QImage stamp(side, side, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(ratio);
    stamp.fill(Qt::transparent);
    const QPointF centre(side / (2.0 * ratio), side / (2.0 * ratio));
    {
        QPainter circle(&stamp);
        circle.setRenderHint(QPainter::Antialiasing, true);
        circle.setPen(QPen(colour, lineWidth * toDevice.m11()));
        circle.drawEllipse(centre, r * toDevice.m11(), r * toDevice.m11());
    }
    painter.save();
    painter.resetTransform();
    for (const QPointF& p : scene.points) {
        painter.drawImage(toDevice.map(p) - centre, stamp);
    }
    painter.restore();
}

} // namespace

void paintPlotScene(QPainter& painter, const PlotScene& scene, const ColourScheme& colours) {
    const QColor& foreground = colours.plot.text;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRectF(0.0, 0.0, scene.scale.width, scene.scale.height), colours.plot.background);
    // Lines are one design pixel (15 twips) wide, at least one device pixel.
    const double lineWidth = std::max(1.0, 15.0 * scene.scale.unit);
    painter.setPen(QPen(foreground, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(scene.xAxis);
    painter.drawLine(scene.yAxis);
    for (const auto* ticks : {&scene.xTicks, &scene.yTicks}) {
        for (const QRectF& tick : *ticks) {
            painter.fillRect(tick, foreground);
        }
    }
    paintPoints(painter, scene, foreground, lineWidth);
    paintRegression(painter, scene, colours, lineWidth);
    painter.setPen(foreground);
    paintTexts(painter, scene);
    painter.restore();
}

} // namespace torrentix
