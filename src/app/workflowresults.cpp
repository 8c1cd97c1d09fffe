// What the workflow does with a computed run besides showing it: the bootstrap
// confidence intervals, computed on their own thread after the run, and the saves of its
// outputs (resultssaving.h).
#include "app/workflow.h"

#include "app/intervalrun.h"

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
    moveTo(FlowState::Intervals);
    emit intervalsStarted();
}

void Workflow::cancelIntervals() {
    if (!intervalRun_) {
        return;
    }
    intervalRun_.reset(); // waits for the replicates under way
    moveTo(FlowState::Results);
    emit intervalsFinished();
}

void Workflow::intervalsDone(std::shared_ptr<const BootstrapResult> result, const QString& failure) {
    // The run goes once its signal has returned; its thread has ended.
    intervalRun_.release()->deleteLater();
    moveTo(FlowState::Results);
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

bool Workflow::canSave() const {
    return results_ && shownRun_ && !intervalRun_ && !busy();
}

void Workflow::exportTable() {
    if (canSave()) {
        saving_.exportTable(*results_, shownRun_->gig, intervals_.get(), shownRun_->path);
    }
}

void Workflow::saveResultsAs() {
    if (canSave()) {
        saving_.saveResultsAs(*results_, shownRun_->path);
    }
}

void Workflow::saveIntervals() {
    if (canSave() && intervals_) {
        saving_.saveIntervals(*intervals_, *results_, shownRun_->path);
    }
}

} // namespace torrentix
