// The "OK" action: open and read a sample file, show the test-variable options, and run
// the computation with the options chosen.
#include "app/workflow.h"

#include "app/jobdialogs.h"
#include "graphs/displaytext.h"

#include "base/error.h"
#include "base/files.h"
#include "base/platform.h"
#include "base/text.h"
#include "index/normalisation.h"
#include "input/correctedfile.h"
#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"
#include "report/reporttext.h"
#include "report/resultsfile.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <ctime>
#include <utility>

namespace torrentix {

void Workflow::okClick() {
    if (allowedMove(state_, FlowState::Reading)) {
        openSampleFile(std::exchange(waitingFile_, {}));
        return;
    }
    if (state_ != FlowState::Options || !checkMinValues()) {
        return;
    }
    std::array<std::optional<RowChoice>, 3> chosen;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        const OptionRow& r = rows_[k];
        if (r.enabled) {
            chosen[k] = RowChoice{r.observed ? QStringLiteral("0") : r.minText, r.observed, r.biological};
        }
    }
    kept_.setRows(chosen);
    computeRun();
}

// The options of the file read: each usable row takes the options the user last ran, the
// others none. A file without usable test variables is computed at once when the user
// asked for it; one from the command line waits for "OK".
void Workflow::showOptions(bool byUser) {
    metricFrameCaption_ = QStringLiteral("Test variables (file:") + QFileInfo(inputPath_).fileName() + ")";
    bool anyUsable = false;
    for (int i = 0; i < optionRowCount; ++i) {
        OptionRow& r = rows_[static_cast<std::size_t>(i)];
        const bool usable = isUsableTestVariable(*table_, i);
        const RowChoice kept = usable ? kept_.choices().rows[static_cast<std::size_t>(i)] : RowChoice{};
        r.minText = kept.observed ? QString() : kept.minText;
        r.observed = kept.observed;
        r.minError.clear();
        r.biological = kept.biological;
        r.label = displayText(table_->testVariableNames[static_cast<std::size_t>(i)], table_->utf8);
        r.enabled = usable;
        r.minEnabled = usable && !kept.observed;
        anyUsable = anyUsable || usable;
    }
    waitingForOk_ = !byUser;
    moveTo(FlowState::Options);
    if (!anyUsable && byUser) {
        computeRun();
    } else {
        emit stepDone(FlowState::Options);
    }
}

// The open-file step: reads the file given, or asks for one; a malformed file brings the
// dialog back once the read has ended.
void Workflow::openSampleFile(QString chosen, bool byUser) {
    if (chosen.isEmpty()) {
        chosen = dialogs_.openFileIn(QStringLiteral("OPEN FILE"),
                                     QStringLiteral("Text File (*.txt);;All Files (*)"), lastFolder());
    }
    if (chosen.isEmpty()) {
        noFileChosen();
        return;
    }
    lastChosen_ = chosen;
    if (!QFileInfo(chosen).isFile()) {
        recent_.remove(chosen);
        dialogs_.showMessage(QStringLiteral("File not found."));
        noFileChosen();
        return;
    }
    readFile(chosen, byUser);
}

void Workflow::noFileChosen() {
    if (noResults()) {
        reportText_ = QStringLiteral("file: not found.");
        reportCounts_.reset();
        emit reportChanged();
    }
}

QString Workflow::lastFolder() const {
    const QString last = lastChosen_.isEmpty() ? recent_.files().value(0) : lastChosen_;
    return last.isEmpty() ? QString() : QFileInfo(last).absolutePath();
}

namespace {

QString stageText(WorkStage stage) {
    switch (stage) {
    case WorkStage::Reading:
        return QString::fromUtf8(readingStageText);
    case WorkStage::Metrics:
        return QString::fromUtf8(runStageText(RunStage::Metrics));
    case WorkStage::Indices:
        return QString::fromUtf8(runStageText(RunStage::Indices));
    case WorkStage::Regressions:
        return QString::fromUtf8(runStageText(RunStage::Regressions));
    case WorkStage::Writing:
        break;
    }
    return QString::fromUtf8(runStageText(RunStage::Writing));
}

// Where each stage of a run starts on the progress bar: the metric passes take most of it.
constexpr double metricsShare = 0.8;
double stageStart(RunStage stage) {
    switch (stage) {
    case RunStage::Metrics:
        return 0.0;
    case RunStage::Indices:
        return metricsShare;
    case RunStage::Regressions:
        return 0.9;
    case RunStage::Writing:
        break;
    }
    return 0.97;
}

WorkStage workStage(RunStage stage) {
    switch (stage) {
    case RunStage::Metrics:
        return WorkStage::Metrics;
    case RunStage::Indices:
        return WorkStage::Indices;
    case RunStage::Regressions:
        return WorkStage::Regressions;
    case RunStage::Writing:
        break;
    }
    return WorkStage::Writing;
}

} // namespace

