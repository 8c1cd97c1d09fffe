#pragma once
// The step-by-step workflow of the main window, without widgets: choice of GIG and river
// type, the "OK" and "<-- back" actions, reading the sample file (with the user's taxa
// map), the test-variable options, the computation run, its confidence intervals and the
// export of its table, and the choice of view. The window binds its controls to this
// state and forwards their events; tests drive it directly.

#include "app/backgroundjob.h"
#include "app/flowstate.h"
#include "app/keptchoices.h"
#include "app/recentfiles.h"
#include "app/resultssaving.h"
#include "app/userdialogs.h"
#include "index/classes.h"
#include "input/nameresolution.h"
#include "input/samplereader.h"
#include "input/sampletable.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"
#include "run/bootstrap.h"
#include "run/computerun.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace torrentix {

inline constexpr int optionRowCount = 3;

// One test-variable option row of the START view.
struct OptionRow {
    QString label;           // row label: "Test Var N" until a file is read, then the variable's name
    bool enabled = true;     // the label and "Biological"
    QString minText = "0";   // "Min Value"
    bool minEnabled = true;  // "Min Value" accepts input
    bool observed = false;   // "Observed Min" ticked
    bool biological = false; // "Biological" ticked
    QString minError;        // why "Min Value" cannot be used; empty when it can
};

// What the RESULTS and GRAPHS views show: the last completed run.
struct RunDescription {
    QString path; // the sample file
    Gig gig = Alpine;
    int type = 0;
};

// The user's answer about an unknown taxon name, whether to keep it in the taxa map, and
// whether every remaining name the taxon dictionary knows takes the dictionary's family
// without being asked (kept in the taxa map too when `remember` is set).
struct TaxonChoice {
    TaxonChoice(UnknownTaxonAnswer a = {}, bool keep = false, bool dictionary = false)
        : answer(std::move(a)), remember(keep), dictionaryForRemaining(dictionary) {}
    UnknownTaxonAnswer answer;
    bool remember = false;
    bool dictionaryForRemaining = false;
};
using TaxonQuestion = std::function<TaxonChoice(const UnknownTaxonQuestion&)>;

class IntervalRun;

// The stages of the work the wait panel tells: reading a file, then the stages of a run.
enum class WorkStage { Reading, Metrics, Indices, Regressions, Writing };

// The views and their tab buttons.
enum ViewIndex { StartTab = 0, ResultsTab = 1, GraphsTab = 2 };

class Workflow : public QObject {
    Q_OBJECT
  public:
    Workflow(const TaxaDatabase& taxa, const TaxaTree& tree, UserDialogs& dialogs, TaxonQuestion askTaxon,
             QObject* parent = nullptr);
    ~Workflow() override;

    // The state of the workflow (flowstate.h).
    FlowState state() const { return state_; }
    bool noResults() const { return !results_; }
    // A file is being read or a run computed, on a thread of its own: the window keeps
    // painting, its controls wait, and "Cancel" stops the work.
    bool busy() const { return state_ == FlowState::Reading || state_ == FlowState::Running; }
    // A file can be opened now: a river type is chosen and nothing else is under way.
    bool canOpenFile() const;

    // GIG and river type.
    std::optional<Gig> selectedGig() const { return selectedGig_; }
    Gig gig() const { return gig_; }
    int riverTypeCount() const { return riverTypeCount_; }
    std::optional<RiverType> selectedType() const { return selectedType_; }
    RiverType riverType() const { return riverType_; }
    // The river type of the run on show ("R-M1"); empty while none shows.
    QString gigtypeLabel() const;
    bool gigOptionsVisible() const { return state_ != FlowState::Options; }
    bool riverTypesVisible() const { return state_ != FlowState::Options && selectedGig_; }
    bool riverTypeVisible(int t) const { return t >= 0 && t < riverTypeCount_; }
    QString riverTypeCaption(int t) const; // empty for a hidden option
    static QString gigCaption(int g);
    static QString gigTooltip(int g);

    // START view.
    const QString& prompt() const { return prompt_; }
    bool okEnabled() const { return okEnabled_; }
    bool backVisible() const { return state_ == FlowState::Options; }
    bool metricFrameVisible() const { return state_ == FlowState::Options || gigMetricsHeld_; }
    const QString& metricFrameCaption() const { return metricFrameCaption_; }
    bool metricTextVisible() const { return state_ != FlowState::Options; }
    const QString& metricText() const { return metricText_; }
    bool testVariablesVisible() const { return state_ == FlowState::Options; }
    const OptionRow& row(int i) const { return rows_[static_cast<std::size_t>(i)]; }

