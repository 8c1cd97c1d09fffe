#include "app/mainwindow.h"

#include "app/cancellablewait.h"
#include "app/captionlines.h"
#include "app/contextmenukey.h"
#include "app/elidedlabel.h"
#include "app/intervalviews.h"
#include "app/layout.h"
#include "app/qtdialogs.h"
#include "app/reportbox.h"
#include "app/resultspanel.h"
#include "app/startpanel.h"
#include "app/taxamapeditor.h"
#include "app/taxamapfile.h"
#include "app/taxondialog.h"
#include "app/workflow.h"
#include "graphs/classhistogram.h"
#include "graphs/colourscheme.h"
#include "graphs/graphslayout.h"
#include "graphs/graphsview.h"
#include "graphs/resultslist.h"
#include "graphs/twips.h"
#include "index/regression.h"
#include "report/resultsfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace torrentix {
namespace {

const std::array<const char*, 3> tabCaptions = {"START", "RESULTS", "GRAPHS"};

} // namespace

QString windowCaption() {
    return QStringLiteral("  Torrentix ") +
           QString::fromLatin1(programVersion.data(), static_cast<qsizetype>(programVersion.size())) +
           QStringLiteral(
               " beta  -  Intercalibration Common Metrics of river invertebrates, free software (MIT)");
}

MainWindow::MainWindow(const TaxaDatabase& taxa, UserDialogs* dialogs, QSettings* settings, QWidget* parent)
    : QMainWindow(parent), ownDialogs_(dialogs == nullptr ? std::make_unique<QtDialogs>(this) : nullptr),
      dialogs_(dialogs == nullptr ? *ownDialogs_ : *dialogs), taxa_(taxa),
      tree_(buildTaxaTree(taxa.records())) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(windowCaption());
    form3_ = new TaxonDialog(tree_, taxa_.records(), this);
    workflow_ = new Workflow(
        taxa_, tree_, dialogs_,
        [this](const UnknownTaxonQuestion& q) {
            const UnknownTaxonAnswer answer = form3_->ask(q);
            return TaxonChoice(answer, form3_->remember(), form3_->dictionaryForRemaining());
        },
        this);
    workflow_->keepSettingsIn(settings);
    workflow_->useTaxaMap(defaultTaxaMapPath());

    auto* central = new QWidget(this);
    setCentralWidget(central);
    buildTopRow(central);
    start_ = new StartPanel(*workflow_, central);
    results_ = new ResultsPanel(central);
    graphs_ = new GraphsView(central);
    bootstrapBand_ = new QCheckBox(QStringLiteral("Bootstrap band (95 %)"), graphs_);
    bootstrapBand_->setObjectName(QStringLiteral("chk_band"));
    bootstrapBand_->setToolTip(
        QStringLiteral("Draw the 2.5th and 97.5th percentiles of the lines fitted in the "
                       "bootstrap replicates instead of the regression's band"));
    bootstrapBand_->hide();
    connect(bootstrapBand_, &QCheckBox::toggled, this, &MainWindow::showPlotExtras);
    wait_ = new WaitPanel(central);
    intervalsWait_ = new CancellableWait(
        QStringLiteral("Computing the confidence intervals (bootstrap, 1,000 replicates) ..."), this);
    connect(start_, &StartPanel::panelClicked, this, [this] { tabs_[0]->setFocus(); });
    bindWorkflow();
    bindGraphsButtons();
    showView(StartTab);
    tabs_[0]->setFocus();

    qApp->installEventFilter(new ContextMenuKey(this));
    resize(initialWindowSize(Twips::of(*this), screen()->availableGeometry().size()));
    setCaptionFonts();
    relayout();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildTopRow(QWidget* central) {
    for (int i = 0; i < 3; ++i) {
        auto* tab = new QPushButton(QString::fromLatin1(tabCaptions[static_cast<std::size_t>(i)]), central);
        tab->setObjectName(QStringLiteral("viewButton_%1").arg(i));
        connect(tab, &QPushButton::clicked, this, [this, i] { workflow_->showView(i); });
        tabs_[static_cast<std::size_t>(i)] = tab;
    }
    title_ = new QLabel(QStringLiteral("Torrentix"), central);
    title_->setObjectName(QStringLiteral("lbl_title"));
    gigtype_ = new QLabel(central);
    gigtype_->setObjectName(QStringLiteral("lbl_gigtype"));
    gigtype_->setAccessibleDescription(QStringLiteral("River type of the results shown"));
    runLine_ = new ElidedLabel(central);
    runLine_->setObjectName(QStringLiteral("lbl_run"));
    runLine_->setCaption(QStringLiteral("Results shown"));
    info_ = new QPushButton(QStringLiteral("INFO"), central);
    info_->setObjectName(QStringLiteral("cmdhelp"));
    connect(info_, &QPushButton::clicked, this, [this] { dialogs_.showInformation(false); });
}

