#include "graphs/plotscene.h"

#include "base/numberforms.h"

#include <QFontMetricsF>

#include <algorithm>
#include <array>
#include <cmath>

namespace torrentix {
namespace {

const QChar minusSign(0x2212);
constexpr int smallestPixelSize = 7;
constexpr double labelTwips = 150.0; // type size of the tick labels
constexpr double tickTwips = 60.0;   // length of a tick mark, outward from its axis
constexpr double tickWidthTwips = 45.0;
// Up to this many samples every circle is opaque; beyond, the circles fade so that dense
// clusters still show darker than sparse ones.
constexpr double opaqueSamples = 500.0;
constexpr int faintestAlpha = 40;
// Tick steps, in tenths, are 1, 2 or 5 times a power of ten up to this.
constexpr double largestStep = 1.0e10;

int pointAlpha(std::size_t count) {
    if (static_cast<double>(count) <= opaqueSamples) {
        return 255;
    }
    const double alpha = 255.0 * std::sqrt(opaqueSamples / static_cast<double>(count));
    return std::max(faintestAlpha, static_cast<int>(alpha));
}

// A tick value as it is written: tenths with one decimal, whole steps without, and a true
// minus sign.
QString tickText(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith('-')) {
        text.replace(0, 1, minusSign);
    }
    return text == QString(minusSign) + "0" || text == QString(minusSign) + "0.0" ? text.mid(1) : text;
}

// The distances around the plotting area, from the type of the labels and titles.
struct Room {
    QFont font;
    double line = 0.0;      // height of a label
    double titleLine = 0.0; // height of a title
    double widestLabel = 0.0;
    double tick = 0.0;
};

Room roomFor(double unit, std::pair<int, int> tenths) {
    Room room;
    room.font.setPixelSize(std::max(smallestPixelSize, static_cast<int>(std::lround(labelTwips * unit))));
    const QFontMetricsF metrics(room.font);
    QFont bold = room.font;
    bold.setBold(true);
    room.line = metrics.height();
    room.titleLine = QFontMetricsF(bold).height();
    room.widestLabel = std::max(metrics.horizontalAdvance(tickText(tenths.first / 10.0, 1)),
                                metrics.horizontalAdvance(tickText(tenths.second / 10.0, 1)));
    room.tick = tickTwips * unit;
    return room;
}

// Left: the y labels and their ticks; bottom: the x ticks, labels and title; top: the y
// title and half a label; right: half the widest label.
QMarginsF marginsFor(const Room& room, double unit) {
    const double h = room.line;
    return {0.25 * h + room.widestLabel + 0.3 * h + room.tick, 1.75 * room.titleLine + 0.5 * h,
            std::max(100.0 * unit, room.widestLabel / 2.0 + 0.25 * h),
            room.tick + 1.5 * h + 1.75 * room.titleLine};
}

// The smallest step, in tenths, at which neighbouring labels stand apart.
long long tickStep(const PlotScale& s, const Room& room) {
    const double needed = std::max(room.widestLabel, room.line) + 0.5 * room.line;
    double step = 1.0;
    for (int k = 0; step < largestStep; ++k) {
        step = std::pow(10.0, k / 3) * std::array{1.0, 2.0, 5.0}[static_cast<std::size_t>(k % 3)];
        if (step / 10.0 * s.perUnit >= needed) {
            break;
        }
    }
    return static_cast<long long>(step);
}

// A tick and its label on each axis for every step from the scale's low end to its high end.
void addTicks(PlotScene& scene, const Room& room) {
    const PlotScale& s = scene.scale;
    const long long step = tickStep(s, room);
    const int decimals = step % 10 == 0 ? 0 : 1;
    const QFontMetricsF metrics(scene.font);
    const double h = room.line;
    const double tickWidth = tickWidthTwips * s.unit;
    const long long first = static_cast<long long>(std::ceil(s.low / static_cast<double>(step))) * step;
    for (long long t = first; t <= s.high; t += step) {
        const double value = static_cast<double>(t) / 10.0;
        const QPointF at = s.toPixel(value, value);
        const QString text = tickText(value, decimals);
        const double w = metrics.horizontalAdvance(text);
        scene.xTicks.emplace_back(at.x() - tickWidth / 2.0, s.frame.bottom(), tickWidth, room.tick);
        scene.yTicks.emplace_back(s.frame.left() - room.tick, at.y() - tickWidth / 2.0, room.tick, tickWidth);
        scene.xLabels.push_back(
            {text, QRectF(at.x() - w / 2.0, s.frame.bottom() + room.tick + 0.5 * h, w, h)});
        scene.yLabels.push_back(
            {text, QRectF(s.frame.left() - room.tick - 0.3 * h - w, at.y() - h / 2.0, w, h)});
    }
}

// A title no wider than the area, shortened with an ellipsis, its left edge at `left` or
// further left where it would leave the area.
std::optional<PlotText> title(const QString& text, const QFont& font, const PlotScale& s, double left,
                              double top) {
    const QFontMetricsF metrics(font);
    const double margin = 0.25 * metrics.height();
    const double room = s.width - 2.0 * margin;
    if (text.isEmpty() || room <= 0.0) {
        return std::nullopt;
    }
    const QString shown = metrics.elidedText(text, Qt::ElideRight, room);
    const double w = std::min(metrics.horizontalAdvance(shown), room);
    return PlotText{shown, QRectF(std::clamp(left, margin, s.width - margin - w), top, w, metrics.height())};
}

void addTitles(PlotScene& scene, const PlotInput& input, double h) {
    const PlotScale& s = scene.scale;
    QFont bold = scene.font;
    bold.setBold(true);
    const QFontMetricsF metrics(bold);
    const double line = metrics.height();
    // Just above the plotting area, clear of the top label; in tall areas not at the top edge.
    scene.yTitle =
        title(input.yTitle, bold, s, 0.0, std::max(0.5 * line, s.frame.top() - 0.5 * h - 1.25 * line));
    const double labelsBottom =
        scene.xLabels.empty() ? s.frame.bottom() : scene.xLabels.front().rect.bottom();
    const double centred = s.frame.center().x() - metrics.horizontalAdvance(input.xTitle) / 2.0;
    scene.xTitle = title(input.xTitle, bold, s, centred, labelsBottom + 0.5 * line);
}

// The part of the segment from a to b (data values) inside the square from lo to hi on
// both axes, if any.
std::optional<QLineF> clipped(QPointF a, QPointF b, double lo, double hi) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
        return std::nullopt;
    }
    double from = 0.0;
    double to = 1.0;
    const std::array<std::pair<double, double>, 4> edges = {
        {{-dx, a.x() - lo}, {dx, hi - a.x()}, {-dy, a.y() - lo}, {dy, hi - a.y()}}};
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0) {
                return std::nullopt;
            }
        } else if (p < 0.0) {
            from = std::max(from, q / p);
        } else {
            to = std::min(to, q / p);
        }
    }
    if (from > to) {
        return std::nullopt;
    }
    return QLineF(a + from * (b - a), a + to * (b - a));
}

