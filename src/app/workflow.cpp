// The choices of the START view: GIG, river type, test-variable options, the step
// prompt, the "<-- back" action and the tab guards.
#include "app/workflow.h"

#include "app/intervalrun.h"
#include "base/text.h"
#include "graphs/displaytext.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace torrentix {
namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

Workflow::Workflow(const TaxaDatabase& taxa, const TaxaTree& tree, UserDialogs& dialogs,
                   TaxonQuestion askTaxon, QObject* parent)
    : QObject(parent), taxa_(taxa), tree_(tree), dialogs_(dialogs), askTaxon_(std::move(askTaxon)) {
    for (int i = 0; i < optionRowCount; ++i) {
        rows_[static_cast<std::size_t>(i)].label = QStringLiteral("Test Var %1").arg(i + 1);
    }
    connect(job_.get(), &BackgroundJob::progressed, this, &Workflow::progressed);
    refreshPrompt();
}

Workflow::~Workflow() = default;

QString Workflow::gigCaption(int g) {
    return fromView(gigInfo(gigOf(g)).caption);
}

QString Workflow::gigTooltip(int g) {
    return QStringLiteral("Press mouse right button to view ") + gigCaption(g) +
           QStringLiteral(" GIG metrics (or, from the keyboard, the Menu key or Shift+F10)");
}

QString Workflow::riverTypeCaption(int t) const {
    return riverTypeVisible(t) ? QString::fromStdString(typeCaption(gig_, t)) : QString();
}

void Workflow::keepSettingsIn(QSettings* settings) {
    recent_.keepIn(settings);
    kept_.keepIn(settings);
    takeKeptChoices();
}

// The GIG, river type and bootstrap tick of the last session, as if chosen again.
void Workflow::takeKeptChoices() {
    const Choices& kept = kept_.choices();
    intervalsWanted_ = kept.intervals;
    if (kept.gig && kept.riverType && state_ == FlowState::Start) {
        gig_ = *kept.gig;
        selectedGig_ = gig_;
        riverTypeCount_ = gigInfo(gig_).riverTypeCount;
        selectedType_ = *kept.riverType;
        riverType_ = *kept.riverType;
    }
    refreshPrompt();
}

void Workflow::openWhenPossible(const QString& path) {
    waitingFile_ = path;
    openWaitingFile();
}

void Workflow::openWaitingFile() {
    if (waitingFile_.isEmpty() || !canOpenFile()) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, path = std::exchange(waitingFile_, {})] {
            if (canOpenFile()) {
                openSampleFile(path, false);
            }
        },
        Qt::QueuedConnection);
}

QString Workflow::gigtypeLabel() const {
    return shownRun_ ? QString::fromStdString(typeCaption(shownRun_->gig, shownRun_->type)).left(4)
                     : QString();
}

void Workflow::gigClick(int index, bool keepFocus) {
    if (busy()) {
        return;
    }
    if (index < 0 || index >= gigCount) {
        return;
    }
    if (!keepFocus) {
        emit focusTab(StartTab);
    }
    gig_ = gigOf(index);
    selectedGig_ = gig_;
    riverTypeCount_ = gigInfo(gig_).riverTypeCount;
    selectedType_.reset();
    refreshPrompt();
}

void Workflow::riverTypeClick(int index, bool keepFocus) {
    if (busy()) {
        return;
    }
    if (!riverTypeVisible(index)) {
        return;
    }
    if (!keepFocus) {
        emit focusTab(StartTab);
    }
    selectedType_ = index;
    riverType_ = index;
    kept_.setRiverType(gig_, index);
    okEnabled_ = true;
    refreshPrompt();
    openWaitingFile();
}

void Workflow::gigMouseDown(int index, bool rightButton) {
    gigMetricsHeld_ = false;
    if (rightButton && index >= 0 && index < gigCount && state_ != FlowState::Options) {
        metricFrameCaption_ = gigCaption(index) + QStringLiteral(" GIG metrics");
        metricText_ = screenLines(metricDescription(gigOf(index)));
        gigMetricsHeld_ = true;
    }
    emit changed();
}

void Workflow::gigMouseUp() {
    gigMetricsHeld_ = false;
    emit changed();
}

bool Workflow::moveTo(FlowState to) {
    if (!allowedMove(state_, to)) {
        return false;
    }
    state_ = to;
    gigMetricsHeld_ = false;
    waitingForOk_ = waitingForOk_ && to == FlowState::Options;
    refreshPrompt();
    return true;
}

QString Workflow::activity() const {
    switch (state_) {
    case FlowState::Reading:
        return QStringLiteral("Reading ") + QFileInfo(lastChosen_).fileName() + QStringLiteral(" ...");
    case FlowState::Running:
        return QStringLiteral("Computing ") + QFileInfo(inputPath_).fileName() + QStringLiteral(" ...");
    case FlowState::Intervals:
        return QStringLiteral("Computing confidence intervals ...");
    default:
        return {};
    }
}