void MainWindow::bindWorkflow() {
    Workflow* w = workflow_;
    connect(w, &Workflow::changed, this, [this] {
        start_->sync();
        gigtype_->setText(workflow_->gigtypeLabel());
        runLine_->setFullText(workflow_->viewsCaption());
    });
    connect(w, &Workflow::viewChanged, this, &MainWindow::showView);
    connect(w, &Workflow::focusTab, this, [this](int i) { tabs_[static_cast<std::size_t>(i)]->setFocus(); });
    connect(w, &Workflow::stepDone, this, [this](FlowState next) {
        next == FlowState::Options ? start_->focusOptions() : results_->list()->setFocus();
    });
    connect(w, &Workflow::reportChanged, this, [this] {
        results_->report()->setPlainText(workflow_->reportText());
        if (const auto& counts = workflow_->reportCounts()) {
            results_->histogram()->setClassCounts(counts->first, counts->second);
        }
    });
    connect(w, &Workflow::runStarted, this, &MainWindow::runStarted);
    connect(w, &Workflow::stageChanged, wait_, &WaitPanel::setStage);
    connect(w, &Workflow::progressed, this, [this](double fraction) { wait_->setFraction(fraction); });
    connect(wait_, &WaitPanel::cancelRequested, w, &Workflow::cancelWork);
    connect(w, &Workflow::runFinished, this, &MainWindow::runFinished);
    connect(w, &Workflow::resultsReady, this, &MainWindow::resultsReady);
    connect(w, &Workflow::resultsCleared, this, [this] {
        results_->list()->clearRows();
        intervalsFinished();
    });
    connect(w, &Workflow::intervalsStarted, intervalsWait_, &CancellableWait::start);
    connect(w, &Workflow::intervalsProgressed, intervalsWait_, &CancellableWait::setFraction);
    connect(w, &Workflow::intervalsFinished, this, &MainWindow::intervalsFinished);
    connect(intervalsWait_, &CancellableWait::cancelRequested, w, &Workflow::cancelIntervals);
    connect(w, &Workflow::taxaMapEditRequested, this, [this](const QString& path) {
        TaxaMapEditor editor(taxa_, path, this);
        editor.exec();
    });
    connect(results_->exportButton(), &QPushButton::clicked, w, &Workflow::exportTable);
    connect(results_->saveResultsButton(), &QPushButton::clicked, w, &Workflow::saveResultsAs);
    connect(results_->saveIntervalsButton(), &QPushButton::clicked, w, &Workflow::saveIntervals);
    connect(results_->intervalsBox(), &QCheckBox::toggled, this,
            [this](bool on) { setIntervalColumns(*results_->list(), workflow_->sharedIntervals(), on); });
    connect(graphs_, &GraphsView::regressionFailed, this, [this] {
        if (!applyingResults_) {
            dialogs_.showMessage(QString::fromStdString(regressionErrorMessage));
        }
    });
}

// After the index and test-variable buttons the keyboard is back on the GRAPHS tab.
void MainWindow::bindGraphsButtons() {
    for (QPushButton* button : graphs_->findChildren<QPushButton*>()) {
        if (button->objectName().startsWith(QLatin1String("indexButton_")) ||
            button->objectName().startsWith(QLatin1String("testVariableButton_"))) {
            connect(button, &QPushButton::clicked, this, [this] { tabs_[GraphsTab]->setFocus(); });
        }
    }
}

void MainWindow::styleTabs(int shown) {
    const ColourScheme colours = screenColours(palette());
    for (int i = 0; i < 3; ++i) {
        tabs_[static_cast<std::size_t>(i)]->setStyleSheet(tabStyleSheet(colours, i, i == shown));
    }
}

void MainWindow::showView(int index) {
    styleTabs(index);
    start_->setVisible(index == StartTab);
    results_->setVisible(index == ResultsTab);
    graphs_->setVisible(index == GraphsTab);
    if (index == GraphsTab) {
        graphs_->enter();
    }
}

void MainWindow::load() {
    dialogs_.showInformation(true);
    QCoreApplication::processEvents();
}

// The program's name and the river type's code stand out: bold and larger than the
// window's text, which they follow.
void MainWindow::setCaptionFonts() {
    title_->setFont(standingOutFont(font(), 1.15));
    gigtype_->setFont(standingOutFont(font(), 1.6));
}

