#include "app/startpanel.h"

#include "app/captionlines.h"
#include "app/workflow.h"
#include "graphs/colourscheme.h"
#include "metrics/catalogue.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace torrentix {
namespace {

QString indexedName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true); // a narrow column takes it in two lines
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Sets an option or check box without raising its click, even to "none selected".
void setChecked(QAbstractButton* button, bool checked) {
    if (button->isChecked() == checked) {
        return;
    }
    const QSignalBlocker blocker(button);
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

void setText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

// A panel of options, named for screen readers as its heading names it.
QWidget* optionPanel(const char* name, const QString& title) {
    auto* panel = new QFrame;
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAccessibleName(title);
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

} // namespace

StartPanel::StartPanel(Workflow& workflow, QWidget* parent) : QWidget(parent), workflow_(workflow) {
    setObjectName(QStringLiteral("frame_gig"));
    gigPanel_ = makeGigPanel();
    gigPanel_->setParent(this);
    riverTypePanel_ = makeRiverTypePanel();
    riverTypePanel_->setParent(this);
    metricFrame_ = makeMetricFrame();
    metricFrame_->setParent(this);

    prompt_ = new QLabel(this);
    prompt_->setObjectName(QStringLiteral("promptLabel"));
    QFont promptFont = prompt_->font();
    promptFont.setBold(true);
    prompt_->setFont(promptFont);
    prompt_->setWordWrap(true);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    back_ = new QPushButton(QStringLiteral("<-- back"), this);
    back_->setObjectName(QStringLiteral("backButton"));
    connect(ok_, &QPushButton::clicked, this, [this] { workflow_.okClick(); });
    connect(back_, &QPushButton::clicked, this, [this] { workflow_.backClick(); });
    makeFileButtons();
    paintErrors();
    sync();
}

// The error texts of "Min Value" take the colour of the scheme, light or dark.
void StartPanel::paintErrors() {
    setTextColour(minErrors_, screenColours(palette()).errorText);
}

void StartPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        paintErrors();
    }
}

void StartPanel::makeFileButtons() {
    recent_ = new QPushButton(QStringLiteral("Recent files"), this);
    recent_->setObjectName(QStringLiteral("cmdrecent"));
    recent_->setMenu(new QMenu(recent_));
    // The file is read once the menu has closed: the read rebuilds the menu.
    connect(recent_->menu(), &QMenu::triggered, this, [this](QAction* action) {
        QMetaObject::invokeMethod(
            this, [this, path = action->data().toString()] { workflow_.openRecent(path); },
            Qt::QueuedConnection);
    });
    runAgain_ = new QPushButton(QStringLiteral("Run again"), this);
    runAgain_->setObjectName(QStringLiteral("cmdagain"));
    connect(runAgain_, &QPushButton::clicked, this, [this] { workflow_.runAgain(); });
    taxaMap_ = new QPushButton(QStringLiteral("Taxa map\u2026"), this);
    taxaMap_->setObjectName(QStringLiteral("cmdtaxamap"));
    taxaMap_->setToolTip(
        QStringLiteral("Edit your answers to unknown taxon names: name, TAB, family or IGNORE"));
    taxaMap_->setAccessibleDescription(taxaMap_->toolTip());
    connect(taxaMap_, &QPushButton::clicked, this, [this] { workflow_.openTaxaMap(); });
}