    // Views, report and data.
    int currentView() const { return currentView_; }
    const QString& reportText() const { return reportText_; }
    // Class counts and sample count of the report, when it holds them.
    const std::optional<std::pair<ClassCounts, int>>& reportCounts() const { return reportCounts_; }
    const QString& inputPath() const { return inputPath_; }
    const SampleTable* table() const { return table_ ? &*table_ : nullptr; }
    const RunResult* results() const { return results_.get(); }
    std::shared_ptr<const RunResult> sharedResults() const { return results_; }
    const std::optional<RunDescription>& shownRun() const { return shownRun_; }
    // "Results of FILE · GIG · type", and on a second line what has been read or chosen
    // since and is not computed yet; empty while no results show.
    QString viewsCaption() const;

    // The recent files and the choices of the START view are kept in `settings` from now
    // on; the choices kept there before are taken up.
    void keepSettingsIn(QSettings* settings);
    // Files: the recent ones, and the file that "Run again" reads (empty: none).
    const QStringList& recentFiles() const { return recent_.files(); }
    QString runAgainFile() const;

    // The taxa map that answers unknown names before the user is asked, and where the
    // answers to remember go; empty: none.
    void useTaxaMap(const QString& path) { taxaMapPath_ = path; }
    const QString& taxaMapPath() const { return taxaMapPath_; }

    // Bootstrap confidence intervals, computed after a run when wanted: meanwhile the
    // program does nothing else.
    bool intervalsWanted() const { return intervalsWanted_; }
    bool computingIntervals() const { return intervalRun_ != nullptr; }
    // The intervals of the run shown, when computed.
    const BootstrapResult* intervals() const { return intervals_.get(); }
    std::shared_ptr<const BootstrapResult> sharedIntervals() const { return intervals_; }

    // Events of the START view.
    // An option chosen; from the keyboard (`keepFocus`) the focus stays on it, else it goes
    // to the START tab.
    void gigClick(int index, bool keepFocus = false);
    void riverTypeClick(int index, bool keepFocus = false);
    void gigMouseDown(int index, bool rightButton);
    void gigMouseUp();
    void okClick();   // "OK"
    void backClick(); // "<-- back"
    void observedMinClick(int row, bool ticked);
    void minValueChange(int row, const QString& text); // a keystroke: the text as typed
    void minValueLeft(int row);                        // the field was left: check it
    void biologicalClick(int row, bool ticked);
    // A recent file chosen, or "Run again": the file is read as if chosen in the dialog.
    void openRecent(const QString& path);
    void runAgain();
    // A file named on the command line: read as a recent file is, at once when a GIG and a
    // river type are chosen, else as soon as they are; its options, with the GIG and river
    // type it will be computed for, then wait for "OK", also when it has no test variable.
    void openWhenPossible(const QString& path);
    // "Confidence intervals" ticked or not.
    void intervalsClick(bool ticked);
    // Cancel, or the window closed: the intervals under way are dropped once the engine's
    // threads have stopped.
    void cancelIntervals();
    // "Cancel" of the wait panel: the read or run under way stops; the file read before and
    // the results shown stay as they were. May be called from any thread.
    void cancelWork() { job_->cancel(); }
    bool stopAsked() const { return job_->cancelled(); }
    // The work waits for the user's answer to a question of its own.
    bool workAsking() const { return job_->asking(); }
    // Waits until the work under way has stopped (the window is closing).
    void waitForWork() { job_->wait(); }
    // Called on the work's thread as each stage begins (for tests).
    void onStage(std::function<void(WorkStage)> hook) { stageHook_ = std::move(hook); }
    // "Export table...": the tidy table of the run shown, TAB-separated or, for a name
    // ending in ".csv", comma-separated.
    void exportTable();
    // "Save results as...": the results file of the run shown, where the user says; also
    // offered at once when the run could not write it.
    void saveResultsAs();
    // "Save intervals...": the bootstrap intervals of the run shown, as two tables: the
    // samples' where the user says ("NAME_ci.tsv" proposed), the regressions' beside it.
    void saveIntervals();
    // The run shown can be saved or exported now.
    bool canSave() const;
    // Opens the taxa map in the program's editor (taxaMapEditRequested), creating it first.
    void openTaxaMap();
    // The main window became active.
    void activate();
    // A tab button: shows its view, or falls back to one that can be shown.
    void showView(int index);
    // Refreshes the step prompt and the state of "OK".
    void refreshPrompt();