void Workflow::refreshPrompt() {
    if (const QString doing = activity(); !doing.isEmpty()) {
        prompt_ = doing;
        okEnabled_ = false;
    } else if (state_ == FlowState::Question) {
        prompt_.clear();
        okEnabled_ = false;
    } else if (state_ == FlowState::Options) {
        prompt_ = waitingForOk_ ? QStringLiteral("For GIG %1, river type %2: set the options and press OK")
                                      .arg(gigCaption(gig_), riverTypeCaption(riverType_).left(4))
                                : QStringLiteral("Set options and/or minimum value(s) for normalisation of "
                                                 "test variables");
        okEnabled_ = std::none_of(rows_.begin(), rows_.end(),
                                  [](const OptionRow& r) { return !r.minError.isEmpty(); });
    } else if (!selectedGig_) {
        prompt_ = QStringLiteral("Choose a GIG.....");
        okEnabled_ = false;
    } else if (selectedType_ && *selectedType_ < riverTypeCount_) {
        prompt_ = QStringLiteral("Press OK to open a file");
        okEnabled_ = true;
    } else {
        prompt_ = QStringLiteral("Choose a River Type.....");
        okEnabled_ = false;
    }
    emit changed();
}

void Workflow::backClick() {
    if (state_ == FlowState::Options) {
        moveTo(idle());
    }
}

void Workflow::observedMinClick(int i, bool ticked) {
    if (i < 0 || i >= optionRowCount) {
        return;
    }
    OptionRow& r = rows_[static_cast<std::size_t>(i)];
    r.observed = ticked;
    if (ticked) {
        r.minText.clear();
        r.minEnabled = false;
    } else {
        r.minText = QStringLiteral("0");
        r.minEnabled = r.enabled; // a row without a usable test variable stays locked
    }
    r.minError.clear();
    refreshPrompt();
}

// While the user types, "-", "0," or "1e" are steps towards a number: the text is taken
// as typed and judged when the field is left.
void Workflow::minValueChange(int i, const QString& text) {
    if (i >= 0 && i < optionRowCount) {
        rows_[static_cast<std::size_t>(i)].minText = text;
    }
}

// An empty field means 0 and a decimal comma a decimal point; any other text that is not
// a number stays as typed, marked, and "OK" waits until it is mended.
void Workflow::minValueLeft(int i) {
    if (i < 0 || i >= optionRowCount) {
        return;
    }
    OptionRow& r = rows_[static_cast<std::size_t>(i)];
    if (!r.minEnabled) {
        return;
    }
    QString text = r.minText.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    if (text.isEmpty()) {
        text = QStringLiteral("0");
    }
    if (isNumeric(text.toStdString())) {
        r.minText = text;
        r.minError.clear();
        r.observed = false;
    } else {
        r.minError = QStringLiteral("not a number");
    }
    refreshPrompt();
}

bool Workflow::checkMinValues() {
    for (int i = 0; i < optionRowCount; ++i) {
        minValueLeft(i);
    }
    return okEnabled_;
}

void Workflow::biologicalClick(int i, bool ticked) {
    if (i < 0 || i >= optionRowCount) {
        return;
    }
    rows_[static_cast<std::size_t>(i)].biological = ticked;
    emit changed();
}

bool Workflow::canOpenFile() const {
    return allowedMove(state_, FlowState::Reading) && okEnabled_;
}

QString Workflow::runAgainFile() const {
    return shownRun_ && state_ != FlowState::Options ? inputPath_ : QString();
}

void Workflow::openRecent(const QString& path) {
    if (canOpenFile() && !path.isEmpty()) {
        openSampleFile(path);
    }
}

void Workflow::runAgain() {
    openRecent(runAgainFile());
}

QString Workflow::viewsCaption() const {
    if (!shownRun_) {
        return {};
    }
    const QString dot = QStringLiteral(" \u00B7 ");
    const RunDescription& run = *shownRun_;
    const QString shown = QFileInfo(run.path).fileName() + dot + gigCaption(run.gig) + dot +
                          QString::fromStdString(typeCaption(run.gig, run.type)).left(4);
    QStringList now{QFileInfo(inputPath_).fileName()};
    if (selectedGig_) {
        now << gigCaption(*selectedGig_);
    }
    if (selectedType_ && *selectedType_ < riverTypeCount_) {
        now << riverTypeCaption(*selectedType_).left(4);
    }
    const QString chosen = now.join(dot);
    if (!notReplaced_.isEmpty()) {
        return QStringLiteral("Results of ") + shown + QStringLiteral("\n(not replaced: ") + notReplaced_ +
               ")";
    }
    if (!readSinceRun_ && chosen == shown) {
        return QStringLiteral("Results of ") + shown;
    }
    return QStringLiteral("Results of ") + shown + QStringLiteral("\n(not computed yet: ") + chosen + ")";
}

void Workflow::activate() {
    if (noResults()) {
        showView(StartTab);
    }
}

void Workflow::showStart() {
    currentView_ = StartTab;
    emit viewChanged(StartTab);
    refreshPrompt();
}

void Workflow::showView(int index) {
    if (busy() || index == currentView_ || index < StartTab || index > GraphsTab) {
        return;
    }
    if (index == StartTab) {
        emit focusTab(StartTab);
        showStart();
        return;
    }
    if (noResults()) {
        showView(StartTab);
        emit focusTab(StartTab);
        return;
    }
    if (index == GraphsTab) {
        const SampleTable& t = results_->table;
        if (!isUsableTestVariable(t, 0) && !isUsableTestVariable(t, 1) && !isUsableTestVariable(t, 2)) {
            showView(ResultsTab);
            emit focusTab(ResultsTab);
            return;
        }
    }
    emit focusTab(index);
    currentView_ = index;
    prompt_.clear();
    emit viewChanged(index);
    emit changed();
}

} // namespace torrentix
