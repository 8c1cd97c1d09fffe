// What the workflow does with a computed run besides showing it: the bootstrap
// confidence intervals, computed on their own thread after the run, and the export of
// the run's tidy table.
#include "app/workflow.h"

#include "app/intervalrun.h"
#include "app/tableexport.h"
#include "base/files.h"
#include "base/platform.h"
#include "graphs/displaytext.h"
#include "report/resultsfile.h"
#include "report/tidytable.h"
#include "run/bootstraptable.h"

#include <algorithm>

#include <QFileInfo>

namespace torrentix {

void Workflow::intervalsClick(bool ticked) {
    intervalsWanted_ = ticked;
    kept_.setIntervals(ticked);
    emit changed();
}

void Workflow::startIntervals(SampleTable asRead, RunOptions options) {
    intervalRun_ = std::make_unique<IntervalRun>(std::move(asRead), std::move(options), results_);
    connect(intervalRun_.get(), &IntervalRun::progressed, this, &Workflow::intervalsProgressed);
    connect(intervalRun_.get(), &IntervalRun::finished, this, &Workflow::intervalsDone);
    setActivity(QStringLiteral("Computing confidence intervals ..."));
    emit intervalsStarted();
}

void Workflow::cancelIntervals() {
    if (!intervalRun_) {
        return;
    }
    intervalRun_.reset(); // waits for the replicates under way
    setActivity({});
    emit intervalsFinished();
}

void Workflow::intervalsDone(std::shared_ptr<const BootstrapResult> result, const QString& failure) {
    // The run goes once its signal has returned; its thread has ended.
    intervalRun_.release()->deleteLater();
    setActivity({});
    if (result) {
        intervals_ = std::move(result);
        reportText_ += QStringLiteral("\n\n  95 % confidence intervals (bootstrap):\n  %1 replicates of the "
                                      "reference samples, %2 counted.")
                           .arg(intervals_->replicates)
                           .arg(intervals_->counted);
        emit reportChanged();
    } else if (!failure.isEmpty()) {
        dialogs_.showMessage(QStringLiteral("The confidence intervals could not be computed: ") + failure);
    }
    emit intervalsFinished();
}

// Asks where an output goes and writes it there: `pathsOf` gives the files a chosen name
// writes, `write` writes them. A file that would replace the sample file (by any name: a
// link to it, another spelling of its path), or a place that cannot be written, brings
// the dialog back. False when the user chose no name.
bool Workflow::saveOutput(const QString& title, const QString& proposed, const QString& filter,
                          const std::function<QStringList(const QString&)>& pathsOf,
                          const std::function<void(const QStringList&)>& write) {
    const QString sample = QFileInfo(shownRun_ ? shownRun_->path : inputPath_).absoluteFilePath();
    for (;;) {
        const QString chosen = dialogs_.saveFileName(title, proposed, filter);
        if (chosen.isEmpty()) {
            return false;
        }
        const QStringList paths = pathsOf(chosen);
        if (std::any_of(paths.begin(), paths.end(), [&sample](const QString& path) {
                return platform::sameFile(pathBytes(path), pathBytes(sample));
            })) {
            dialogs_.showMessage(QStringLiteral("The output cannot replace the sample file ") + sample +
                                 QStringLiteral(". Please choose another name."));
            continue;
        }
        try {
            write(paths);
            return true;
        } catch (const std::exception& e) {
            dialogs_.showMessage(anyText(e.what()) + QStringLiteral("\nPlease choose another folder."));
        }
    }
}

QString Workflow::withTxtExtension(const QString& chosen) {
    return chosen.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) ? chosen
                                                                        : chosen + QStringLiteral(".txt");
}

bool Workflow::canSave() const {
    return results_ && shownRun_ && !intervalRun_ && !busy_;
}

// The tidy table of the run shown, with the intervals' columns when they are computed.
void Workflow::exportTable() {
    if (!canSave()) {
        return;
    }
    saveOutput(
        QStringLiteral("EXPORT TABLE"), pathText(tablePathFor(pathBytes(shownRun_->path))),
        QStringLiteral("Tab-separated table (*.tsv);;Comma-separated table (*.csv)"),
        [](const QString& chosen) { return QStringList{chosen}; },
        [this](const QStringList& paths) {
            const std::string path = pathBytes(paths[0]);
            const std::string table = tidyTableOf(*results_, shownRun_->gig, intervals_.get());
            writeFileAtomically(path, isCsvName(path) ? csvFromTsv(table) : table);
        });
}

// "Save results as...": the results file of the run shown, wherever the user says.
void Workflow::saveResultsAs() {
    if (!canSave()) {
        return;
    }
    const std::string written = results_->outputPath;
    const QString proposed = pathText(written.empty() ? resultsPathFor(pathBytes(shownRun_->path)) : written);
    saveOutput(
        QStringLiteral("SAVE RESULTS AS"), proposed, QStringLiteral("Text File (*.txt)"),
        [](const QString& chosen) { return QStringList{withTxtExtension(chosen)}; },
        [this](const QStringList& paths) {
            writeFileAtomically(pathBytes(paths[0]), results_->resultsText);
        });
}

// "Save intervals...": the samples' table where the user says, the regressions' table
// beside it; comma-separated both for a ".csv" name.
void Workflow::saveIntervals() {
    if (!canSave() || !intervals_) {
        return;
    }
    saveOutput(
        QStringLiteral("SAVE CONFIDENCE INTERVALS"), pathText(bootstrapPathFor(pathBytes(shownRun_->path))),
        QStringLiteral("Tab-separated table (*.tsv);;Comma-separated table (*.csv)"),
        [](const QString& chosen) {
            return QStringList{chosen, pathText(regressionsPathBeside(pathBytes(chosen)))};
        },
        [this](const QStringList& paths) {
            const std::string samples = pathBytes(paths[0]);
            const auto form = [&samples](const std::string& table) {
                return isCsvName(samples) ? csvFromTsv(table) : table;
            };
            writeFileAtomically(samples, form(bootstrapSamplesText(*intervals_, *results_)));
            writeFileAtomically(pathBytes(paths[1]), form(bootstrapRegressionsText(*intervals_, *results_)));
        });
}

} // namespace torrentix
