#include "graphs/plotscene.h"

#include "base/numberforms.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

constexpr int tickCount = 16;
constexpr int labelCount = 6;
const QString labelTexts[labelCount] = {"0.2", "0.4", "0.6", "0.8", "1.0", "1.2"};
constexpr int smallestPixelSize = 6;
// Up to this many samples every circle is opaque; beyond, the circles fade so that dense
// clusters still show darker than sparse ones.
constexpr double opaqueSamples = 500.0;
constexpr int faintestAlpha = 40;

int pointAlpha(std::size_t count) {
    if (static_cast<double>(count) <= opaqueSamples) {
        return 255;
    }
    const double alpha = 255.0 * std::sqrt(opaqueSamples / static_cast<double>(count));
    return std::max(faintestAlpha, static_cast<int>(alpha));
}

// Tick k stands at the value 0.1 x (k + 1) and straddles its axis at the scale's zero.
void addTicks(PlotScene& scene) {
    const PlotScale& s = scene.scale;
    const QPointF zero = s.toPixel(0.0, 0.0);
    for (int k = 1; k <= tickCount; ++k) {
        const QPointF at = s.toPixel(0.1 * k, 0.1 * k);
        scene.xTicks.emplace_back(at.x() - 22.5 * s.unit, zero.y() - 50.0 * s.unit, 45.0 * s.unit,
                                  90.0 * s.unit);
        scene.yTicks.emplace_back(zero.x() - 45.0 * s.unit, at.y() - 22.5 * s.unit, 90.0 * s.unit,
                                  45.0 * s.unit);
    }
}

// Type of 150 design twips, or smaller where needed so that a label centred on the end of
// the scale stays inside the 110 twips between that end and the edge of the area.
QFont labelFont(const PlotScale& s) {
    QFont font;
    int size = std::max(smallestPixelSize, static_cast<int>(150.0 * s.unit));
    for (; size > smallestPixelSize; --size) {
        font.setPixelSize(size);
        const QFontMetricsF metrics(font);
        double widest = 0.0;
        for (const QString& text : labelTexts) {
            widest = std::max(widest, metrics.horizontalAdvance(text));
        }
        if (std::max(widest, metrics.height()) <= 220.0 * s.unit) {
            break;
        }
    }
    font.setPixelSize(size);
    return font;
}

// The x labels stand above the x axis, the y labels right of the y axis, each centred on
// the pixel of its value.
void addLabels(PlotScene& scene) {
    const PlotScale& s = scene.scale;
    const QFontMetricsF metrics(scene.font);
    const QPointF zero = s.toPixel(0.0, 0.0);
    for (int k = 1; k <= labelCount; ++k) {
        const QString& text = labelTexts[k - 1];
        const QPointF at = s.toPixel(0.2 * k, 0.2 * k);
        const double w = metrics.horizontalAdvance(text);
        const double h = metrics.height();
        scene.xLabels.push_back({text, QRectF(at.x() - w / 2.0, zero.y() - 230.0 * s.unit, w, h)});
        scene.yLabels.push_back({text, QRectF(zero.x() + 65.0 * s.unit, at.y() - h / 2.0, w, h)});
    }
}

// A title no wider than the room it has, shortened with an ellipsis; its box is placed by
// the caller.
std::optional<PlotText> title(const QString& text, const QFont& font, double room) {
    if (text.isEmpty() || room <= 0.0) {
        return std::nullopt;
    }
    const QFontMetricsF metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, room);
    return PlotText{shown,
                    QRectF(0.0, 0.0, std::min(metrics.horizontalAdvance(shown), room), metrics.height())};
}

void addTitles(PlotScene& scene, const PlotInput& input) {
    const PlotScale& s = scene.scale;
    QFont bold = scene.font;
    bold.setBold(true);
    const double em = QFontMetricsF(bold).height();
    double labelsRight = 0.0;
    for (const PlotText& label : scene.yLabels) {
        labelsRight = std::max(labelsRight, label.rect.right());
    }
    const double left = labelsRight + 0.5 * em;
    const QPointF end = s.toPixel(s.high / 10.0, s.high / 10.0);
    const double right = std::min(end.x(), s.width - 0.25 * em);
    if ((scene.yTitle = title(input.yTitle, bold, s.width - 0.25 * em - left))) {
        scene.yTitle->rect.moveTopLeft(QPointF(left, std::max(0.0, end.y() - em / 2.0)));
    }
    if ((scene.xTitle = title(input.xTitle, bold, right - left))) {
        scene.xTitle->rect.moveBottomRight(QPointF(right, scene.xLabels.front().rect.top() - 0.25 * em));
    }
}

void addRegression(PlotScene& scene, const Regression& r,
                   const std::vector<std::pair<double, double>>& band) {
    const PlotScale& s = scene.scale;
    const double xEnd = r.bandPoints / 10.0;
    scene.regressionLine = QLineF(s.toPixel(r.xmin, r.m * r.xmin + r.b), s.toPixel(xEnd, r.m * xEnd + r.b));
    const auto points = std::min(static_cast<std::size_t>(r.bandPoints),
                                 band.empty() ? r.bandHalfWidths.size() : band.size());
    for (std::size_t k = 1; k <= points; ++k) {
        const double x = 0.1 * static_cast<double>(k);
        const double y = r.m * x + r.b;
        const auto [lower, upper] =
            band.empty() ? std::pair(y - r.bandHalfWidths[k - 1], y + r.bandHalfWidths[k - 1]) : band[k - 1];
        scene.bandUpper.push_back(s.toPixel(x, upper));
        scene.bandLower.push_back(s.toPixel(x, lower));
    }
}

void addPoints(PlotScene& scene, const PlotInput& input) {
    const auto count = std::min(input.x.size(), input.y.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (isPlottable(input.x[i], input.y[i])) {
            scene.points.push_back(scene.scale.toPixel(*input.x[i], input.y[i]));
        }
    }
    scene.pointAlpha = pointAlpha(scene.points.size());
}

} // namespace

PlotScene buildPlotScene(const PlotInput& input, QSizeF size) {
    PlotScene scene;
    scene.scale = plotScaleFor(input, size);
    const PlotScale& s = scene.scale;
    const double margin = 100.0 * s.unit;
    const QPointF zero = s.toPixel(0.0, 0.0);
    scene.xAxis = QLineF(margin, zero.y(), s.width - margin, zero.y());
    scene.yAxis = QLineF(zero.x(), s.height - margin, zero.x(), margin);
    scene.font = labelFont(s);
    if (!input.usable) {
        return scene;
    }
    addPoints(scene, input);
    addTicks(scene);
    addLabels(scene);
    addTitles(scene, input);
    if (hasDrawableRegression(input)) {
        addRegression(scene, *input.regression, input.band);
    }
    return scene;
}

QString regressionText(const Regression& r) {
    const std::string text = "y = " + formatF3(r.b) + " + " + formatF3(r.m) + "x\n\n" +
                             "r\u00b2 = " + formatF3(r.r2) + "\n\nn = " + std::to_string(r.n);
    return QString::fromStdString(text);
}

} // namespace torrentix
