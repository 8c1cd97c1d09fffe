#include "app/startpanel.h"

#include "app/workflow.h"
#include "metrics/catalogue.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace torrentix {
namespace {

QString indexedName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
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

QWidget* optionPanel(const char* name) {
    auto* panel = new QFrame;
    panel->setObjectName(QString::fromLatin1(name));
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
    prompt_->setObjectName(QStringLiteral("Label3"));
    QFont promptFont = prompt_->font();
    promptFont.setBold(true);
    prompt_->setFont(promptFont);
    prompt_->setWordWrap(true);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    back_ = new QPushButton(QStringLiteral("<-- back"), this);
    back_->setObjectName(QStringLiteral("Command2"));
    connect(ok_, &QPushButton::clicked, this, [this] { workflow_.command1Click(); });
    connect(back_, &QPushButton::clicked, this, [this] { workflow_.command2Click(); });
    sync();
}

QWidget* StartPanel::makeGigPanel() {
    QWidget* panel = optionPanel("Picture2");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(heading(QStringLiteral("GIG")));
    for (int g = 0; g < gigCount; ++g) {
        auto* option = new QRadioButton(Workflow::gigCaption(g));
        option->setObjectName(indexedName("Opt_GIG", g));
        option->setToolTip(Workflow::gigTooltip(g));
        option->installEventFilter(this);
        connect(option, &QRadioButton::clicked, this, [this, g] { workflow_.optGigClick(g); });
        gigOptions_[static_cast<std::size_t>(g)] = option;
        layout->addWidget(option);
    }
    layout->addStretch(1);
    panel->installEventFilter(this);
    return panel;
}

QWidget* StartPanel::makeRiverTypePanel() {
    QWidget* panel = optionPanel("Picture1");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(heading(QStringLiteral("River Type")));
    for (int t = 0; t < maxRiverTypes; ++t) {
        auto* option = new QRadioButton;
        option->setObjectName(indexedName("Option1", t));
        connect(option, &QRadioButton::clicked, this, [this, t] { workflow_.option1Click(t); });
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
    metricLabel_ = new QLabel(frame);
    metricLabel_->setObjectName(QStringLiteral("lbl_metr"));
    metricLabel_->setWordWrap(true);
    metricLabel_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    testVariables_ = makeTestVariableRows();
    testVariables_->setParent(frame);
    return frame;
}

QWidget* StartPanel::makeTestVariableRows() {
    auto* frame = new QWidget;
    frame->setObjectName(QStringLiteral("Frame_var"));
    auto* grid = new QGridLayout(frame);
    grid->addWidget(heading(QStringLiteral("Observed Min")), 0, 1, Qt::AlignCenter);
    grid->addWidget(heading(QStringLiteral("Min Value")), 0, 2, Qt::AlignCenter);
    grid->addWidget(heading(QStringLiteral("Biological")), 0, 3, Qt::AlignCenter);
    for (int i = 0; i < optionRowCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int n = i + 1;
        rowLabels_[k] = new QLabel;
        rowLabels_[k]->setObjectName(indexedName("Label2", n));
        observed_[k] = new QCheckBox;
        observed_[k]->setObjectName(indexedName("chk_observed", n));
        minValues_[k] = new QLineEdit;
        minValues_[k]->setObjectName(indexedName("testmin", n));
        biological_[k] = new QCheckBox;
        biological_[k]->setObjectName(indexedName("chk_ismetric", n));
        grid->addWidget(rowLabels_[k], n, 0);
        grid->addWidget(observed_[k], n, 1, Qt::AlignCenter);
        grid->addWidget(minValues_[k], n, 2);
        grid->addWidget(biological_[k], n, 3, Qt::AlignCenter);
        connect(observed_[k], &QCheckBox::clicked, this,
                [this, i](bool on) { workflow_.chkObservedClick(i, on); });
        connect(minValues_[k], &QLineEdit::textChanged, this,
                [this, i](const QString& text) { workflow_.testminChange(i, text); });
        connect(biological_[k], &QCheckBox::clicked, this,
                [this, i](bool on) { workflow_.chkIsmetricClick(i, on); });
    }
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 2);
    grid->setRowStretch(optionRowCount + 1, 1);
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
        option->setText(w.riverTypeCaption(t));
        option->setVisible(w.riverTypeVisible(t));
        setChecked(option, w.selectedType() == t);
    }
    prompt_->setText(w.prompt());
    ok_->setEnabled(w.okEnabled());
    back_->setVisible(w.backVisible());
    metricFrame_->setTitle(w.metricFrameCaption());
    metricLabel_->setText(w.metricText());
    metricLabel_->setVisible(w.metricTextVisible());
    testVariables_->setVisible(w.testVariablesVisible());
    for (int i = 0; i < optionRowCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const OptionRow& row = w.row(i);
        rowLabels_[k]->setText(row.label);
        rowLabels_[k]->setEnabled(row.enabled);
        setChecked(observed_[k], row.observed);
        setText(minValues_[k], row.minText);
        minValues_[k]->setEnabled(row.minEnabled);
        setChecked(biological_[k], row.biological);
        biological_[k]->setEnabled(row.enabled);
    }
    placeMetricFrame();
    metricFrame_->setVisible(w.metricFrameVisible());
    metricFrame_->raise();
}

void StartPanel::relayout(const Twips& twips, const StartLayout& layout) {
    twips_ = twips;
    layout_ = layout;
    gigPanel_->setGeometry(twips.px(layout.gigOptions));
    riverTypePanel_->setGeometry(twips.px(layout.riverTypes));
    prompt_->setGeometry(twips.px(layout.prompt));
    ok_->setGeometry(twips.px(layout.ok));
    back_->setGeometry(twips.px(layout.back));
    testVariables_->setGeometry(twips.px(layout.testVariables));
    placeMetricFrame();
}

// The frame is as high as the metric description it shows plus a margin, or as high as
// the option rows.
void StartPanel::placeMetricFrame() {
    QRect label = twips_.px(layout_.metricLabel);
    label.setHeight(metricLabel_->heightForWidth(label.width()));
    metricLabel_->setGeometry(label);
    QRect frame = twips_.px(layout_.metricFrame);
    frame.setHeight(workflow_.testVariablesVisible() ? twips_.px(layout_.optionsFrameHeight)
                                                     : label.height() + twips_.px(layout_.labelPadding));
    metricFrame_->setGeometry(frame);
}

bool StartPanel::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == gigPanel_ || watched == riverTypePanel_) {
        if (type == QEvent::MouseButtonPress) {
            emit panelClicked();
        }
        return false;
    }
    for (int g = 0; g < gigCount; ++g) {
        if (watched != gigOptions_[static_cast<std::size_t>(g)]) {
            continue;
        }
        if (type == QEvent::MouseButtonPress) {
            const bool right = static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
            workflow_.optGigMouseDown(g, right);
            return right;
        }
        if (type == QEvent::MouseButtonRelease) {
            const bool right = static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
            workflow_.optGigMouseUp();
            return right;
        }
    }
    return false;
}

} // namespace torrentix
