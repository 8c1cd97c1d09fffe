#pragma once
// The GRAPHS view: scatter plot of an index against a test variable with the regression
// line and its band, the index switch, the test-variable buttons, the regression text,
// the line that lists the samples under the mouse and the button that saves the figure.

#include "graphs/pointpicking.h"
#include "run/computerun.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace torrentix {

class ScatterPlot;
class SampleInfoLabel;

// What the window adds to the plot of an index (0 the STAR_ICMi, 1 the GIG ICMi) against a
// test variable (0-based): lines under the regression's equation, and a band drawn
// instead of the regression's own (lower and upper y at x = 0.1, 0.2, ...).
struct PlotExtras {
    QString text;
    std::vector<std::pair<double, double>> band;
};
using PlotExtrasSource = std::function<PlotExtras(int index, int testVariable)>;

class GraphsView : public QWidget {
    Q_OBJECT
  public:
    explicit GraphsView(QWidget* parent = nullptr); // object name "graphsPanel"

    // A sample file has been read for this GIG and river type: the GIG button takes the
    // GIG's first three letters, the STAR button becomes the active one, the next visit
    // chooses its test variable afresh, figures are captioned with the file's name, GIG and
    // river type, and saved beside the file by default.
    void fileRead(Gig gig, RiverType type, const QString& sampleFile);
    // The results of a completed run (indices, test values, default plot pair); the view
    // keeps the run and the points of the pair it plots, no copy per sample of its own.
    void setResults(std::shared_ptr<const RunResult> run);
    // The view has just been shown: on the first visit after a read, take the first test
    // variable with at least 6 values, and draw.
    void enter();
    // Where the extras of each plot come from (none: an empty source); draws the plot again.
    void setPlotExtras(PlotExtrasSource source);

  signals:
    // A regression of the view could not be computed; the window tells the user.
    void regressionFailed();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override; // a larger or smaller font: the layout follows

  private:
    void indexButtonClick(int k);
    void testVariableButtonClick(int k);
    bool anyUsableTestVariable() const;
    void replot();
    void regress();
    void redrawPlot();
    void showPlot();
    void showButtonStates();
    QString figureCaption(const PlotInput& input) const;
    QString sampleLabel(std::size_t sample) const;
    void plotTestVariable(int k);
    const std::vector<double>& plotIndexValues() const;
    void applyLayout();
    void pick(QPointF pointer);
    PlotExtras currentExtras() const;

    ScatterPlot* plot_;
    SampleInfoLabel* sampleInfo_;
    QLabel* txtRegr_;
    QPushButton* cmdsave_;
    std::array<QPushButton*, 2> indexButtons_{};
    std::array<QPushButton*, 3> testVariableButtons_{};

    // The last run.
    bool hasResults_ = false;
    std::shared_ptr<const RunResult> run_;
    std::array<QString, 3> testVariableNames_;
    std::array<int, 3> numericTestValueCounts_{};

    // The plotted pair and its regression: the values of the test variable plotted, as read.
    std::vector<std::optional<double>> plotX_;
    std::optional<Regression> regression_;
    int activeIndex_ = 0;         // 0 STAR_ICMi, 1 GIG ICMi
    int activeTestVariable_ = -1; // 0-based; -1 while no test-variable button is active
    bool firstPlot_ = true;
    PlotExtrasSource extras_;
    QString gigIndexName_ = QStringLiteral("GIG_ICMi"); // title of the GIG ICMi axis
    QString runCaption_;                                // the sample file, GIG and river type
};

// The first test variable (0-based) with at least 6 numeric values, or -1.

} // namespace torrentix
