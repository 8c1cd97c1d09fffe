#pragma once
// Where the controls of the GRAPHS view go for a given view size: the plot fills the
// height but the button row under it, the test-variable buttons stand in a row under its right edge
// (button 1 rightmost), the index switch under its left edge, the information line and
// the regression text to its right, and the button that saves the figure beside the row.

#include <QRect>
#include <QSize>

#include <array>

namespace torrentix {

struct GraphsLayout {
    QRect plot;
    std::array<QRect, 2> indexButtons;        // STAR, GIG
    std::array<QRect, 3> testVariableButtons; // test variables 1, 2, 3
    QRect sampleInfo;
    QRect txtRegr;
    QRect cmdsave;
};

// The layout for a view of this pixel size at these dots per inch; the buttons and the
// room beside the plot grow with the text (`text`: textScale of the view's font).
GraphsLayout graphsLayout(QSize view, double dpiX, double dpiY, double text = 1.0);

} // namespace torrentix
