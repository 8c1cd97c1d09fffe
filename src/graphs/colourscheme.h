#pragma once
// The colours of every surface the program paints itself, in one place: each background
// is paired with the text drawn on it. The screen scheme follows the palette of the
// desktop (light or dark); the print scheme, dark on white, is that of every figure that
// is copied or saved, whatever the screen shows.

#include <QColor>
#include <QPalette>
#include <QString>

#include <array>

namespace torrentix {

struct ColourPair {
    QColor background;
    QColor text;
};

struct ColourScheme {
    ColourPair plot;      // the scatter plot: axes, ticks, samples, labels and titles
    QColor regression;    // its regression line and band, on the plot's background
    ColourPair histogram; // the class histogram: its class labels and the counts beside the bars
    ColourPair notice;    // the panel that asks the user to wait
    std::array<ColourPair, 3> activeTabs; // the view buttons START, RESULTS, GRAPHS when shown
    ColourPair inactiveTab;
    QColor tabBorder;
    QColor tabFocusBorder;
    QColor errorText; // a field's error message, on the window's background
};

// Whether a palette shows light text on dark windows.
bool isDarkPalette(const QPalette& palette);
// The colours on screen for a widget of this palette.
ColourScheme screenColours(const QPalette& palette);
// The colours of figures for files and the clipboard: dark on white.
ColourScheme printColours();

// Gives each label (any widget) this text colour, the window text of its own palette.
template <class Labels> void setTextColour(const Labels& labels, const QColor& colour) {
    for (auto* label : labels) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, colour);
        label->setPalette(colours);
    }
}

// The contrast ratio of two colours as the Web Content Accessibility Guidelines define it,
// from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The style of view button `tab` (0 START, 1 RESULTS, 2 GRAPHS), shown or not.
QString tabStyleSheet(const ColourScheme& scheme, int tab, bool active);

} // namespace torrentix
