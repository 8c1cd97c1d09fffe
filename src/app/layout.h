#pragma once
// Geometry of the main window in twips (1/1440 inch), and its conversion to the screen's
// logical pixels. The rules keep the proportions of the window at any size and DPI; the
// captions, buttons and the room they take grow with the text (`text`: textScale of the
// window's font, 1 at the design's text size).

#include <QRect>
#include <QSize>

#include <array>

class QWidget;

namespace torrentix {

inline constexpr int minimumWindowWidth = 10560; // twips
inline constexpr int minimumWindowHeight = 6720; // twips
inline constexpr int initialWindowWidth = 13800; // twips
inline constexpr int initialWindowHeight = 9000; // twips

// Twips to logical pixels at a given logical DPI (96 gives 15 twips a pixel).
class Twips {
  public:
    explicit Twips(double dpi) : dpi_(dpi > 0 ? dpi : 96.0) {}
    // The converter of the screen a widget is on.
    static Twips of(const QWidget& widget);

    int px(int twips) const;
    int twips(int px) const;
    QRect px(const QRect& twips) const;
    QSize px(const QSize& twips) const;
    QSize twips(const QSize& px) const;

  private:
    double dpi_;
};

// The window's first size and its smallest, in logical pixels: as designed, but never
// beyond the screen's free area (`available`), with room left for the window's frame.
QSize initialWindowSize(const Twips& twips, const QSize& available);
QSize minimumWindowSize(const Twips& twips, const QSize& available);

// The window: tab buttons, captions, the three view panels and the wait panel.
struct WindowLayout {
    QRect panel;               // each of the views START, RESULTS and GRAPHS
    std::array<QRect, 3> tabs; // START, RESULTS, GRAPHS
    QRect title;               // program name
    QRect gigtype;             // code of the river type chosen
    QRect runLine;             // which run the RESULTS and GRAPHS views show
    QRect info;                // "INFO"
    QRect wait;                // "Please, wait..." with its progress bar
};

// The START view, in panel coordinates.
struct StartLayout {
    QRect gigOptions;    // "GIG" and its five options
    QRect riverTypes;    // "River Type" and its eight options, above the file buttons
    QRect metricFrame;   // frame of the metric description and of the test-variable options
    QRect metricLabel;   // its label; the height is that of the text
    QRect testVariables; // the three option rows inside the frame
    int optionsFrameHeight = 0;
    int labelPadding = 0;     // frame height beyond the description label
    int metricFrameLimit = 0; // the lowest the frame reaches: the description scrolls beyond
    QRect prompt;
    QRect ok;
    QRect back;
    QRect recent;    // "Recent files", above "<-- back"
    QRect runAgain;  // "Run again", above "OK"
    QRect taxaMap;   // "Taxa map...", left of "Recent files"
    QRect intervals; // "Confidence intervals ...", under the options frame, across the view
};

// The RESULTS view, in panel coordinates.
struct ResultsLayout {
    QRect list;             // results list
    QRect exportTable;      // "Export table...", under the list
    QRect saveResults;      // "Save results as...", beside it
    QRect saveIntervals;    // "Save intervals...", under "Export table..."
    QRect intervals;        // "95 % intervals", beside it
    QRect report;           // report box
    QRect histogramCaption; // "Sample Classification"
    QRect histogram;
};

// A window size no smaller than the minimum.
QSize boundedWindowSize(const QSize& twips);
WindowLayout windowLayout(const QSize& windowTwips, double text = 1.0);
StartLayout startLayout(const QSize& panelTwips, int windowHeightTwips, int panelTop, double text = 1.0);
ResultsLayout resultsLayout(const QSize& panelTwips, double text = 1.0);

} // namespace torrentix
