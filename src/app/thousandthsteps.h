#pragma once
// Progress told from worker threads, passed on to the window's thread only when it has moved
// by a thousandth: the window gets at most a thousand calls however often it is told.

#include <atomic>
#include <cmath>

namespace torrentix {

class ThousandthSteps {
  public:
    // `shown`: the thousandths already shown (-1: not even the start).
    explicit ThousandthSteps(int shown = -1) : shown_(shown) {}
    void reset(int shown = -1) { shown_ = shown; }
    // True for the one caller whose fraction reaches a new thousandth; may be called from
    // any thread.
    bool advance(double fraction) {
        const int steps = static_cast<int>(std::lround(fraction * 1000.0));
        int shown = shown_.load();
        while (steps > shown) {
            if (shown_.compare_exchange_weak(shown, steps)) {
                return true;
            }
        }
        return false;
    }

  private:
    std::atomic<int> shown_;
};

} // namespace torrentix
