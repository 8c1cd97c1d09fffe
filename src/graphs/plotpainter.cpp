#include "graphs/plotpainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPen>

#include <algorithm>

namespace torrentix {
namespace {

void paintLabels(QPainter& painter, const PlotScene& scene) {
    QFont font = painter.font();
    font.setPixelSize(std::max(1, static_cast<int>(scene.labelPixelSize + 0.5)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    for (const AxisLabel& label : scene.xLabels) {
        const double w = metrics.horizontalAdvance(label.text);
        painter.drawText(QRectF(label.anchor.x() - w / 2.0, label.anchor.y(), w, metrics.height()),
                         Qt::AlignCenter, label.text);
    }
    for (const AxisLabel& label : scene.yLabels) {
        const double w = metrics.horizontalAdvance(label.text);
        painter.drawText(
            QRectF(label.anchor.x(), label.anchor.y() - metrics.height() / 2.0, w, metrics.height()),
            Qt::AlignCenter, label.text);
    }
}

void paintRegression(QPainter& painter, const PlotScene& scene, QPen pen) {
    if (scene.regressionLine) {
        painter.setPen(pen);
        painter.drawLine(*scene.regressionLine);
    }
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    if (scene.bandUpper.size() > 1) {
        painter.drawPolyline(scene.bandUpper.data(), static_cast<int>(scene.bandUpper.size()));
        painter.drawPolyline(scene.bandLower.data(), static_cast<int>(scene.bandLower.size()));
    }
}

} // namespace

void paintPlotScene(QPainter& painter, const PlotScene& scene, const QColor& foreground) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRectF(0.0, 0.0, scene.scale.width, scene.scale.height), plotBackground);
    // Lines are one design pixel (15 twips) wide, at least one device pixel.
    QPen pen(foreground, std::max(1.0, 15.0 * scene.scale.unit));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(scene.xAxis);
    painter.drawLine(scene.yAxis);
    const double r = scene.scale.radius();
    for (const QPointF& p : scene.points) {
        painter.drawEllipse(p, r, r);
    }
    for (const QRectF& tick : scene.xTicks) {
        painter.fillRect(tick, foreground);
    }
    for (const QRectF& tick : scene.yTicks) {
        painter.fillRect(tick, foreground);
    }
    paintLabels(painter, scene);
    paintRegression(painter, scene, pen);
    painter.restore();
}

} // namespace torrentix
