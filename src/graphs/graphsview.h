#pragma once
// The GRAPHS view: scatter plot of an index against a test variable with the regression
// line and its band, the index switch, the test-variable buttons, the regression text,
// the line that lists the samples under the mouse and the button that saves the figure.

#include "graphs/pointpicking.h"
#include "run/calcola.h"

#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace torrentix {

class ScatterPlot;
class SampleInfoLabel;

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

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void cmdswitch_Click(int k);
    void cmdtvar_Click(int k);
    bool anyUsableTestVariable() const;
    void regress();
    void fagraf();
    void showPlot();
    void showButtonStates();
    void applyLayout();
    void pick(QPointF pointer);

    ScatterPlot* plot_;
    SampleInfoLabel* lblsit_;
    QLabel* txtRegr_;
    QPushButton* cmdsave_;
    std::array<QPushButton*, 2> cmdswitch_{};
    std::array<QPushButton*, 3> cmdtvar_{};

    // The samples of the last run.
    bool hasResults_ = false;
    SampleLabels labels_;
    std::array<std::vector<std::string>, 3> testval_;
    std::array<QString, 3> testname_;
    std::array<int, 3> testcount_{};
    std::vector<double> staricm_;
    std::vector<double> gigicm_;

    // The plotted pair and its regression.
    std::vector<std::string> plotx_;
    std::vector<double> ploty_;
    std::optional<Regression> regression_;
    int activeIndex_ = 0;         // 0 STAR_ICMi, 1 GIG ICMi
    int activeTestVariable_ = -1; // 0-based; -1 while no test-variable button is active
    bool firstgraph_ = true;
    QString gigIndexName_ = QStringLiteral("GIG_ICMi"); // title of the GIG ICMi axis
};

// The first test variable (0-based) with at least 6 numeric values, or -1.
int firstUsableTestVariable(const std::array<int, 3>& testcount);

} // namespace torrentix