QWidget* StartPanel::makeGigPanel() {
    QWidget* panel = optionPanel("Picture2", QStringLiteral("GIG"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(heading(QStringLiteral("GIG")));
    for (int g = 0; g < gigCount; ++g) {
        auto* option = new QRadioButton(Workflow::gigCaption(g));
        option->setObjectName(indexedName("gigOption", g));
        option->setToolTip(Workflow::gigTooltip(g));
        option->installEventFilter(this);
        connect(option, &QRadioButton::clicked, this, [this, g] { workflow_.gigClick(g, byKeyboard_); });
        gigOptions_[static_cast<std::size_t>(g)] = option;
        layout->addWidget(option);
    }
    layout->addStretch(1);
    panel->installEventFilter(this);
    return panel;
}

QWidget* StartPanel::makeRiverTypePanel() {
    QWidget* panel = optionPanel("Picture1", QStringLiteral("River Type"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(heading(QStringLiteral("River Type")));
    for (int t = 0; t < maxRiverTypes; ++t) {
        auto* option = new QRadioButton;
        option->setObjectName(indexedName("riverTypeOption", t));
        option->installEventFilter(this);
        connect(option, &QRadioButton::clicked, this,
                [this, t] { workflow_.riverTypeClick(t, byKeyboard_); });
        riverTypes_[static_cast<std::size_t>(t)] = option;
        layout->addWidget(option);
    }
    layout->addStretch(1);
    panel->installEventFilter(this);
    return panel;
}

QGroupBox* StartPanel::makeMetricFrame() {
    auto* frame = new QGroupBox;
    frame->setObjectName(QStringLiteral("frame_metr"));
    frame->setAutoFillBackground(true);
    metricScroll_ = new QScrollArea(frame);
    metricScroll_->setObjectName(QStringLiteral("metricScroll"));
    metricScroll_->setFrameShape(QFrame::NoFrame);
    metricScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    metricScroll_->setWidgetResizable(false);   // the label takes the height of its lines
    metricScroll_->setFocusPolicy(Qt::NoFocus); // the focus stays on the GIG options
    metricLabel_ = new QLabel;
    metricLabel_->setObjectName(QStringLiteral("lbl_metr"));
    metricLabel_->setWordWrap(true);
    metricLabel_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    metricScroll_->setWidget(metricLabel_);
    testVariables_ = makeTestVariableRows();
    testVariables_->setParent(frame);
    return frame;
}

QWidget* StartPanel::makeTestVariableRows() {
    auto* frame = new QWidget;
    frame->setObjectName(QStringLiteral("testVariablesPanel"));
    auto* grid = new QGridLayout(frame);
    grid->addWidget(heading(QStringLiteral("Observed Min")), 0, 1, Qt::AlignCenter);
    grid->addWidget(heading(QStringLiteral("Min Value")), 0, 2, Qt::AlignCenter);
    grid->addWidget(heading(QStringLiteral("Biological")), 0, 3, Qt::AlignCenter);
    for (int i = 0; i < optionRowCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int n = i + 1;
        rowLabels_[k] = new QLabel;
        rowLabels_[k]->setObjectName(indexedName("testVariableLabel", n));
        observed_[k] = new QCheckBox;
        observed_[k]->setObjectName(indexedName("observedMinBox", n));
        minValues_[k] = new QLineEdit;
        minValues_[k]->setObjectName(indexedName("minValue", n));
        biological_[k] = new QCheckBox;
        biological_[k]->setObjectName(indexedName("biologicalBox", n));
        grid->addWidget(rowLabels_[k], n, 0);
        grid->addWidget(observed_[k], n, 1, Qt::AlignCenter);
        grid->addWidget(minValues_[k], n, 2);
        grid->addWidget(biological_[k], n, 3, Qt::AlignCenter);
        connect(observed_[k], &QCheckBox::clicked, this,
                [this, i](bool on) { workflow_.observedMinClick(i, on); });
        minErrors_[k] = new QLabel;
        minErrors_[k]->setObjectName(indexedName("minValueError", n));
        grid->addWidget(minErrors_[k], n, 4);
        connect(minValues_[k], &QLineEdit::textChanged, this,
                [this, i](const QString& text) { workflow_.minValueChange(i, text); });
        connect(minValues_[k], &QLineEdit::editingFinished, this, [this, i] { workflow_.minValueLeft(i); });
        connect(biological_[k], &QCheckBox::clicked, this,
                [this, i](bool on) { workflow_.biologicalClick(i, on); });
    }
    intervals_ = new QCheckBox(QStringLiteral("Confidence intervals (bootstrap, 1,000 replicates)"));
    intervals_->setObjectName(QStringLiteral("chk_intervals"));
    intervals_->setToolTip(QStringLiteral("After the run, how much the indices and the regressions depend on "
                                          "the file's reference samples"));
    connect(intervals_, &QCheckBox::clicked, this, [this](bool on) { workflow_.intervalsClick(on); });
    intervals_->setParent(this); // under the frame, across the view: its caption is long
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 2);
    grid->setRowStretch(optionRowCount + 2, 1);
    return frame;
}

void StartPanel::sync() {
    const Workflow& w = workflow_;
    gigPanel_->setVisible(w.gigOptionsVisible());
    for (int g = 0; g < gigCount; ++g) {
        setChecked(gigOptions_[static_cast<std::size_t>(g)], w.selectedGig() == g);
    }
    riverTypePanel_->setVisible(w.riverTypesVisible());
    for (int t = 0; t < maxRiverTypes; ++t) {
        QRadioButton* option = riverTypes_[static_cast<std::size_t>(t)];
        option->setVisible(w.riverTypeVisible(t));
        setChecked(option, w.selectedType() == t);
    }
    prompt_->setText(w.prompt());
    ok_->setEnabled(w.okEnabled());
    back_->setVisible(w.backVisible());
    fitRiverTypes();
    metricFrame_->setTitle(w.metricFrameCaption());
    if (metricLabel_->text() != w.metricText()) {
        metricLabel_->setText(w.metricText());
        metricScroll_->verticalScrollBar()->setValue(0);
    }
    metricScroll_->setVisible(w.metricTextVisible());
    testVariables_->setVisible(w.testVariablesVisible());
    intervals_->setVisible(w.testVariablesVisible());
    syncRows();
    syncFiles();
    placeMetricFrame();
    metricFrame_->setVisible(w.metricFrameVisible());
    metricFrame_->raise();
}

// Each control names its test variable, for those who hear the window rather than see it.
void StartPanel::syncRows() {
    for (int i = 0; i < optionRowCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const OptionRow& row = workflow_.row(i);
        rowLabels_[k]->setText(row.label);
        rowLabels_[k]->setEnabled(row.enabled);
        setChecked(observed_[k], row.observed);
        setText(minValues_[k], row.minText);
        minValues_[k]->setEnabled(row.minEnabled);
        setChecked(biological_[k], row.biological);
        biological_[k]->setEnabled(row.enabled);
        minErrors_[k]->setText(row.minError);
        minErrors_[k]->setAccessibleName(row.minError.isEmpty() ? QString()
                                                                : row.label + ": " + row.minError);
        observed_[k]->setAccessibleName(QStringLiteral("Observed Min of ") + row.label);
        minValues_[k]->setAccessibleName(QStringLiteral("Min Value of ") + row.label);
        minValues_[k]->setToolTip(
            row.minError.isEmpty() ? QString() : QStringLiteral("Write a number, such as -3, 0.5 or 1e3"));
        biological_[k]->setAccessibleName(row.label + QStringLiteral(" is a biological metric"));
    }
    setChecked(intervals_, workflow_.intervalsWanted());
}

// A river type's caption wider than its column takes two lines or more, which screen
// readers hear whole; the options close up when their lines need the room between them.
void StartPanel::fitRiverTypes() {
    QLayout* options = riverTypePanel_->layout();
    const QMargins margins = options->contentsMargins();
    const int column = riverTypePanel_->contentsRect().width() - margins.left() - margins.right();
    for (int t = 0; t < maxRiverTypes; ++t) {
        QRadioButton* option = riverTypes_[static_cast<std::size_t>(t)];
        const QString caption = workflow_.riverTypeCaption(t);
        const QFontMetrics fm = option->fontMetrics();
        option->setText(caption);
        const int indicator = option->sizeHint().width() - fm.size(Qt::TextShowMnemonic, caption).width();
        option->setText(captionLines(caption, fm, column - indicator));
        option->setAccessibleName(caption);
    }
    options->setSpacing(-1); // the style's
    if (options->sizeHint().height() > riverTypePanel_->height()) {
        options->setSpacing(0);
    }
    options->activate(); // placed at once, not at the next turn of the event loop
}

void StartPanel::syncFiles() {
    const bool open = workflow_.canOpenFile();
    QMenu* menu = recent_->menu();
    menu->clear();
    for (const QString& file : workflow_.recentFiles()) {
        QAction* action = menu->addAction(QFileInfo(file).fileName() + QStringLiteral("  (") +
                                          QFileInfo(file).absolutePath() + ")");
        action->setData(file);
    }
    recent_->setVisible(!workflow_.testVariablesVisible());
    recent_->setEnabled(open && !workflow_.recentFiles().isEmpty());
    const QString again = workflow_.runAgainFile();
    runAgain_->setVisible(!again.isEmpty());
    runAgain_->setEnabled(open);
    runAgain_->setToolTip(QStringLiteral("Read ") + QFileInfo(again).fileName() +
                          QStringLiteral(" again and compute it with the choices made now"));
    runAgain_->setAccessibleDescription(runAgain_->toolTip());
    taxaMap_->setVisible(!workflow_.testVariablesVisible() && !workflow_.taxaMapPath().isEmpty());
}

void StartPanel::pressEnter() {
    if (ok_->isEnabled()) {
        ok_->click();
    }
}

void StartPanel::focusOptions() {
    for (std::size_t k = 0; k < minValues_.size(); ++k) {
        for (QWidget* control : {static_cast<QWidget*>(minValues_[k]), static_cast<QWidget*>(observed_[k])}) {
            if (control->isEnabled()) {
                control->setFocus();
                return;
            }
        }
    }
    ok_->setFocus(); // no usable test variable: OK computes
}

bool StartPanel::pressEscape() {
    if (!workflow_.metricFrameVisible() || workflow_.testVariablesVisible()) {
        return false;
    }
    workflow_.gigMouseUp();
    return true;
}

void StartPanel::relayout(const Twips& twips, const StartLayout& layout) {
    twips_ = twips;
    layout_ = layout;
    gigPanel_->setGeometry(twips.px(layout.gigOptions));
    riverTypePanel_->setGeometry(twips.px(layout.riverTypes));
    prompt_->setGeometry(twips.px(layout.prompt));
    ok_->setGeometry(twips.px(layout.ok));
    back_->setGeometry(twips.px(layout.back));
    recent_->setGeometry(twips.px(layout.recent));
    runAgain_->setGeometry(twips.px(layout.runAgain));
    taxaMap_->setGeometry(twips.px(layout.taxaMap));
    testVariables_->setGeometry(twips.px(layout.testVariables));
    intervals_->setGeometry(twips.px(layout.intervals));
    placeMetricFrame();
}

// The frame is as high as the metric description it shows plus a margin, down to its
// limit where the description scrolls (PageUp, PageDown), or as high as the option rows.
void StartPanel::placeMetricFrame() {
    QRect frame = twips_.px(layout_.metricFrame);
    QRect label = twips_.px(layout_.metricLabel);
    const int padding = twips_.px(layout_.labelPadding);
    const int room = std::max(twips_.px(layout_.metricFrameLimit) - frame.y() - padding,
                              3 * metricLabel_->fontMetrics().lineSpacing());
    int textWidth = label.width();
    int textHeight = metricLabel_->heightForWidth(textWidth);
    if (textHeight > room) { // it scrolls: the scroll bar takes its width from the text
        textWidth -= metricScroll_->verticalScrollBar()->sizeHint().width();
        textHeight = metricLabel_->heightForWidth(textWidth);
    }
    label.setHeight(std::min(textHeight, room));
    metricScroll_->setGeometry(label);
    metricLabel_->resize(textWidth, textHeight);
    frame.setHeight(workflow_.testVariablesVisible() ? twips_.px(layout_.optionsFrameHeight)
                                                     : label.height() + padding);
    metricFrame_->setGeometry(frame);
}

bool StartPanel::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == gigPanel_ || watched == riverTypePanel_) {
        if (type == QEvent::MouseButtonPress) {
            emit panelClicked();
        } else if (watched == riverTypePanel_ && (type == QEvent::Resize || type == QEvent::FontChange)) {
            fitRiverTypes();
        }
        return false;
    }
    // An option chosen from the keyboard keeps the focus; one clicked gives it to the tab.
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        byKeyboard_ = true;
    } else if (type == QEvent::MouseButtonPress) {
        byKeyboard_ = false;
    }
    for (int g = 0; g < gigCount; ++g) {
        if (watched == gigOptions_[static_cast<std::size_t>(g)]) {
            return gigOptionEvent(g, event);
        }
    }
    return false;
}

