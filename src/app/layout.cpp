#include "app/layout.h"

#include "graphs/twips.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

// Margins of the views inside the window.
constexpr int panelLeft = 1380;
constexpr int panelTop = 620;
constexpr int panelWidthMargin = 1500;
constexpr int panelHeightMargin = 980;

} // namespace

Twips Twips::of(const QWidget& widget) {
    return Twips(widget.logicalDpiX());
}

int Twips::px(int twips) const {
    return twipsToPixels(twips, dpi_);
}
int Twips::twips(int px) const {
    return static_cast<int>(std::lround(pixelsToTwips(px, dpi_)));
}
QRect Twips::px(const QRect& r) const {
    return {px(r.x()), px(r.y()), px(r.width()), px(r.height())};
}
QSize Twips::px(const QSize& s) const {
    return {px(s.width()), px(s.height())};
}
QSize Twips::twips(const QSize& s) const {
    return {twips(s.width()), twips(s.height())};
}

QSize boundedWindowSize(const QSize& twips) {
    return {std::max(twips.width(), minimumWindowWidth), std::max(twips.height(), minimumWindowHeight)};
}

WindowLayout windowLayout(const QSize& windowTwips) {
    const QSize w = boundedWindowSize(windowTwips);
    WindowLayout l;
    l.panel = QRect(panelLeft, panelTop, w.width() - panelWidthMargin, w.height() - panelHeightMargin);
    for (int i = 0; i < 3; ++i) {
        l.tabs[static_cast<std::size_t>(i)] = QRect(120, panelTop + i * 570, 1140, 480);
    }
    l.title = QRect(120, 120, 1260, 450);
    l.gigtype = QRect(panelLeft + 120, 120, 1500, 450);
    const int infoWidth = 1100;
    l.info = QRect(w.width() - 150 - infoWidth, 120, infoWidth, 420);
    const int runLeft = l.gigtype.right() + 150;
    l.runLine = QRect(runLeft, 60, l.info.left() - 150 - runLeft, 540);
    const QSize wait(5400, 2400); // room for the stage, the bar and "Cancel"
    l.wait =
        QRect((w.width() - wait.width()) / 2, (w.height() - wait.height()) / 2, wait.width(), wait.height());
    return l;
}

StartLayout startLayout(const QSize& panel, int windowHeight, int top) {
    StartLayout l;
    const int right = 2460;
    l.gigOptions = QRect(75, 120, 2325, 2300);
    l.riverTypes = QRect(right, 120, panel.width() - 2580, 3400);
    l.metricFrame = QRect(right, 60, panel.width() - 2580, 0);
    l.metricLabel = QRect(180, 380, l.metricFrame.width() - 345, 0);
    l.testVariables = QRect(180, 380, l.metricFrame.width() - 345, 2100);
    l.optionsFrameHeight = 2700;
    l.labelPadding = 800;
    // The prompt keeps its distance from the bottom of the window.
    l.prompt = QRect(120, windowHeight - 1515 - top, panel.width() - 2900, 480);
    l.ok = QRect(panel.width() - 120 - 1100, l.prompt.y(), 1100, 450);
    l.back = QRect(l.ok.x() - 150 - 1300, l.prompt.y(), 1300, 450);
    l.recent = l.back.translated(0, -600);
    l.runAgain = l.ok.translated(0, -600);
    l.taxaMap = l.recent.translated(-l.recent.width() - 150, 0);
    return l;
}

ResultsLayout resultsLayout(const QSize& panel) {
    ResultsLayout l;
    const int listWidth = std::clamp(static_cast<int>(std::lround(0.705 * panel.width())), 6345, 8345);
    const int buttonHeight = 420;
    l.list = QRect(60, 60, listWidth, panel.height() - 180 - buttonHeight);
    l.exportTable = QRect(60, l.list.y() + l.list.height() + 60, 1700, buttonHeight);
    const int intervalsLeft = l.exportTable.x() + l.exportTable.width() + 150;
    l.intervals =
        QRect(intervalsLeft, l.exportTable.y(), l.list.x() + listWidth - intervalsLeft, buttonHeight);
    const int reportLeft = l.list.x() + l.list.width() + 90;
    const int reportWidth = panel.width() - 100 - reportLeft;
    l.histogram = QRect(reportLeft + 25, panel.height() - 2310, reportWidth - 50, 2190);
    l.histogramCaption = QRect(l.histogram.x(), l.histogram.y() - 255, l.histogram.width(), 255);
    l.report = QRect(reportLeft, 60, reportWidth, l.histogramCaption.y() - 30 - 60);
    return l;
}

} // namespace torrentix
