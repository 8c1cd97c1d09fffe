#include "app/layout.h"

#include "graphs/twips.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

// Margins of the views inside the window, at the design's text size.
constexpr int panelLeft = 1380;
constexpr int panelTop = 620;
constexpr int panelRightMargin = 120;
constexpr int panelBottomMargin = 360;

// A design length grown with the text.
int grown(int twips, double text) {
    return static_cast<int>(std::lround(twips * text));
}

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

namespace {

// Room for the title bar and borders the window manager adds, in logical pixels.
constexpr QSize frameRoom(16, 48);

QSize capped(const QSize& wanted, const QSize& available) {
    if (available.isEmpty()) {
        return wanted;
    }
    return wanted.boundedTo((available - frameRoom).expandedTo(QSize(1, 1)));
}

} // namespace

QSize initialWindowSize(const Twips& twips, const QSize& available) {
    return capped(twips.px(QSize(initialWindowWidth, initialWindowHeight)), available);
}

QSize minimumWindowSize(const Twips& twips, const QSize& available) {
    return capped(twips.px(QSize(minimumWindowWidth, minimumWindowHeight)), available);
}

QSize boundedWindowSize(const QSize& twips) {
    return {std::max(twips.width(), minimumWindowWidth), std::max(twips.height(), minimumWindowHeight)};
}

WindowLayout windowLayout(const QSize& windowTwips, double text) {
    const QSize w = boundedWindowSize(windowTwips);
    WindowLayout l;
    const int left = panelLeft - 1260 + grown(1260, text);
    const int top = panelTop - 450 + grown(450, text);
    l.panel = QRect(left, top, w.width() - panelRightMargin - left, w.height() - panelBottomMargin - top);
    for (int i = 0; i < 3; ++i) {
        l.tabs[static_cast<std::size_t>(i)] =
            QRect(120, top + i * grown(570, text), left - 240, grown(480, text));
    }
    l.title = QRect(120, 120, left - 120, grown(450, text));
    l.gigtype = QRect(left + 120, 120, grown(1500, text), grown(450, text));
    const int infoWidth = grown(1100, text);
    l.info = QRect(w.width() - 150 - infoWidth, 120, infoWidth, grown(420, text));
    const int runLeft = l.gigtype.right() + 150;
    l.runLine = QRect(runLeft, 60, l.info.left() - 150 - runLeft, top - 80);
    const QSize wait =
        QSize(grown(5400, text), grown(2400, text)).boundedTo(w); // the stage, the bar and "Cancel"
    l.wait =
        QRect((w.width() - wait.width()) / 2, (w.height() - wait.height()) / 2, wait.width(), wait.height());
    return l;
}

StartLayout startLayout(const QSize& panel, int windowHeight, int top, double text) {
    StartLayout l;
    const int right = 135 + grown(2325, text);
    l.gigOptions = QRect(75, 120, grown(2325, text), grown(2300, text));
    l.metricFrame = QRect(right, 60, panel.width() - 120 - right, 0);
    l.metricLabel = QRect(180, grown(380, text), l.metricFrame.width() - 345, 0);
    l.testVariables = QRect(180, grown(380, text), l.metricFrame.width() - 345, grown(2100, text));
    l.optionsFrameHeight = grown(2700, text);
    l.labelPadding = grown(800, text);
    // The prompt keeps its distance from the bottom of the window.
    const int promptTop = windowHeight - grown(1515, text) - top;
    l.ok = QRect(panel.width() - 120 - grown(1100, text), promptTop, grown(1100, text), grown(450, text));
    l.back = QRect(l.ok.x() - 150 - grown(1300, text), promptTop, grown(1300, text), grown(450, text));
    l.prompt = QRect(120, promptTop, l.back.x() - 150 - 120, grown(480, text));
    l.recent = l.back.translated(0, -grown(600, text));
    l.runAgain = l.ok.translated(0, -grown(600, text));
    l.taxaMap = l.recent.translated(-l.recent.width() - 150, 0);
    // The larger the text, the nearer the file buttons come: the options and the metrics of
    // a GIG keep above them.
    l.riverTypes =
        QRect(right, 120, panel.width() - 120 - right, std::min(grown(3400, text), l.recent.y() - 240));
    l.metricFrameLimit = l.recent.y() - 60;
    l.intervals =
        QRect(75, l.metricFrame.y() + l.optionsFrameHeight + 60, panel.width() - 195, grown(345, text));
    return l;
}

ResultsLayout resultsLayout(const QSize& panel, double text) {
    ResultsLayout l;
    // The report keeps room for its caption's text beside the list.
    const int listWidth =
        std::min(std::clamp(static_cast<int>(std::lround(0.705 * panel.width())), 6345, 8345),
                 panel.width() - 250 - grown(2500, text));
    const int buttonHeight = grown(420, text);
    const int buttonWidth = grown(1900, text);
    l.list = QRect(60, 60, listWidth, panel.height() - 240 - 2 * buttonHeight);
    l.exportTable = QRect(60, l.list.y() + l.list.height() + 60, buttonWidth, buttonHeight);
    l.saveResults = l.exportTable.translated(buttonWidth + 150, 0);
    l.saveIntervals = l.exportTable.translated(0, buttonHeight + 60);
    const int intervalsLeft = l.saveIntervals.x() + buttonWidth + 150;
    l.intervals =
        QRect(intervalsLeft, l.saveIntervals.y(), l.list.x() + listWidth - intervalsLeft, buttonHeight);
    const int reportLeft = l.list.x() + l.list.width() + 90;
    const int reportWidth = panel.width() - 100 - reportLeft;
    l.histogram = QRect(reportLeft + 25, panel.height() - 2310, reportWidth - 50, 2190);
    l.histogramCaption =
        QRect(l.histogram.x(), l.histogram.y() - grown(255, text), l.histogram.width(), grown(255, text));
    l.report = QRect(reportLeft, 60, reportWidth, l.histogramCaption.y() - 30 - 60);
    return l;
}

} // namespace torrentix