void Workflow::enterStage(WorkStage stage) {
    if (stageHook_) {
        stageHook_(stage);
    }
    job_->onWindowThread([this, stage] { emit stageChanged(stageText(stage)); });
}

// Reads the file on the work's thread; questions go to the user on the window's thread.
void Workflow::readFile(const QString& path, bool byUser) {
    if (!moveTo(FlowState::Reading)) {
        return;
    }
    emit runStarted();
    auto read = std::make_shared<ReadResult>();
    auto outcome = std::make_shared<ReadOutcome>(ReadOutcome::Aborted);
    auto failure = std::make_shared<QString>(); // what went wrong beyond the file's own faults
    job_->start(
        [this, path, read, outcome, failure] {
            JobDialogs dialogs(*job_, dialogs_);
            try {
                enterStage(WorkStage::Reading);
                *outcome = readChecked(path, *read, dialogs);
                job_->report(1.0);
                if (*outcome == ReadOutcome::Done && read->table.namesCorrected) {
                    saveCorrectedFile(*read);
                }
            } catch (const Cancelled&) {
                *outcome = ReadOutcome::Cancelled;
            } catch (const std::exception& e) {
                *failure = anyText(e.what());
                *outcome = ReadOutcome::Aborted;
            }
        },
        [this, path, read, outcome, failure, byUser] {
            moveTo(idle());
            emit runFinished();
            if (!failure->isEmpty()) {
                dialogs_.showMessage(*failure);
            }
            readDone(path, *read, *outcome, byUser);
        });
}

void Workflow::readDone(const QString& path, ReadResult& read, ReadOutcome outcome, bool byUser) {
    if (outcome == ReadOutcome::Done) {
        takeRead(path, read);
        showOptions(byUser);
    } else if (outcome == ReadOutcome::Malformed) {
        openSampleFile();
    }
}

// Reads the file, asking whether a decimal comma is meant as one, then whether cells that
// are not plain numbers may be read as the method reads them. Nothing is written before
// both are answered.
Workflow::ReadOutcome Workflow::readChecked(const QString& path, ReadResult& read, UserDialogs& dialogs) {
    ReadOptions options;
    options.stop = job_->stop();
    options.progress = [this](double fraction) { job_->report(fraction); };
    options.askPastBlankLine = [&dialogs](const LinesAfterBlank& after) {
        static constexpr std::array answers = {PastBlankLine::ReadThem, PastBlankLine::StopHere,
                                               PastBlankLine::Cancel};
        const int chosen = dialogs.choose(
            anyText(linesAfterBlankText(after)),
            {QStringLiteral("Read them too"), QStringLiteral("Stop here"), QStringLiteral("Cancel")});
        return answers[static_cast<std::size_t>(std::clamp(chosen, 0, 2))];
    };
    int mapped = 0;
    std::vector<std::string> differing; // the map's answers that are not the taxon dictionary's
    const UnknownTaxonHandler handler = taxonHandler(mapped, differing, dialogs);
    for (;;) {
        mapped = 0;
        differing.clear();
        try {
            read = readSampleFile(pathBytes(path), taxa_, tree_, handler, options);
            break;
        } catch (const Cancelled&) {
            throw;
        } catch (const DecimalCommaError& e) {
            if (options.decimalComma ||
                !dialogs.askYesNo(QStringLiteral("The file writes numbers with a decimal comma (") +
                                  anyText(e.detail()) +
                                  QStringLiteral("). Read commas as decimal points?"))) {
                return ReadOutcome::Aborted;
            }
            options.decimalComma = true;
        } catch (const std::exception& e) {
            dialogs.showMessage(anyText(e.what()));
            return ReadOutcome::Malformed;
        }
    }
    if (read.status == ReadResult::Status::Aborted) {
        dialogs.showMessage(QStringLiteral("Process aborted by the user."));
        return ReadOutcome::Aborted;
    }
    if (read.doubtfulTotal() > 0 &&
        !dialogs.confirm(anyText(doubtfulCellsText(read)) + QStringLiteral("\nContinue with these values?"),
                         QStringLiteral("Continue"), QStringLiteral("Abort"))) {
        return ReadOutcome::Aborted;
    }
    if (mapped > 0) {
        read.notes.push_back(std::to_string(mapped) + (mapped == 1 ? " name" : " names") +
                             " mapped by your taxa map " + pathBytes(taxaMapPath_) + ".");
    }
    if (!differing.empty()) {
        std::string names;
        for (const std::string& name : differing) {
            names += (names.empty() ? "" : ", ") + name;
        }
        read.notes.push_back("Your taxa map gives another family than the taxon dictionary for " + names +
                             ".");
    }
    if (options.decimalComma) {
        read.notes.push_back("Decimal commas were read as decimal points.");
    }
    if (read.doubtfulCount == 1) {
        read.notes.push_back(
            "1 abundance cell that is not a plain number was read as its leading number, else 0.");
    } else if (read.doubtfulCount > 1) {
        read.notes.push_back(std::to_string(read.doubtfulCount) +
                             " abundance cells that are not plain numbers were read as their leading number, "
                             "else 0.");
    }
    if (!read.sameNames.empty()) {
        read.notes.push_back(countOf(read.sameNames.size(), "name") + " the outputs cannot tell apart: " +
                             read.sameNames.front() + (read.sameNames.size() > 1 ? ", ..." : "") + ".");
    }
    return ReadOutcome::Done;
}

