#pragma once
// Work of the engine on a thread of its own, so that the window keeps painting and its
// "Cancel" answers at once. Questions the work must put to the user are asked on the
// window's thread while the work waits for the answer; a stop ends the wait. The end of
// the work reaches the window's thread as a queued call, dropped if the job is gone
// (app/windowthreadcalls).

#include "app/thousandthsteps.h"
#include "app/windowthreadcalls.h"
#include "base/cancel.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace torrentix {

class BackgroundJob : public QObject {
    Q_OBJECT
  public:
    explicit BackgroundJob(QObject* parent = nullptr) : QObject(parent) {}
    // Stops the work and waits for its thread: nothing outlives the job.
    ~BackgroundJob() override;
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Starts `work` on a new thread; once it has returned, `done` runs on the window's
    // thread. `work` catches its own failures and tells them to `done`. A job runs one work
    // at a time.
    void start(std::function<void()> work, std::function<void()> done);
    bool running() const { return thread_.joinable(); }
    // Asks the work to stop; may be called from any thread.
    void cancel() { stop_ = true; }
    bool cancelled() const { return stop_; }
    StopRequest stop() const { return &stop_; }
    // A question of the work is open on the window's thread.
    bool asking() const { return asking_ > 0; }
    // Waits until the work has returned; its `done` still comes as a queued call.
    void wait() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // From the work: runs `question` on the window's thread and returns its answer, or
    // throws Cancelled once a stop is asked while it waits.
    template <class T> T ask(std::function<T()> question);
    // From the work: the fraction done, passed on only when it moved by a thousandth.
    void report(double fraction);
    // From the work: runs `call` on the window's thread after the calls handed over before
    // it; dropped if the job goes first.
    void onWindowThread(std::function<void()> call) { calls_.post(std::move(call)); }

  signals:
    void progressed(double fraction);

  private:
    // Runs `call` on the window's thread unless the job is stopped first; waits for it.
    void runOnWindowThread(const std::function<void()>& call);

    std::atomic<bool> stop_{false};
    ThousandthSteps shownSteps_;
    std::atomic<int> asking_{0};
    WindowThreadCalls calls_;
    std::thread thread_;
};

template <class T> T BackgroundJob::ask(std::function<T()> question) {
    std::optional<T> answer;
    runOnWindowThread([&] { answer = question(); });
    return std::move(*answer);
}

} // namespace torrentix
