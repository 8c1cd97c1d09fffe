#include "graphs/colourscheme.h"

#include <algorithm>
#include <cmath>

namespace torrentix {
namespace {

const QColor darkText(0, 0, 0);
const QColor lightText(235, 235, 242);

double channelLuminance(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * channelLuminance(rgb.redF()) + 0.7152 * channelLuminance(rgb.greenF()) +
           0.0722 * channelLuminance(rgb.blueF());
}

// The colours the program was designed with, for light windows.
ColourScheme lightColours() {
    ColourScheme s;
    s.plot = {QColor(220, 220, 255), darkText};
    s.regression = QColor(200, 30, 30);
    s.histogram = {QColor(246, 246, 255), darkText};
    s.notice = {QColor(255, 255, 192), darkText};
    s.activeTabs = {{{QColor(255, 224, 192), darkText},
                     {QColor(255, 255, 192), darkText},
                     {QColor(192, 255, 255), darkText}}};
    s.inactiveTab = {QColor(224, 224, 224), darkText};
    s.tabBorder = QColor(128, 128, 128);
    s.tabFocusBorder = QColor(64, 64, 64);
    return s;
}

// The same hues, deep, under light text, for dark windows.
ColourScheme darkColours() {
    ColourScheme s;
    s.plot = {QColor(34, 34, 56), lightText};
    s.regression = QColor(255, 120, 120);
    s.histogram = {QColor(40, 40, 54), lightText};
    s.notice = {QColor(84, 80, 24), lightText};
    s.activeTabs = {{{QColor(120, 72, 24), lightText},
                     {QColor(100, 92, 20), lightText},
                     {QColor(20, 92, 100), lightText}}};
    s.inactiveTab = {QColor(64, 64, 64), lightText};
    s.tabBorder = QColor(150, 150, 150);
    s.tabFocusBorder = QColor(230, 230, 230);
    return s;
}

} // namespace

bool isDarkPalette(const QPalette& palette) {
    return relativeLuminance(palette.color(QPalette::Window)) <
           relativeLuminance(palette.color(QPalette::WindowText));
}

ColourScheme screenColours(const QPalette& palette) {
    return isDarkPalette(palette) ? darkColours() : lightColours();
}

ColourScheme printColours() {
    ColourScheme s = lightColours();
    s.plot.background = Qt::white;
    s.histogram.background = Qt::white;
    return s;
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString tabStyleSheet(const ColourScheme& scheme, int tab, bool active) {
    const ColourPair& colours =
        active ? scheme.activeTabs.at(static_cast<std::size_t>(tab)) : scheme.inactiveTab;
    return QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid %3; "
                          "border-radius: 3px; padding: 3px; font-weight: bold; }"
                          "QPushButton:focus { border: 2px solid %4; }")
        .arg(colours.background.name(), colours.text.name(), scheme.tabBorder.name(),
             scheme.tabFocusBorder.name());
}

} // namespace torrentix