void MainWindow::relayout() {
    const Twips twips = Twips::of(*this);
    setMinimumSize(minimumWindowSize(twips, screen()->availableGeometry().size()));
    const QSize window = twips.twips(centralWidget()->size());
    const double text = textScaleOf(*this);
    const WindowLayout l = windowLayout(window, text);
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        tabs_[i]->setGeometry(twips.px(l.tabs[i]));
    }
    title_->setGeometry(twips.px(l.title));
    gigtype_->setGeometry(twips.px(l.gigtype));
    runLine_->setGeometry(twips.px(l.runLine));
    info_->setGeometry(twips.px(l.info));
    const QRect panel = twips.px(l.panel);
    start_->setGeometry(panel);
    results_->setGeometry(panel);
    graphs_->setGeometry(panel);
    // The band's check box stands at the foot of the regression text.
    const QRect regression =
        graphsLayout(graphs_->size(), graphs_->logicalDpiX(), graphs_->logicalDpiY(), text).txtRegr;
    const int boxHeight = bootstrapBand_->sizeHint().height();
    bootstrapBand_->setGeometry(regression.left(), regression.bottom() - boxHeight, regression.width(),
                                boxHeight);
    wait_->setGeometry(twips.px(l.wait));
    start_->relayout(twips,
                     startLayout(l.panel.size(), boundedWindowSize(window).height(), l.panel.y(), text));
    results_->relayout(twips, resultsLayout(l.panel.size(), text));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isMinimized()) {
        relayout();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        workflow_->activate();
    }
    if (event->type() == QEvent::FontChange && workflow_ != nullptr) {
        setCaptionFonts();
        relayout(); // the captions and buttons follow the text
    }
    if (event->type() == QEvent::PaletteChange && workflow_ != nullptr) {
        styleTabs(workflow_->currentView()); // the desktop turned light or dark
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A read or run under way is stopped first, if the user wants to close; not while it
    // waits for an answer of the user's, which comes first.
    if (workflow_->busy() && workflow_->workAsking()) {
        event->ignore();
        return;
    }
    if (workflow_->busy()) {
        if (!dialogs_.askYesNo(QStringLiteral("A computation is under way. Stop it and close the window?"))) {
            event->ignore();
            return;
        }
        workflow_->cancelWork();
        workflow_->waitForWork();
    }
    workflow_->cancelIntervals(); // intervals under way are dropped
    QMainWindow::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && start_->isVisible() && plain) {
        start_->pressEnter();
        return;
    }
    if (event->key() == Qt::Key_Escape && start_->isVisible() && start_->pressEscape()) {
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// While a file is read or a run computed, the views hide behind the wait panel and the
// controls wait; the window keeps painting and "Cancel" answers.
void MainWindow::runStarted() {
    results_->hide();
    graphs_->hide();
    setControlsEnabled(false);
    const Twips twips = Twips::of(*this);
    const double text = textScaleOf(*this);
    wait_->setGeometry(twips.px(windowLayout(twips.twips(centralWidget()->size()), text).wait));
    wait_->start();
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
}

// The view shown before comes back: after a stopped run it still holds the previous results.
void MainWindow::runFinished() {
    QGuiApplication::restoreOverrideCursor();
    wait_->hide();
    setControlsEnabled(true);
    showView(workflow_->currentView());
}

void MainWindow::setControlsEnabled(bool enabled) {
    start_->setEnabled(enabled);
    for (QPushButton* tab : tabs_) {
        tab->setEnabled(enabled);
    }
}

void MainWindow::resultsReady() {
    const RunResult* run = workflow_->results();
    const auto& shown = workflow_->shownRun();
    if (run == nullptr || !shown) {
        return;
    }
    results_->list()->refresh(workflow_->sharedResults(), shown->gig);
    applyingResults_ = true;
    graphs_->fileRead(shown->gig, shown->type, shown->path); // the run's GIG, not a later choice
    graphs_->setResults(workflow_->sharedResults());
    applyingResults_ = false;
    intervalsFinished();
}

// The intervals of the run shown, if any, in the results list; the wait is over.
void MainWindow::intervalsFinished() {
    intervalsWait_->hide();
    const BootstrapResult* intervals = workflow_->intervals();
    QCheckBox* shown = results_->intervalsBox();
    shown->setVisible(intervals != nullptr);
    results_->saveIntervalsButton()->setVisible(intervals != nullptr);
    setIntervalColumns(*results_->list(), workflow_->sharedIntervals(), shown->isChecked());
    bootstrapBand_->setVisible(intervals != nullptr);
    showPlotExtras();
}

// The intervals of the regression shown under its equation, and the bootstrap band when
// ticked.
void MainWindow::showPlotExtras() {
    if (workflow_->intervals() == nullptr) {
        graphs_->setPlotExtras({});
        return;
    }
    graphs_->setPlotExtras([this](int index, int variable) {
        PlotExtras extras;
        const BootstrapResult* intervals = workflow_->intervals();
        if (const RegressionIntervals* r =
                intervals ? findRegression(*intervals, index == 0, variable) : nullptr) {
            extras.text = regressionIntervalText(*r);
            if (bootstrapBand_->isChecked()) {
                extras.band = bootstrapBand(*r);
            }
        }
        return extras;
    });
}

} // namespace torrentix
