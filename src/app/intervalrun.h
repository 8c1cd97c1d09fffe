#pragma once
// The bootstrap confidence intervals of a run, computed on a thread of their own so that
// the window keeps painting and its Cancel button answers. The engine reports progress
// from its worker threads; progress and the end reach the window's thread as queued calls
// (app/windowthreadcalls), dropped if the run goes first.

#include "app/thousandthsteps.h"
#include "app/windowthreadcalls.h"
#include "run/bootstrap.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

namespace torrentix {

class IntervalRun : public QObject {
    Q_OBJECT
  public:
    static constexpr int replicates = 1000;

    // Starts at once. `asRead` is the sample table as read, before the run normalised its
    // test values; the run keeps its own copies of what it reads.
    IntervalRun(SampleTable asRead, RunOptions options, std::shared_ptr<const RunResult> run,
                QObject* parent = nullptr);
    // Cancels and waits for the thread: nothing outlives the object.
    ~IntervalRun() override;
    IntervalRun(const IntervalRun&) = delete;
    IntervalRun& operator=(const IntervalRun&) = delete;

    // Asks the engine to stop after the replicates (or blocks of intervals) under way.
    void cancel() { cancel_ = true; }

  signals:
    void progressed(double fraction);
    // The intervals, or none when cancelled or failed (`failure` then says why, if it failed).
    void finished(std::shared_ptr<const BootstrapResult> result, const QString& failure);

  private:
    void work();
    void progress(double fraction);

    const SampleTable asRead_;
    const RunOptions options_;
    const std::shared_ptr<const RunResult> run_;
    std::atomic<bool> cancel_{false};
    ThousandthSteps shownSteps_{0}; // thousandths of the progress already reported
    WindowThreadCalls calls_;
    std::thread thread_;
};

} // namespace torrentix
