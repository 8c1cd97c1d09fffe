#pragma once
// A long computation that its user may stop from another thread (a window's "Cancel"): the
// engine looks at the request between blocks of work and stops by throwing Cancelled.
// Nothing is written once a computation has stopped.

#include "base/error.h"

#include <atomic>

namespace torrentix {

class Cancelled : public Error {
  public:
    Cancelled() : Error("Stopped by the user.") {}
};

// Set from another thread to stop; nullptr: the computation cannot be stopped.
using StopRequest = const std::atomic<bool>*;

inline bool stopRequested(StopRequest stop) {
    return stop != nullptr && stop->load(std::memory_order_relaxed);
}

inline void stopIfRequested(StopRequest stop) {
    if (stopRequested(stop)) {
        throw Cancelled();
    }
}

} // namespace torrentix
