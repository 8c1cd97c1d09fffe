#pragma once
// The RESULTS view: the report box, the class histogram under its caption, the results
// list, and under it "Export table..." and the check box that shows the interval columns.

#include "app/layout.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace torrentix {

class ClassHistogram;
class ReportBox;
class ResultsList;

class ResultsPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsPanel(QWidget* parent = nullptr); // object name "resultsPanel"

    ReportBox* report() const { return report_; }
    ClassHistogram* histogram() const { return histogram_; }
    ResultsList* list() const { return list_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* saveResultsButton() const { return saveResults_; }
    QPushButton* saveIntervalsButton() const { return saveIntervals_; }
    QCheckBox* intervalsBox() const { return intervals_; }

    void relayout(const Twips& twips, const ResultsLayout& layout);

  private:
    ReportBox* report_ = nullptr;
    QLabel* histogramCaption_ = nullptr;
    ClassHistogram* histogram_ = nullptr;
    ResultsList* list_ = nullptr;
    QPushButton* export_ = nullptr;        // cmdexport
    QPushButton* saveResults_ = nullptr;   // cmdsaveresults
    QPushButton* saveIntervals_ = nullptr; // cmdsaveintervals, once intervals are computed
    QCheckBox* intervals_ = nullptr;       // chk_intervalcolumns
};

// The "Please, wait..." panel with the stage and progress of a read or run, and its
// "Cancel".
class WaitPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int steps = 1000;

    explicit WaitPanel(QWidget* parent = nullptr); // object name "waitPanel"

    void start();
    void setStage(const QString& text);
    // Shows the fraction done; returns true when the bar moved.
    bool setFraction(double fraction);
    int value() const;

  signals:
    void cancelRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override; // Escape cancels
    void changeEvent(QEvent* event) override;      // the font changed: "Please, wait..." follows

  private:
    void setTitleFont();

    QLabel* title_ = nullptr;
    QLabel* stage_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace torrentix
