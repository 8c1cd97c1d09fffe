#include "app/backgroundjob.h"

#include <QMetaObject>

namespace torrentix {
namespace {

// What the work and the window's thread share while a question is open. A question
// still waiting when the work is stopped is abandoned: it never runs. One that runs is
// waited for, since it answers into the work's own variables.
struct PendingCall {
    enum class State { Waiting, Running, Done, Abandoned };
    std::mutex mutex;
    std::condition_variable answered;
    State state = State::Waiting;
    std::exception_ptr failure;
};

} // namespace

BackgroundJob::~BackgroundJob() {
    stop_ = true;
    wait();
}

void BackgroundJob::start(std::function<void()> work, std::function<void()> done) {
    wait();
    stop_ = false;
    shownSteps_.reset();
    thread_ = std::thread([this, work = std::move(work), done = std::move(done)] {
        work();
        QMetaObject::invokeMethod(
            this,
            [this, done] {
                wait();
                done();
            },
            Qt::QueuedConnection);
    });
}

void BackgroundJob::report(double fraction) {
    if (shownSteps_.advance(fraction)) {
        QMetaObject::invokeMethod(
            this, [this, fraction] { emit progressed(fraction); }, Qt::QueuedConnection);
    }
}

// The call waits in the window's event queue; the work looks every 50 ms whether it was
// stopped meanwhile, and then leaves without an answer unless the call has begun.
void BackgroundJob::runOnWindowThread(const std::function<void()>& call) {
    using State = PendingCall::State;
    auto pending = std::make_shared<PendingCall>();
    QMetaObject::invokeMethod(
        this,
        [this, pending, call] {
            {
                std::lock_guard lock(pending->mutex);
                if (pending->state != State::Waiting) {
                    return;
                }
                pending->state = State::Running;
            }
            std::exception_ptr failure;
            ++asking_;
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
            --asking_;
            std::lock_guard lock(pending->mutex);
            pending->failure = failure;
            pending->state = State::Done;
            pending->answered.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(pending->mutex);
    while (!pending->answered.wait_for(lock, std::chrono::milliseconds(50),
                                       [&] { return pending->state == State::Done; })) {
        if (pending->state == State::Waiting && stopRequested(stop())) {
            pending->state = State::Abandoned;
            throw Cancelled();
        }
    }
    if (pending->failure) {
        std::rethrow_exception(pending->failure);
    }
}

} // namespace torrentix
