// The "OK" action: open and read a sample file, show the test-variable options, and run
// the computation with the options chosen.
#include "graphs/displaytext.h"
#include "app/workflow.h"

#include "base/error.h"
#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "report/reporttext.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QTime>

namespace torrentix {

void Workflow::command1Click() {
    if (wfstep_ == 0) {
        aprifile();
        return;
    }
    if (wfstep_ == 1) {
        metricFrameCaption_ =
            QStringLiteral("Test variables (file:") + QFileInfo(inputPath_).fileName() + ")";
        bool anyUsable = false;
        for (int i = 0; i < optionRowCount; ++i) {
            OptionRow& r = rows_[static_cast<std::size_t>(i)];
            const bool usable = isUsableTestVariable(*table_, i);
            r.minText = QStringLiteral("0");
            r.biological = false;
            r.label = displayText(table_->testname[static_cast<std::size_t>(i)], table_->utf8);
            r.enabled = usable;
            r.minEnabled = usable;
            anyUsable = anyUsable || usable;
        }
        if (!anyUsable) {
            wfstep_ = 0;
            emit changed();
            calcola();
            return;
        }
        showOptions();
        return;
    }
    hideOptions();
    falabel3(); // the options prompt goes with the options, also when the run is refused
    calcola();
}

// The open-file step: asks for a sample file and reads it; a malformed file brings the
// dialog back.
void Workflow::aprifile() {
    for (;;) {
        const QString chosen = dialogs_.openFileName(QStringLiteral("OPEN FILE"),
                                                     QStringLiteral("Text File (*.txt);;All Files (*)"));
        if (chosen.isEmpty()) {
            break;
        }
        if (!QFileInfo(chosen).isFile()) {
            dialogs_.showMessage(QStringLiteral("File not found."));
            break;
        }
        if (readFile(chosen) != ReadOutcome::Malformed) {
            return;
        }
    }
    if (noresults_) {
        reportText_ = QStringLiteral("file: not found.");
        reportCounts_.reset();
        emit reportChanged();
    }
}

Workflow::ReadOutcome Workflow::readFile(const QString& path) {
    ReadResult read;
    try {
        read = inputtxt(pathBytes(path), taxa_, tree_, askTaxon_);
    } catch (const std::exception& e) {
        dialogs_.showMessage(anyText(e.what()));
        return ReadOutcome::Malformed;
    }
    if (read.status == ReadResult::Status::Aborted) {
        dialogs_.showMessage(QStringLiteral("Process aborted by the user."));
        return ReadOutcome::Aborted;
    }
    inputPath_ = path;
    table_ = std::move(read.table);
    if (!read.notice.empty()) {
        dialogs_.showMessage(screenLines(read.notice));
    }
    if (!read.correctedFileError.empty()) {
        dialogs_.showMessage(screenLines(read.correctedFileError));
    }
    emit fileRead(gigindex_);
    wfstep_ = 1;
    command1Click();
    return ReadOutcome::Done;
}

RunOptions Workflow::runOptions() const {
    RunOptions o;
    o.gigindex = gigindex_;
    o.typeindex = typeindex_;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        o.testVariables[i].minText = rows_[i].minText.toStdString();
        o.testVariables[i].observedMin = rows_[i].observed;
        o.testVariables[i].biological = rows_[i].biological;
    }
    const QLocale locale = QLocale::system();
    o.dateText = locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    o.timeText = locale.toString(QTime::currentTime(), QLocale::ShortFormat).toStdString();
    return o;
}

// Asked when the results file exists: overwrite it, or choose another name.
std::optional<std::string> Workflow::existingResultsFile(const std::string& path) {
    const QString existing = pathText(path);
    if (dialogs_.askYesNo(QStringLiteral("File ") + existing +
                          QStringLiteral(" already exists. Overwrite?"))) {
        return path;
    }
    for (;;) {
        QString chosen =
            dialogs_.saveFileName(QStringLiteral("SAVE AS"), existing, QStringLiteral("Text File (*.txt)"));
        if (chosen.isEmpty()) {
            return std::nullopt;
        }
        if (chosen.right(3).toLower() != QStringLiteral("txt")) {
            chosen += QStringLiteral(".txt");
        }
        // The sample file is only ever read: the results never replace it.
        if (QFileInfo(chosen).absoluteFilePath() != QFileInfo(inputPath_).absoluteFilePath()) {
            return pathBytes(chosen);
        }
        dialogs_.showMessage(QStringLiteral("The results cannot replace the sample file ") + inputPath_ +
                             QStringLiteral(". Please choose another name."));
    }
}

void Workflow::faetic() {
    if (!table_) {
        return;
    }
    ReportInput in;
    in.inputpath = inputPath_.toStdString();
    in.nsamp = table_->nsamp();
    in.nfam = table_->nfam();
    for (std::size_t k = 0; k < 3; ++k) {
        in.testname[k] = displayText(table_->testname[k], table_->utf8).toStdString();
        in.testcount[k] = table_->testcount[k];
        in.testmin[k] = rows_[k].minText.toStdString();
        in.biological[k] = rows_[k].biological;
    }
    in.classcount = contaclassif(*table_);
    if (selectedGig_) {
        in.gigCaption = std::string(gigInfo(*selectedGig_).caption);
    }
    if (selectedType_ && *selectedType_ < ntypes_) {
        in.riverTypeCaption = typeCaption(gigindex_, *selectedType_);
    }
    reportText_ = screenLines(torrentix::faetic(in));
    reportCounts_ = std::make_pair(in.classcount, in.nsamp);
    emit reportChanged();
}

void Workflow::failRun() {
    noresults_ = true;
    results_.reset();
    emit resultsCleared();
    cmdtab(StartTab);
}

void Workflow::calcola() {
    if (!table_) {
        return;
    }
    busy_ = true;
    emit runStarted();
    faetic();
    RunCallbacks callbacks;
    callbacks.progress = [this](double fraction) { emit progressed(fraction); };
    callbacks.existingResultsFile = [this](const std::string& path) { return existingResultsFile(path); };
    std::optional<RunResult> run;
    QString failure;
    try {
        run = torrentix::calcola(*table_, taxa_, runOptions(), callbacks);
    } catch (const std::exception& e) {
        failure = anyText(e.what());
    }
    busy_ = false;
    emit runFinished();
    if (!run) {
        dialogs_.showMessage(failure);
        failRun();
        return;
    }
    for (const std::string& message : run->messages) {
        dialogs_.showMessage(screenLines(message));
    }
    if (run->refused) {
        failRun();
        return;
    }
    table_ = run->table;
    results_ = std::move(run);
    noresults_ = false;
    emit resultsReady();
    cmdtab(ResultsTab);
}

} // namespace torrentix
