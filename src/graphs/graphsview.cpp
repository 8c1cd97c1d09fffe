#include "graphs/graphsview.h"

#include "base/text.h"
#include "graphs/displaytext.h"
#include "graphs/graphslayout.h"
#include "graphs/sampleinfolabel.h"
#include "graphs/scatterplot.h"
#include "metrics/catalogue.h"

#include <QLabel>
#include <QPushButton>

namespace torrentix {
namespace {

void setBold(QPushButton* button, bool bold) {
    QFont font = button->font();
    font.setBold(bold);
    button->setFont(font);
}

// A button caption shows an ampersand of a test-variable name as written.
QString buttonCaption(const QString& name) {
    QString caption = name;
    return caption.replace('&', QStringLiteral("&&"));
}

std::vector<std::optional<double>> numericValues(const std::vector<std::string>& texts) {
    std::vector<std::optional<double>> values;
    values.reserve(texts.size());
    for (const std::string& text : texts) {
        values.push_back(parseNumeric(text));
    }
    return values;
}

std::vector<std::string> testColumn(const SampleTable& table, std::size_t k) {
    std::vector<std::string> column;
    column.reserve(table.samples.size());
    for (const Sample& s : table.samples) {
        column.push_back(s.testval[k]);
    }
    return column;
}

} // namespace

GraphsView::GraphsView(QWidget* parent)
    : QWidget(parent), plot_(new ScatterPlot(this)), lblsit_(new SampleInfoLabel(this)),
      txtRegr_(new QLabel(this)), cmdsave_(new QPushButton(tr("Save image\u2026"), this)) {
    setObjectName("frame_gra");
    txtRegr_->setObjectName("txt_regr");
    txtRegr_->setTextFormat(Qt::PlainText);
    txtRegr_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtRegr_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const std::array<QString, 2> switchCaptions = {QStringLiteral("STAR"), QStringLiteral("GIG")};
    for (int k = 0; k < 2; ++k) {
        auto* button = new QPushButton(switchCaptions[static_cast<std::size_t>(k)], this);
        button->setObjectName(QStringLiteral("cmdswitch_%1").arg(k));
        connect(button, &QPushButton::clicked, this, [this, k] { cmdswitch_Click(k); });
        cmdswitch_[static_cast<std::size_t>(k)] = button;
    }
    for (int k = 0; k < 3; ++k) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("cmdtvar_%1").arg(k + 1));
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, k] { cmdtvar_Click(k); });
        cmdtvar_[static_cast<std::size_t>(k)] = button;
    }
    cmdsave_->setObjectName("cmdsave");
    cmdsave_->setEnabled(false);
    connect(cmdsave_, &QPushButton::clicked, plot_, &ScatterPlot::saveImageAs);
    connect(plot_, &ScatterPlot::pressed, this, &GraphsView::pick);
    connect(plot_, &ScatterPlot::released, lblsit_, &SampleInfoLabel::release);
    showButtonStates();
    applyLayout();
}

void GraphsView::fileRead(int gigindex) {
    gigIndexName_ = QString::fromStdString(gigShortName(gigindex)) + "_ICMi";
    cmdswitch_[1]->setText(QString::fromStdString(gigShortName(gigindex)));
    activeIndex_ = 0;
    firstgraph_ = true;
    showButtonStates();
}

void GraphsView::setResults(const RunResult& run) {
    const SampleTable& table = run.table;
    hasResults_ = !run.refused;
    labels_ = {};
    for (const Sample& s : table.samples) {
        labels_.codes.push_back(displayText(s.code, table.utf8));
        labels_.names.push_back(displayText(s.name, table.utf8));
    }
    for (std::size_t k = 0; k < 3; ++k) {
        testval_[k] = testColumn(table, k);
        testname_[k] = displayText(table.testname[k], table.utf8);
    }
    testcount_ = table.testcount;
    staricm_ = run.indices.staricm;
    gigicm_ = run.indices.gigicm;
    // The default pair: the STAR_ICMi against the first usable test variable, whose
    // regression the run holds. No test-variable button is active until the view chooses one.
    const int k = firstUsableTestVariable(testcount_);
    ploty_ = staricm_;
    plotx_ = k >= 0 ? testval_[static_cast<std::size_t>(k)] : std::vector<std::string>{};
    regression_ = k >= 0 ? run.starRegressions[static_cast<std::size_t>(k)] : std::nullopt;
    activeIndex_ = 0;
    activeTestVariable_ = -1;
    txtRegr_->clear();
    lblsit_->rest();
    showButtonStates();
    showPlot();
}

