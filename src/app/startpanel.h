#pragma once
// The START view: the GIG and river-type options, the step prompt with "OK" and
// "<-- back", and the frame that shows either the metrics of a GIG or the options of the
// test variables. It forwards its events to the workflow and shows the workflow's state.

#include "app/layout.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace torrentix {

class Workflow;

class StartPanel : public QWidget {
    Q_OBJECT
  public:
    StartPanel(Workflow& workflow, QWidget* parent = nullptr); // object name "frame_gig"

    // Shows the workflow's state.
    void sync();
    // Places the controls (panel coordinates in twips).
    void relayout(const Twips& twips, const StartLayout& layout);
    // Enter: presses "OK", wherever the focus is.
    void pressEnter();
    // The focus goes to the first option of the test variables that can be set, else to "OK".
    void focusOptions();
    // Escape: closes the metrics of a GIG opened from the keyboard; false when none show.
    bool pressEscape();

  signals:
    // A click on the option panels outside their options.
    void panelClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override; // the palette changed: the error texts follow

  private:
    QWidget* makeGigPanel();
    QWidget* makeRiverTypePanel();
    QGroupBox* makeMetricFrame();
    QWidget* makeTestVariableRows();
    void makeFileButtons();
    void syncRows();
    void syncFiles();
    void placeMetricFrame();
    void fitRiverTypes();
    bool gigOptionEvent(int g, QEvent* event);
    void paintErrors();

    Workflow& workflow_;
    Twips twips_{96.0};
    StartLayout layout_;

    QWidget* gigPanel_ = nullptr;       // Picture2
    QWidget* riverTypePanel_ = nullptr; // Picture1
    std::array<QRadioButton*, 5> gigOptions_{};
    std::array<QRadioButton*, 8> riverTypes_{};
    QLabel* prompt_ = nullptr;               // promptLabel
    QPushButton* ok_ = nullptr;              // okButton
    QPushButton* back_ = nullptr;            // backButton
    QPushButton* recent_ = nullptr;          // cmdrecent, with its menu of files
    QPushButton* runAgain_ = nullptr;        // cmdagain
    QPushButton* taxaMap_ = nullptr;         // cmdtaxamap
    QGroupBox* metricFrame_ = nullptr;       // frame_metr
    QLabel* metricLabel_ = nullptr;          // lbl_metr
    QScrollArea* metricScroll_ = nullptr;    // metricScroll, the description beyond the frame's room
    QWidget* testVariables_ = nullptr;       // testVariablesPanel
    std::array<QLabel*, 3> rowLabels_{};     // testVariableLabel_n
    std::array<QCheckBox*, 3> observed_{};   // observedMinBox_n
    std::array<QLineEdit*, 3> minValues_{};  // minValue_n
    std::array<QCheckBox*, 3> biological_{}; // biologicalBox_n
    std::array<QLabel*, 3> minErrors_{};     // minValueError_n
    QCheckBox* intervals_ = nullptr;         // chk_intervals
    bool byKeyboard_ = false;                // the last option was used from the keyboard
};

} // namespace torrentix