  signals:
    void changed();              // the START view's state
    void viewChanged(int index); // another view is shown
    void focusTab(int index);    // the keyboard focus goes to this tab button
    // A step is done: the focus goes to what comes next, the options (Options) or the
    // results (Results).
    void stepDone(FlowState next);
    void reportChanged(); // report text (and histogram counts)
    void runStarted();    // the wait panel shows
    void stageChanged(const QString& text);
    void progressed(double fraction);
    void runFinished();    // the wait panel hides
    void resultsReady();   // results() holds a completed run
    void resultsCleared(); // no results are on screen any more
    void intervalsStarted();
    void intervalsProgressed(double fraction);
    void intervalsFinished(); // intervals() holds them, unless cancelled or failed
    void taxaMapEditRequested(const QString& path);

  private:
    enum class ReadOutcome { Done, Aborted, Malformed, Cancelled };
    struct RunOutcome {
        std::optional<RunResult> run;
        QString failure;
        bool cancelled = false;
    };

    // Moves to another state when the move is allowed; false (and no change) otherwise.
    bool moveTo(FlowState to);
    FlowState idle() const { return results_ ? FlowState::Results : FlowState::Start; }
    QString activity() const; // what the program is doing, shown as the prompt while it lasts
    // `byUser`: the user asked for the file (OK, a recent file, Run again); a file from the
    // command line waits at its options for "OK".
    void openSampleFile(QString chosen = {}, bool byUser = true);
    void noFileChosen();
    QString lastFolder() const;
    void readFile(const QString& path, bool byUser);
    void readDone(const QString& path, ReadResult& read, ReadOutcome outcome, bool byUser);
    ReadOutcome readChecked(const QString& path, ReadResult& read, UserDialogs& dialogs);
    void takeRead(const QString& path, ReadResult& read);
    void showOptions(bool byUser);
    void enterStage(WorkStage stage); // on the work's thread
    bool checkMinValues();
    void computeRun();
    void runDone(const RunOptions& options, RunOutcome outcome);
    void failRun(const QString& why);
    void openWaitingFile();
    void takeKeptChoices();
    void refreshReport();
    void showStart();
    RunOptions runOptions() const;
    UnknownTaxonHandler taxonHandler(int& mapped, std::vector<std::string>& differing, UserDialogs& dialogs);
    void rememberChoice(const UnknownTaxonQuestion& question, const TaxonChoice& choice,
                        UserDialogs& dialogs);
    void startIntervals(SampleTable asRead, RunOptions options);
    void intervalsDone(std::shared_ptr<const BootstrapResult> result, const QString& failure);

    const TaxaDatabase& taxa_;
    const TaxaTree& tree_;
    UserDialogs& dialogs_;
    ResultsSaving saving_{dialogs_};
    TaxonQuestion askTaxon_;
    RecentFiles recent_;
    KeptChoices kept_;
    QString waitingFile_; // to open once a river type is chosen
    QString taxaMapPath_;

    FlowState state_ = FlowState::Start;

    std::optional<Gig> selectedGig_;
    Gig gig_ = Alpine;
    int riverTypeCount_ = 0;
    std::optional<RiverType> selectedType_;
    RiverType riverType_ = 0;

    QString prompt_;
    bool okEnabled_ = false;
    bool gigMetricsHeld_ = false; // the metrics of a GIG show while the right button holds it
    bool waitingForOk_ = false;   // the options of a file from the command line show
    QString metricFrameCaption_;
    QString metricText_;
    std::array<OptionRow, optionRowCount> rows_;

    int currentView_ = StartTab;
    QString reportText_;
    std::optional<std::pair<ClassCounts, int>> reportCounts_;
    QString inputPath_;
    QString lastChosen_; // the file last chosen, read or not
    std::optional<SampleTable> table_;
    QStringList readNotes_;            // what the report tells about the read of table_
    std::vector<std::string> leftOut_; // what the read of table_ left out, for the record of the names
    std::shared_ptr<const RunResult> results_;
    std::optional<RunDescription> shownRun_;
    bool readSinceRun_ = false;
    QString notReplaced_; // why the last run did not replace the results shown

    bool intervalsWanted_ = false;
    std::unique_ptr<IntervalRun> intervalRun_;
    std::shared_ptr<const BootstrapResult> intervals_;

    std::function<void(WorkStage)> stageHook_;
    // Last, so that it stops its work first, while everything the work uses still stands.
    std::unique_ptr<BackgroundJob> job_ = std::make_unique<BackgroundJob>();
};

} // namespace torrentix