// The read becomes the table of the next run; the user hears about the corrected file.
void Workflow::takeRead(const QString& path, ReadResult& read) {
    inputPath_ = path;
    table_ = std::move(read.table);
    readNotes_.clear();
    for (const std::string& note : read.notes) {
        readNotes_ << anyText(note);
    }
    leftOut_.clear();
    if (read.unread) {
        leftOut_.push_back(dataEndText(*read.unread));
    }
    readSinceRun_ = true;
    notReplaced_.clear();
    recent_.add(path);
    if (!read.notice.empty()) {
        dialogs_.showMessage(screenLines(read.notice));
    }
    if (!read.correctedFileError.empty()) {
        dialogs_.showMessage(screenLines(read.correctedFileError));
    }
}

RunOptions Workflow::runOptions() const {
    RunOptions o;
    o.gig = gig_;
    o.riverType = riverType_;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        o.testVariables[i].minText = rows_[i].minText.toStdString();
        o.testVariables[i].observedMin = rows_[i].observed;
        o.testVariables[i].biological = rows_[i].biological;
    }
    // The batch command's forms: the user's time locale, ISO 8601 under the C locale.
    const auto now = platform::localDateAndTime(std::time(nullptr));
    o.dateText = now.date;
    o.timeText = now.time;
    const bool mapUsed = !taxaMapPath_.isEmpty() && QFileInfo::exists(taxaMapPath_);
    o.taxaRecord = TaxaRecordHeading{"asked", mapUsed ? pathBytes(taxaMapPath_) : std::string(), leftOut_};
    return o;
}

void Workflow::refreshReport() {
    if (!table_) {
        return;
    }
    ReportInput in;
    in.sourcePath = inputPath_.toStdString();
    in.nsamp = table_->nsamp();
    in.nfam = table_->nfam();
    for (std::size_t k = 0; k < 3; ++k) {
        in.testVariableNames[k] = displayText(table_->testVariableNames[k], table_->utf8).toStdString();
        in.numericTestValueCounts[k] = table_->numericTestValueCounts[k];
        in.minValueTexts[k] = rows_[k].minText.toStdString();
        in.biological[k] = rows_[k].biological;
    }
    in.classcount = countSamplesPerClass(*table_);
    if (selectedGig_) {
        in.gigCaption = std::string(gigInfo(*selectedGig_).caption);
        in.notes = placeholderNotes(*selectedGig_);
    }
    if (selectedType_ && *selectedType_ < riverTypeCount_) {
        in.riverTypeCaption = typeCaption(gig_, *selectedType_);
    }
    reportText_ = screenLines(torrentix::reportText(in));
    if (!readNotes_.isEmpty()) {
        reportText_ += QStringLiteral("\n\n  ") + readNotes_.join(QStringLiteral("\n  "));
    }
    reportCounts_ = std::make_pair(in.classcount, in.nsamp);
    emit reportChanged();
}