void GraphsView::enter() {
    if (!firstgraph_) {
        return; // the plot keeps its last drawing
    }
    firstgraph_ = false;
    const int k = firstUsableTestVariable(testcount_);
    if (hasResults_ && k >= 0) {
        activeTestVariable_ = k;
        plotx_ = testval_[static_cast<std::size_t>(k)];
        showButtonStates();
    }
    txtRegr_->clear();
    applyLayout();
    fagraf();
}

void GraphsView::cmdswitch_Click(int k) {
    if (!hasResults_ || k == activeIndex_) {
        return;
    }
    activeIndex_ = k;
    ploty_ = k == 0 ? staricm_ : gigicm_;
    showButtonStates();
    regress();
    fagraf();
}

void GraphsView::cmdtvar_Click(int k) {
    if (!hasResults_ || k == activeTestVariable_) {
        return;
    }
    activeTestVariable_ = k;
    plotx_ = testval_[static_cast<std::size_t>(k)];
    showButtonStates();
    regress();
    fagraf();
}

bool GraphsView::anyUsableTestVariable() const {
    return firstUsableTestVariable(testcount_) >= 0;
}

void GraphsView::regress() {
    if (!anyUsableTestVariable()) {
        return; // nothing to regress; the plot shows its axes only
    }
    regression_ = regrlin(plotx_, ploty_);
    if (!regression_->ok) {
        emit regressionFailed();
    }
}

// Draws the plot anew from the current pair and regression. The first test variable's
// name is upper-cased after each drawing, so its button shows it so from the next one on.
void GraphsView::fagraf() {
    showPlot();
    if (!hasResults_ || !anyUsableTestVariable()) {
        return;
    }
    const QString extras = currentExtras().text;
    txtRegr_->setText(regression_ && regression_->ok
                          ? regressionText(*regression_) + (extras.isEmpty() ? QString() : "\n\n" + extras)
                          : QString());
    testname_[0] = testname_[0].toUpper();
}

void GraphsView::showPlot() {
    for (std::size_t k = 0; k < 3; ++k) {
        cmdtvar_[k]->setText(buttonCaption(testname_[k]));
        cmdtvar_[k]->setEnabled(hasResults_ && testcount_[k] >= minimumTestValues);
    }
    PlotInput input;
    input.usable = hasResults_ && anyUsableTestVariable();
    if (input.usable) {
        input.x = numericValues(plotx_);
        input.y = ploty_;
        input.regression = regression_;
        input.yTitle = activeIndex_ == 0 ? QStringLiteral("STAR_ICMi") : gigIndexName_;
        // The run's default pair plots the first usable test variable.
        const int k = activeTestVariable_ >= 0 ? activeTestVariable_ : firstUsableTestVariable(testcount_);
        input.xTitle = testname_[static_cast<std::size_t>(k)] + tr(" (normalised)");
        input.band = currentExtras().band;
    }
    cmdsave_->setEnabled(input.usable);
    plot_->setInput(std::move(input));
}

PlotExtras GraphsView::currentExtras() const {
    return extras_ && hasResults_ && activeTestVariable_ >= 0 ? extras_(activeIndex_, activeTestVariable_)
                                                              : PlotExtras{};
}

void GraphsView::setPlotExtras(PlotExtrasSource source) {
    extras_ = std::move(source);
    if (!firstgraph_) {
        fagraf();
    }
}

void GraphsView::showButtonStates() {
    for (std::size_t k = 0; k < 2; ++k) {
        setBold(cmdswitch_[k], static_cast<int>(k) == activeIndex_);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        setBold(cmdtvar_[k], static_cast<int>(k) == activeTestVariable_);
    }
}

void GraphsView::pick(QPointF pointer) {
    const PlotInput& input = plot_->input();
    if (!input.usable) {
        return;
    }
    const auto hits = hitSamples(input, plot_->currentScale(), pointer);
    lblsit_->showHits(hitEntries(hits, labels_, input));
}

void GraphsView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyLayout();
}

void GraphsView::applyLayout() {
    const GraphsLayout layout = graphsLayout(size(), logicalDpiX(), logicalDpiY());
    plot_->setGeometry(layout.plot);
    for (std::size_t k = 0; k < 2; ++k) {
        cmdswitch_[k]->setGeometry(layout.cmdswitch[k]);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        cmdtvar_[k]->setGeometry(layout.cmdtvar[k]);
    }
    lblsit_->setGeometry(layout.lblsit);
    txtRegr_->setGeometry(layout.txtRegr);
    cmdsave_->setGeometry(layout.cmdsave);
}

} // namespace torrentix
