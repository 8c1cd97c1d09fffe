#include "app/backgroundjob.h"

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
        calls_.post([this, done] {
            wait();
            done();
        });
    });
}

void BackgroundJob::report(double fraction) {
    if (shownSteps_.advance(fraction)) {
        calls_.post([this, fraction] { emit progressed(fraction); });
    }
}

// The call waits for the window's thread; the work looks every 50 ms whether it was
// stopped meanwhile, and then leaves without an answer unless the call has begun.
void BackgroundJob::runOnWindowThread(const std::function<void()>& call) {
    using State = PendingCall::State;
    auto pending = std::make_shared<PendingCall>();
    calls_.post([this, pending, call] {
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
    });
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
