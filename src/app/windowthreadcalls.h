#pragma once
// Calls that work on other threads hands to the window's thread: run there one after the
// other, in the order they were handed over, and dropped when the object goes first. A
// call waits in a queue under this object's own lock, and Qt is only told that one is
// waiting: the call and its data never pass through Qt's own hand-over between threads,
// which ThreadSanitizer cannot follow (Qt is not built with it), so the order it checks is
// the program's own.

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

namespace torrentix {

class WindowThreadCalls : public QObject {
    Q_OBJECT
  public:
    // Made on the window's thread, whose calls it runs.
    WindowThreadCalls();

    // From any thread.
    void post(std::function<void()> call);

  signals:
    void posted(QPrivateSignal);

  private:
    void runNext();

    std::mutex mutex_;
    std::deque<std::function<void()>> calls_;
};

} // namespace torrentix
