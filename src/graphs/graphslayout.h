#pragma once
// Where the controls of the GRAPHS view go for a given view size: the plot fills the
// height but 425 twips, the test-variable buttons stand in a row under its right edge
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

// The layout for a view of this pixel size at these dots per inch.
GraphsLayout graphsLayout(QSize view, double dpiX, double dpiY);

} // namespace torrentix
