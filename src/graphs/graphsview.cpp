#include "graphs/graphsview.h"

#include "base/text.h"
#include "graphs/displaytext.h"
#include "graphs/graphslayout.h"
#include "graphs/sampleinfolabel.h"
#include "graphs/scatterplot.h"
#include "graphs/twips.h"
#include "metrics/catalogue.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace torrentix {
namespace {

const QString captionSeparator = QStringLiteral(" \u00b7 ");

// The chosen index and test variable show in bold type, and as checked to screen readers.
void showChosen(QPushButton* button, bool chosen) {
    QFont font = button->font();
    font.setBold(chosen);
    button->setFont(font);
    button->setChecked(chosen);
}

// A button caption shows an ampersand of a test-variable name as written.
QString buttonCaption(const QString& name) {
    QString caption = name;
    return caption.replace('&', QStringLiteral("&&"));
}

} // namespace

GraphsView::GraphsView(QWidget* parent)
    : QWidget(parent), plot_(new ScatterPlot(this)), sampleInfo_(new SampleInfoLabel(this)),
      txtRegr_(new QLabel(this)), cmdsave_(new QPushButton(tr("Save image\u2026"), this)) {
    setObjectName("graphsPanel");
    txtRegr_->setObjectName("regressionText");
    txtRegr_->setTextFormat(Qt::PlainText);
    txtRegr_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtRegr_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const std::array<QString, 2> switchCaptions = {QStringLiteral("STAR"), QStringLiteral("GIG")};
    for (int k = 0; k < 2; ++k) {
        auto* button = new QPushButton(switchCaptions[static_cast<std::size_t>(k)], this);
        button->setObjectName(QStringLiteral("indexButton_%1").arg(k));
        button->setCheckable(true);
        connect(button, &QPushButton::clicked, this, [this, k] {
            indexButtonClick(k);
            showButtonStates(); // a click on the chosen button leaves it chosen
        });
        indexButtons_[static_cast<std::size_t>(k)] = button;
    }
    for (int k = 0; k < 3; ++k) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("testVariableButton_%1").arg(k + 1));
        button->setEnabled(false);
        button->setCheckable(true);
        connect(button, &QPushButton::clicked, this, [this, k] {
            testVariableButtonClick(k);
            showButtonStates();
        });
        testVariableButtons_[static_cast<std::size_t>(k)] = button;
    }
    cmdsave_->setObjectName("cmdsave");
    cmdsave_->setEnabled(false);
    connect(cmdsave_, &QPushButton::clicked, plot_, &ScatterPlot::saveImageAs);
    connect(plot_, &ScatterPlot::pressed, this, &GraphsView::pick);
    connect(plot_, &ScatterPlot::stepped, this, &GraphsView::pick);
    plot_->setSampleNames([this](std::size_t i) { return sampleLabel(i); });
    connect(plot_, &ScatterPlot::released, sampleInfo_, &SampleInfoLabel::release);
    showButtonStates();
    applyLayout();
}

void GraphsView::fileRead(Gig gig, RiverType type, const QString& sampleFile) {
    const QFileInfo file(sampleFile);
    runCaption_ = QStringList({file.fileName(), QString::fromUtf8(gigInfo(gig).caption),
                               QString::fromStdString(typeCode(gig, type))})
                      .join(captionSeparator);
    plot_->setImageFolder(sampleFile.isEmpty() ? QString() : file.absolutePath());
    gigIndexName_ = QString::fromStdString(gigShortName(gig)) + "_ICMi";
    indexButtons_[1]->setText(QString::fromStdString(gigShortName(gig)));
    activeIndex_ = 0;
    firstPlot_ = true;
    showButtonStates();
}

void GraphsView::setResults(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
    const SampleTable& table = run_->table;
    hasResults_ = !run_->refused;
    for (std::size_t k = 0; k < 3; ++k) {
        testVariableNames_[k] = displayText(table.testVariableNames[k], table.utf8);
    }
    numericTestValueCounts_ = table.numericTestValueCounts;
    // The default pair: the STAR_ICMi against the first usable test variable, whose
    // regression the run holds. No test-variable button is active until the view chooses one.
    const int k = firstUsableTestVariable(numericTestValueCounts_);
    plotTestVariable(k);
    regression_ = k >= 0 ? run_->starRegressions[static_cast<std::size_t>(k)] : std::nullopt;
    activeIndex_ = 0;
    activeTestVariable_ = -1;
    txtRegr_->clear();
    sampleInfo_->rest();
    showButtonStates();
    showPlot();
}

QString GraphsView::sampleLabel(std::size_t sample) const {
    if (!run_ || sample >= run_->table.samples.size()) {
        return QStringLiteral(" - ");
    }
    const Sample& s = run_->table.samples[sample];
    return displayText(s.code, run_->table.utf8) + " - " + displayText(s.name, run_->table.utf8);
}

// Plots test variable k (-1: none): its values as read, parsed once for the regression and
// the drawing alike (nullopt where a text is not a number).
void GraphsView::plotTestVariable(int k) {
    plotX_.clear();
    if (!run_ || k < 0) {
        return;
    }
    plotX_.reserve(run_->table.samples.size());
    for (const Sample& s : run_->table.samples) {
        plotX_.push_back(parseNumeric(s.testValueTexts[static_cast<std::size_t>(k)]));
    }
}