std::optional<QLineF> plotLine(const PlotScale& s, QPointF a, QPointF b) {
    const auto part = clipped(a, b, s.lowest(), s.highest());
    if (!part) {
        return std::nullopt;
    }
    return QLineF(s.toPixel(part->x1(), part->y1()), s.toPixel(part->x2(), part->y2()));
}

void addRegression(PlotScene& scene, const Regression& r,
                   const std::vector<std::pair<double, double>>& band) {
    const PlotScale& s = scene.scale;
    const double xEnd = r.bandPoints / 10.0;
    scene.regressionLine = plotLine(s, {r.xmin, r.m * r.xmin + r.b}, {xEnd, r.m * xEnd + r.b});
    const auto points = std::min(static_cast<std::size_t>(r.bandPoints),
                                 band.empty() ? r.bandHalfWidths.size() : band.size());
    std::vector<QPointF> upper;
    std::vector<QPointF> lower;
    for (std::size_t k = 1; k <= points; ++k) {
        const double x = 0.1 * static_cast<double>(k);
        const double y = r.m * x + r.b;
        const auto [low, high] =
            band.empty() ? std::pair(y - r.bandHalfWidths[k - 1], y + r.bandHalfWidths[k - 1]) : band[k - 1];
        upper.emplace_back(x, high);
        lower.emplace_back(x, low);
    }
    for (const auto* side : {&upper, &lower}) {
        for (std::size_t k = 1; k < side->size(); ++k) {
            if (const auto part = plotLine(s, (*side)[k - 1], (*side)[k])) {
                scene.band.push_back(*part);
            }
        }
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

namespace {

// The type and distances of a plot of this size, and its scale.
struct SceneFrame {
    Room room;
    PlotScale scale;
};

SceneFrame sceneFrame(const PlotInput& input, QSizeF size) {
    const double unit = std::min(size.width(), size.height()) / plotDesignWidth;
    const auto tenths = input.usable ? plotTenths(input) : std::pair(0, 10);
    const Room room = roomFor(unit, tenths);
    return {room, plotScale(size, tenths.first, tenths.second, marginsFor(room, unit))};
}

} // namespace

PlotScale plotSceneScale(const PlotInput& input, QSizeF size) {
    return sceneFrame(input, size).scale;
}

QFont plotSceneFont(const PlotInput& input, QSizeF size) {
    return sceneFrame(input, size).room.font;
}

PlotScene buildPlotScene(const PlotInput& input, QSizeF size) {
    PlotScene scene;
    const auto [room, scale] = sceneFrame(input, size);
    scene.font = room.font;
    scene.scale = scale;
    const QRectF& frame = scene.scale.frame;
    scene.xAxis = QLineF(frame.bottomLeft(), frame.bottomRight());
    scene.yAxis = QLineF(frame.bottomLeft(), frame.topLeft());
    if (!input.usable) {
        return scene;
    }
    addPoints(scene, input);
    addTicks(scene, room);
    addTitles(scene, input, room.line);
    if (hasDrawableRegression(input)) {
        addRegression(scene, *input.regression, input.band);
    }
    return scene;
}

// The sign of the slope becomes the operator: "y = 0.953 − 0.774x", never "+ -0.774x".
QString regressionText(const Regression& r) {
    const QString intercept = QString::fromStdString(formatF3(r.b));
    QString slope = QString::fromStdString(formatF3(r.m));
    const bool negative = slope.startsWith('-');
    if (negative) {
        slope.remove(0, 1);
    }
    QString text = "y = " + intercept + (negative ? QString(" ") + minusSign + " " : QString(" + ")) + slope +
                   "x\n\nr\u00b2 = " + QString::fromStdString(formatF3(r.r2)) +
                   "\n\nn = " + QString::number(r.n);
    if (text.startsWith("y = -")) {
        text.replace(4, 1, minusSign);
    }
    return text;
}

} // namespace torrentix
