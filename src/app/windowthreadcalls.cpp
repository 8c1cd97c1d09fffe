#include "app/windowthreadcalls.h"

namespace torrentix {

WindowThreadCalls::WindowThreadCalls() {
    connect(this, &WindowThreadCalls::posted, this, &WindowThreadCalls::runNext, Qt::QueuedConnection);
}

void WindowThreadCalls::post(std::function<void()> call) {
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    emit posted(QPrivateSignal());
}

// One call per notice, so that each runs in an event of its own; the call may end this
// object's owner, so nothing of it is touched afterwards.
void WindowThreadCalls::runNext() {
    std::function<void()> call;
    {
        std::lock_guard lock(mutex_);
        if (calls_.empty()) {
            return;
        }
        call = std::move(calls_.front());
        calls_.pop_front();
    }
    call();
}

} // namespace torrentix
