#include "graphs/plotpainter.h"

#include <QImage>
#include <QPaintEngine>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

// Labels and titles lie over the data area: a veil of the background keeps them legible
// over samples without hiding them.
void paintVeiledText(QPainter& painter, const PlotText& text) {
    QColor veil = plotBackground;
    veil.setAlpha(200);
    const double pad = text.rect.height() * 0.15;
    painter.fillRect(text.rect.adjusted(-pad, 0.0, pad, 0.0), veil);
    painter.drawText(text.rect, Qt::AlignCenter, text.text);
}

void paintTexts(QPainter& painter, const PlotScene& scene) {
    painter.setFont(scene.font);
    for (const auto* labels : {&scene.xLabels, &scene.yLabels}) {
        for (const PlotText& label : *labels) {
            paintVeiledText(painter, label);
        }
    }
    QFont bold = scene.font;
    bold.setBold(true);
    painter.setFont(bold);
    for (const auto* title : {&scene.xTitle, &scene.yTitle}) {
        if (*title) {
            paintVeiledText(painter, **title);
        }
    }
}

void paintRegression(QPainter& painter, const PlotScene& scene, double lineWidth) {
    QPen pen(regressionColour, lineWidth, Qt::DotLine);
    painter.setPen(pen);
    if (scene.bandUpper.size() > 1) {
        painter.drawPolyline(scene.bandUpper.data(), static_cast<int>(scene.bandUpper.size()));
        painter.drawPolyline(scene.bandLower.data(), static_cast<int>(scene.bandLower.size()));
    }
    if (scene.regressionLine) {
        // A veil of the background along the line keeps it visible over dense samples.
        QColor veil = plotBackground;
        veil.setAlpha(160);
        painter.setPen(QPen(veil, 4.0 * lineWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(*scene.regressionLine);
        pen.setStyle(Qt::SolidLine);
        pen.setWidthF(1.5 * lineWidth);
        painter.setPen(pen);
        painter.drawLine(*scene.regressionLine);
    }
}

// From this many samples on, a plot drawn on screen copies one drawn circle to every
// sample (placed to the nearest pixel) instead of drawing each: the same picture, drawn
// many times faster. Images for files (SVG, PDF) keep a circle per sample.
constexpr std::size_t stampedPoints = 2000;

bool canStamp(const QPainter& painter, std::size_t points) {
    const QPaintEngine* engine = painter.paintEngine();
    return points >= stampedPoints && engine != nullptr && engine->type() == QPaintEngine::Raster &&
           painter.transform().type() <= QTransform::TxTranslate;
}

void paintPoints(QPainter& painter, const PlotScene& scene, const QColor& foreground, double lineWidth) {
    QColor colour = foreground;
    colour.setAlpha(scene.pointAlpha);
    const QPen pen(colour, lineWidth);
    const double r = scene.scale.radius();
    if (!canStamp(painter, scene.points.size())) {
        painter.setPen(pen);
        for (const QPointF& p : scene.points) {
            painter.drawEllipse(p, r, r);
        }
        return;
    }
    const double ratio = painter.device()->devicePixelRatioF();
    const int side = static_cast<int>(std::ceil(2.0 * (r + lineWidth) * ratio)) + 2;
    QImage stamp(side, side, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(ratio);
    stamp.fill(Qt::transparent);
    const QPointF centre(side / (2.0 * ratio), side / (2.0 * ratio));
    {
        QPainter circle(&stamp);
        circle.setRenderHint(QPainter::Antialiasing, true);
        circle.setPen(pen);
        circle.drawEllipse(centre, r, r);
    }
    for (const QPointF& p : scene.points) {
        painter.drawImage(p - centre, stamp);
    }
}

} // namespace

void paintPlotScene(QPainter& painter, const PlotScene& scene, const QColor& foreground) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRectF(0.0, 0.0, scene.scale.width, scene.scale.height), plotBackground);
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
    paintRegression(painter, scene, lineWidth);
    painter.setPen(foreground);
    paintTexts(painter, scene);
    painter.restore();
}

} // namespace torrentix
