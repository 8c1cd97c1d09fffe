#pragma once
// The GRAPHS view: scatter plot of an index against a test variable with the regression
// line and its band, the index switch, the test-variable buttons, the regression text
// and the line that lists the samples under the mouse.

#include "run/calcola.h"

#include <QWidget>

namespace torrentix {

class GraphsView : public QWidget {
    Q_OBJECT
public:
    explicit GraphsView(QWidget* parent = nullptr); // object name "frame_gra"

    // A file has been read for this GIG: the GIG button takes the GIG's first three
    // letters, the STAR button becomes the active one, and the next visit chooses its
    // test variable afresh.
    void fileRead(int gigindex);
    // The results of a completed run (indices, test values, default plot pair).
    void setResults(const RunResult& run);
    // The view has just been shown: on the first visit after a read, take the first test
    // variable with at least 6 values, and draw.
    void enter();

signals:
    // A regression of the view could not be computed; the window tells the user.
    void regressionFailed();
};

} // namespace torrentix