// The metrics of a GIG show while the right button is held on its option, or from the
// keyboard (the Menu key, Shift+F10) until Escape; meanwhile the options the focus moves
// to show theirs.
bool StartPanel::gigOptionEvent(int g, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const bool right = static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        event->type() == QEvent::MouseButtonPress ? workflow_.gigMouseDown(g, right) : workflow_.gigMouseUp();
        return right;
    }
    case QEvent::KeyPress: {
        // While the metrics show, Tab stays among the GIG options: the options under the
        // frame cannot be reached unseen.
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool open = workflow_.metricFrameVisible() && !workflow_.testVariablesVisible();
        if (open && (key == Qt::Key_PageDown || key == Qt::Key_PageUp)) {
            metricScroll_->verticalScrollBar()->triggerAction(key == Qt::Key_PageDown
                                                                  ? QAbstractSlider::SliderPageStepAdd
                                                                  : QAbstractSlider::SliderPageStepSub);
            return true;
        }
        return (key == Qt::Key_Escape && pressEscape()) ||
               (open && (key == Qt::Key_Tab || key == Qt::Key_Backtab));
    }
    case QEvent::ContextMenu:
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            workflow_.gigMouseDown(g, true);
        }
        return true;
    case QEvent::FocusIn:
        if (workflow_.metricFrameVisible() && !workflow_.testVariablesVisible()) {
            workflow_.gigMouseDown(g, true);
        }
        return false;
    default:
        return false;
    }
}

} // namespace torrentix
