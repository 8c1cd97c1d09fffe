#include "app/intervalrun.h"

#include "graphs/displaytext.h"

#include <QMetaObject>

namespace torrentix {

IntervalRun::IntervalRun(SampleTable asRead, RunOptions options, std::shared_ptr<const RunResult> run,
                         QObject* parent)
    : QObject(parent), asRead_(std::move(asRead)), options_(std::move(options)), run_(std::move(run)) {
    thread_ = std::thread([this] { work(); });
}

IntervalRun::~IntervalRun() {
    cancel_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

void IntervalRun::work() {
    std::shared_ptr<const BootstrapResult> result;
    QString failure;
    try {
        BootstrapOptions options;
        options.replicates = replicates;
        options.stop = &cancel_;
        options.progress = [this](double fraction) { progress(fraction); };
        result = std::make_shared<BootstrapResult>(bootstrap(asRead_, options_, *run_, options));
    } catch (const Cancelled&) {
        // Stopped: neither intervals nor a failure to tell.
    } catch (const std::exception& e) {
        failure = anyText(e.what());
    }
    // Queued to this object: the call is dropped if the object goes first.
    QMetaObject::invokeMethod(
        this, [this, result, failure] { emit finished(result, failure); }, Qt::QueuedConnection);
}

// Called on the bootstrap's thread as replicates finish: only a new thousandth is passed on,
// so that the window's thread gets at most a thousand calls.
void IntervalRun::progress(double fraction) {
    if (shownSteps_.advance(fraction)) {
        QMetaObject::invokeMethod(
            this, [this, fraction] { emit progressed(fraction); }, Qt::QueuedConnection);
    }
}

} // namespace torrentix
