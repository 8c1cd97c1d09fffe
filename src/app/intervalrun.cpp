#include "app/intervalrun.h"

#include "graphs/displaytext.h"

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
    calls_.post([this, result, failure] { emit finished(result, failure); });
}

// Called on the bootstrap's thread as replicates finish: only a new thousandth is passed on,
// so that the window's thread gets at most a thousand calls.
void IntervalRun::progress(double fraction) {
    if (shownSteps_.advance(fraction)) {
        calls_.post([this, fraction] { emit progressed(fraction); });
    }
}

} // namespace torrentix