const std::vector<double>& GraphsView::plotIndexValues() const {
    return activeIndex_ == 0 ? run_->indices.staricm : run_->indices.gigicm;
}

void GraphsView::enter() {
    if (!firstPlot_) {
        return; // the plot keeps its last drawing
    }
    firstPlot_ = false;
    const int k = firstUsableTestVariable(numericTestValueCounts_);
    if (hasResults_ && k >= 0) {
        activeTestVariable_ = k;
        plotTestVariable(k);
        showButtonStates();
    }
    txtRegr_->clear();
    applyLayout();
    redrawPlot();
}

void GraphsView::indexButtonClick(int k) {
    if (hasResults_ && k != activeIndex_) {
        activeIndex_ = k;
        replot();
    }
}

void GraphsView::testVariableButtonClick(int k) {
    if (hasResults_ && k != activeTestVariable_) {
        activeTestVariable_ = k;
        plotTestVariable(k);
        replot();
    }
}

// Another pair chosen: the buttons show it, and it is regressed and drawn.
void GraphsView::replot() {
    showButtonStates();
    regress();
    redrawPlot();
}

bool GraphsView::anyUsableTestVariable() const {
    return firstUsableTestVariable(numericTestValueCounts_) >= 0;
}

void GraphsView::regress() {
    if (!anyUsableTestVariable()) {
        return; // nothing to regress; the plot shows its axes only
    }
    regression_ = fitLine(plotX_, plotIndexValues());
    if (!regression_->ok) {
        emit regressionFailed();
    }
}

// Draws the plot anew from the current pair and regression. The first test variable's
// name is upper-cased after each drawing, so its button shows it so from the next one on.
void GraphsView::redrawPlot() {
    showPlot();
    if (!hasResults_ || !anyUsableTestVariable()) {
        return;
    }
    const QString extras = currentExtras().text;
    txtRegr_->setText(regression_ && regression_->ok
                          ? regressionText(*regression_) + (extras.isEmpty() ? QString() : "\n\n" + extras)
                          : QString());
    testVariableNames_[0] = testVariableNames_[0].toUpper();
}

void GraphsView::showPlot() {
    for (std::size_t k = 0; k < 3; ++k) {
        testVariableButtons_[k]->setText(buttonCaption(testVariableNames_[k]));
        testVariableButtons_[k]->setEnabled(hasResults_ && numericTestValueCounts_[k] >= minimumTestValues);
    }
    PlotInput input;
    input.usable = hasResults_ && anyUsableTestVariable();
    if (input.usable) {
        input.x = plotX_;
        input.y = plotIndexValues();
        input.regression = regression_;
        input.yTitle = activeIndex_ == 0 ? QStringLiteral("STAR_ICMi") : gigIndexName_;
        // The run's default pair plots the first usable test variable.
        const int k =
            activeTestVariable_ >= 0 ? activeTestVariable_ : firstUsableTestVariable(numericTestValueCounts_);
        input.xTitle = testVariableNames_[static_cast<std::size_t>(k)] + tr(" (normalised)");
        input.band = currentExtras().band;
        input.caption = figureCaption(input);
    }
    cmdsave_->setEnabled(input.usable);
    plot_->setInput(std::move(input));
}

QString GraphsView::figureCaption(const PlotInput& input) const {
    const QString pair = input.yTitle + tr(" against ") + input.xTitle;
    return runCaption_.isEmpty() ? pair : runCaption_ + captionSeparator + pair;
}

PlotExtras GraphsView::currentExtras() const {
    return extras_ && hasResults_ && activeTestVariable_ >= 0 ? extras_(activeIndex_, activeTestVariable_)
                                                              : PlotExtras{};
}

void GraphsView::setPlotExtras(PlotExtrasSource source) {
    extras_ = std::move(source);
    if (!firstPlot_) {
        redrawPlot();
    }
}

void GraphsView::showButtonStates() {
    for (std::size_t k = 0; k < 2; ++k) {
        showChosen(indexButtons_[k], static_cast<int>(k) == activeIndex_);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        showChosen(testVariableButtons_[k], static_cast<int>(k) == activeTestVariable_);
    }
}

void GraphsView::pick(QPointF pointer) {
    const PlotInput& input = plot_->input();
    if (!input.usable) {
        return;
    }
    const auto hits = hitSamples(input, plot_->currentScale(), pointer);
    sampleInfo_->showHits(hitEntries(
        hits, [this](std::size_t i) { return sampleLabel(i); }, input));
}

void GraphsView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyLayout();
}

void GraphsView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyLayout();
    }
}

void GraphsView::applyLayout() {
    const GraphsLayout layout = graphsLayout(size(), logicalDpiX(), logicalDpiY(), textScaleOf(*this));
    plot_->setGeometry(layout.plot);
    for (std::size_t k = 0; k < 2; ++k) {
        indexButtons_[k]->setGeometry(layout.indexButtons[k]);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        testVariableButtons_[k]->setGeometry(layout.testVariableButtons[k]);
    }
    sampleInfo_->setGeometry(layout.sampleInfo);
    txtRegr_->setGeometry(layout.txtRegr);
    cmdsave_->setGeometry(layout.cmdsave);
}

} // namespace torrentix
