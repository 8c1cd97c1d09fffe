#pragma once
// The main window "mainWindow": the tab buttons START, RESULTS and GRAPHS with their views,
// the code of the chosen river type, the "INFO" button and the wait panel of a
// computation. The workflow holds the logic; the window shows it.

#include "app/userdialogs.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QSettings;

namespace torrentix {

class CancellableWait;
class ElidedLabel;
class GraphsView;
class ResultsPanel;
class StartPanel;
class TaxonDialog;
class WaitPanel;
class Workflow;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Without `dialogs` the window uses the standard Qt dialogs; without `settings` the
    // recent files are kept for this session only.
    explicit MainWindow(const TaxaDatabase& taxa, UserDialogs* dialogs = nullptr,
                        QSettings* settings = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: the information window, modal, until the mouse moves.
    void load();

    Workflow& workflow() const { return *workflow_; }
    TaxonDialog& taxonDialog() const { return *form3_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildTopRow(QWidget* central);
    void bindGraphsButtons();
    void bindWorkflow();
    void showView(int index);
    void styleTabs(int shown);
    void relayout();
    void setCaptionFonts();
    void runStarted();
    void setControlsEnabled(bool enabled);
    void runFinished();
    void resultsReady();
    void intervalsFinished();
    void showPlotExtras();

    std::unique_ptr<UserDialogs> ownDialogs_;
    UserDialogs& dialogs_;
    const TaxaDatabase& taxa_;
    TaxaTree tree_;
    TaxonDialog* form3_ = nullptr;
    Workflow* workflow_ = nullptr;

    std::array<QPushButton*, 3> tabs_{}; // showView
    QLabel* title_ = nullptr;
    QLabel* gigtype_ = nullptr;      // lbl_gigtype
    ElidedLabel* runLine_ = nullptr; // lbl_run
    QPushButton* info_ = nullptr;    // cmdhelp
    StartPanel* start_ = nullptr;
    ResultsPanel* results_ = nullptr;
    GraphsView* graphs_ = nullptr;
    WaitPanel* wait_ = nullptr;
    CancellableWait* intervalsWait_ = nullptr;
    QCheckBox* bootstrapBand_ = nullptr; // chk_band, on the GRAPHS view
    bool applyingResults_ = false;
};

// "  Torrentix 1.3.0 beta  -  " followed by the credits notice.
QString windowCaption();

} // namespace torrentix
