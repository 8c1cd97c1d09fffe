#pragma once
// A long computation that its user may stop from another thread (a window's "Cancel"): the
// engine looks at the request between blocks of work and stops by throwing Cancelled.
// Nothing is written once a computation has stopped.

#include "base/error.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <utility>

namespace torrentix {

class Cancelled : public Error {
  public:
    Cancelled() : Error("Stopped by the user.") {}
};

// Whether the user asked to stop: a flag set from another thread, or a question asked at
// every look (a test's request that says "stop" from its k-th look on). None: the
// computation cannot be stopped. Looks may come from several threads at once.
class StopRequest {
  public:
    StopRequest() = default;
    StopRequest(std::nullptr_t) {}
    StopRequest(const std::atomic<bool>* flag) : flag_(flag) {}
    explicit StopRequest(std::function<bool()> asked) : asked_(std::move(asked)) {}

    bool requested() const {
        return flag_ != nullptr ? flag_->load(std::memory_order_relaxed) : asked_ && asked_();
    }

  private:
    const std::atomic<bool>* flag_ = nullptr;
    std::function<bool()> asked_;
};

inline bool stopRequested(const StopRequest& stop) {
    return stop.requested();
}

inline void stopIfRequested(const StopRequest& stop) {
    if (stop.requested()) {
        throw Cancelled();
    }
}

} // namespace torrentix