// A run that failed or was refused: the results shown before stay, with the reason they
// were not replaced; without any, the views are emptied.
void Workflow::failRun(const QString& why) {
    if (results_ && shownRun_) {
        const QString dot = QStringLiteral(" \u00B7 ");
        notReplaced_ = QStringLiteral("the run of ") + QFileInfo(inputPath_).fileName() + dot +
                       gigCaption(gig_) + dot + riverTypeCaption(riverType_).left(4) +
                       QStringLiteral(" failed: ") + why.section(QLatin1Char('\n'), 0, 0);
        refreshPrompt();
        showView(StartTab);
        return;
    }
    results_.reset();
    shownRun_.reset();
    refreshPrompt();
    emit resultsCleared();
    showView(StartTab);
}

// Computes the run on the work's thread, from a copy of the table (its abundances are
// shared, not copied): a run that is stopped leaves the table and the results as they were.
void Workflow::computeRun() {
    if (!table_ || !allowedMove(state_, FlowState::Running)) {
        return;
    }
    // Where the results go is settled before the run starts: a run that will be refused
    // writes nothing and asks nothing.
    std::optional<std::optional<std::string>> target;
    const std::string planned = resultsPathFor(table_->sourcePath);
    if (fileExists(planned) && chooseReferenceRule(countSamplesPerClass(*table_)) &&
        moveTo(FlowState::Question)) {
        target = saving_.existingResultsFile(planned, inputPath_);
    }
    moveTo(FlowState::Running);
    emit runStarted();
    auto input = std::make_shared<SampleTable>(*table_);
    const RunOptions options = runOptions();
    auto outcome = std::make_shared<RunOutcome>();
    job_->start(
        [this, input, options, outcome, target] {
            RunCallbacks callbacks;
            callbacks.stop = job_->stop();
            callbacks.progress = [this](double fraction) { job_->report(metricsShare * fraction); };
            callbacks.stage = [this](RunStage stage) {
                enterStage(workStage(stage));
                job_->report(stageStart(stage));
            };
            // A file that appeared since is kept: the run shown can be saved elsewhere.
            callbacks.existingResultsFile = [target](const std::string&) {
                return target.value_or(std::nullopt);
            };
            try {
                outcome->run = torrentix::computeRun(std::move(*input), taxa_, options, callbacks);
                job_->report(1.0);
            } catch (const Cancelled&) {
                outcome->cancelled = true;
            } catch (const std::exception& e) {
                outcome->failure = anyText(e.what());
            }
        },
        [this, options, outcome] {
            moveTo(outcome->run && !outcome->run->refused ? FlowState::Results : idle());
            emit runFinished();
            runDone(options, std::move(*outcome));
        });
}

void Workflow::runDone(const RunOptions& options, RunOutcome outcome) {
    if (outcome.cancelled) {
        return;
    }
    std::optional<RunResult>& run = outcome.run;
    if (!results_ || (run && !run->refused)) { // a failed run leaves the report shown
        refreshReport();
    }
    if (!run) {
        dialogs_.showMessage(outcome.failure);
        failRun(outcome.failure);
        return;
    }
    // The notes on placeholder metrics stand in the report, which every run shows: they
    // need no window of their own each time.
    const std::vector<std::string> reported = placeholderNotes(options.gig);
    for (const std::string& message : run->messages) {
        if (std::find(reported.begin(), reported.end(), message) == reported.end()) {
            dialogs_.showMessage(screenLines(message));
        }
    }
    if (run->refused) {
        failRun(QStringLiteral("too few reference samples (") + anyText(refusalMessage) + ")");
        return;
    }
    // The intervals normalise the test values afresh: they start from the table as read.
    SampleTable asRead = std::exchange(*table_, run->table);
    intervals_.reset();
    results_ = std::make_shared<const RunResult>(std::move(*run));
    shownRun_ = RunDescription{inputPath_, gig_, riverType_};
    readSinceRun_ = false;
    notReplaced_.clear();
    refreshPrompt();
    emit resultsReady();
    showView(ResultsTab);
    emit stepDone(FlowState::Results);
    // The folder cannot be written: another place, or the results show without a file.
    if (!results_->fileError.empty() && !saving_.saveResultsAs(*results_, shownRun_->path)) {
        dialogs_.showMessage(QStringLiteral("No file was saved."));
    }
    if (intervalsWanted_) {
        startIntervals(std::move(asRead), options);
    }
}

} // namespace torrentix
