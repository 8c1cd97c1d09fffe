#include "app/resultspanel.h"

#include "app/captionlines.h"
#include "app/reportbox.h"
#include "graphs/classhistogram.h"
#include "graphs/colourscheme.h"
#include "graphs/resultslist.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace torrentix {

ResultsPanel::ResultsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("resultsPanel"));
    list_ = new ResultsList(this);
    report_ = new ReportBox(this);
    histogramCaption_ = new QLabel(QStringLiteral("Sample Classification"), this);
    histogramCaption_->setObjectName(QStringLiteral("histogramLabel"));
    histogramCaption_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    histogram_ = new ClassHistogram(this);
    export_ = new QPushButton(QStringLiteral("Export table\u2026"), this);
    export_->setObjectName(QStringLiteral("cmdexport"));
    export_->setToolTip(QStringLiteral("Save the samples' metrics, indices and test variables as a "
                                       "tab- or comma-separated table"));
    saveResults_ = new QPushButton(QStringLiteral("Save results as\u2026"), this);
    saveResults_->setObjectName(QStringLiteral("cmdsaveresults"));
    saveResults_->setToolTip(QStringLiteral("Save the results file of this run in another place"));
    saveIntervals_ = new QPushButton(QStringLiteral("Save intervals\u2026"), this);
    saveIntervals_->setObjectName(QStringLiteral("cmdsaveintervals"));
    saveIntervals_->setToolTip(QStringLiteral("Save the 95 % confidence intervals of the samples and of the "
                                              "regressions as two tables"));
    saveIntervals_->hide();
    intervals_ = new QCheckBox(QStringLiteral("95 % intervals of the indices"), this);
    intervals_->setObjectName(QStringLiteral("chk_intervalcolumns"));
    intervals_->setChecked(true);
    intervals_->hide();
}

void ResultsPanel::relayout(const Twips& twips, const ResultsLayout& layout) {
    list_->setGeometry(twips.px(layout.list));
    export_->setGeometry(twips.px(layout.exportTable));
    saveResults_->setGeometry(twips.px(layout.saveResults));
    saveIntervals_->setGeometry(twips.px(layout.saveIntervals));
    intervals_->setGeometry(twips.px(layout.intervals));
    report_->setGeometry(twips.px(layout.report));
    histogramCaption_->setGeometry(twips.px(layout.histogramCaption));
    histogram_->setGeometry(twips.px(layout.histogram));
}

WaitPanel::WaitPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("waitPanel"));
    setAutoFillBackground(true);
    const ColourPair colours = screenColours(this->palette()).notice;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colours.background);
    palette.setColor(QPalette::WindowText, colours.text);
    setPalette(palette);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    title_ = new QLabel(QStringLiteral("Please, wait..."));
    title_->setObjectName(QStringLiteral("lbl_wait"));
    title_->setAlignment(Qt::AlignCenter);
    setTitleFont();
    stage_ = new QLabel;
    stage_->setObjectName(QStringLiteral("lbl_stage"));
    stage_->setAlignment(Qt::AlignCenter);
    bar_ = new QProgressBar;
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setRange(0, steps);
    bar_->setTextVisible(false);
    bar_->setAccessibleName(QStringLiteral("Progress"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"));
    cancel_->setObjectName(QStringLiteral("cmdcancelrun"));
    cancel_->setToolTip(QStringLiteral("Stop this computation: the results shown before stay"));
    connect(cancel_, &QPushButton::clicked, this, &WaitPanel::cancelRequested);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(title_);
    layout->addWidget(stage_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    hide();
}

// "Please, wait..." stands out: bold and larger than the panel's text, which it follows.
void WaitPanel::setTitleFont() {
    title_->setFont(standingOutFont(font(), 1.3));
}

void WaitPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        setTitleFont();
    }
}

void WaitPanel::start() {
    bar_->setValue(0);
    stage_->clear();
    show();
    raise();
    cancel_->setFocus();
}

void WaitPanel::setStage(const QString& text) {
    stage_->setText(text);
    bar_->setAccessibleDescription(text);
}

void WaitPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        emit cancelRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool WaitPanel::setFraction(double fraction) {
    const int value = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * steps));
    if (value == bar_->value()) {
        return false;
    }
    bar_->setValue(value);
    return true;
}

int WaitPanel::value() const {
    return bar_->value();
}

} // namespace torrentix
