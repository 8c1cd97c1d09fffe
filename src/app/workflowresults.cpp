// What the workflow does with a computed run besides showing it: the bootstrap
// confidence intervals, computed on their own thread after the run, and the export of
// the run's tidy table.
#include "app/workflow.h"

#include "app/intervalrun.h"
#include "app/tableexport.h"
#include "base/files.h"
#include "graphs/displaytext.h"
#include "report/tidytable.h"

#include <QFileInfo>

namespace torrentix {

void Workflow::intervalsClick(bool ticked) {
    intervalsWanted_ = ticked;
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

// The table goes where the user says, in one step; it never replaces the sample file.
void Workflow::exportTable() {
    if (!results_ || !shownRun_ || intervalRun_ || busy_) {
        return;
    }
    const QString sample = shownRun_->path;
    const QString proposed = pathText(tablePathFor(pathBytes(sample)));
    for (;;) {
        const QString chosen = dialogs_.saveFileName(
            QStringLiteral("EXPORT TABLE"), proposed,
            QStringLiteral("Tab-separated table (*.tsv);;Comma-separated table (*.csv)"));
        if (chosen.isEmpty()) {
            return;
        }
        if (QFileInfo(chosen).absoluteFilePath() == QFileInfo(sample).absoluteFilePath()) {
            dialogs_.showMessage(QStringLiteral("The table cannot replace the sample file ") + sample +
                                 QStringLiteral(". Please choose another name."));
            continue;
        }
        const std::string path = pathBytes(chosen);
        const std::string table = tidyTableOf(*results_, shownRun_->gig);
        try {
            writeFileAtomically(path, isCsvName(path) ? csvFromTsv(table) : table);
        } catch (const std::exception& e) {
            dialogs_.showMessage(anyText(e.what()));
        }
        return;
    }
}

} // namespace torrentix
