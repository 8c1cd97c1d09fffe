// The choices of the START view: GIG, river type, test-variable options, the step
// prompt, the "<-- back" action and the tab guards.
#include "app/workflow.h"

#include "base/text.h"
#include "graphs/displaytext.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"

namespace torrentix {
namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

Workflow::Workflow(const TaxaDatabase& taxa, const TaxaTree& tree, UserDialogs& dialogs,
                   UnknownTaxonHandler askTaxon, QObject* parent)
    : QObject(parent), taxa_(taxa), tree_(tree), dialogs_(dialogs), askTaxon_(std::move(askTaxon)) {
    for (int i = 0; i < optionRowCount; ++i) {
        rows_[static_cast<std::size_t>(i)].label = QStringLiteral("Test Var %1").arg(i + 1);
    }
    falabel3();
}

QString Workflow::gigCaption(int g) {
    return fromView(gigInfo(g).caption);
}

QString Workflow::gigTooltip(int g) {
    return QStringLiteral("Press mouse right button to view ") + gigCaption(g) +
           QStringLiteral(" GIG metrics");
}

QString Workflow::riverTypeCaption(int t) const {
    return riverTypeVisible(t) ? QString::fromStdString(typeCaption(gigindex_, t)) : QString();
}

void Workflow::optGigClick(int index) {
    if (index < 0 || index >= gigCount) {
        return;
    }
    emit focusTab(StartTab);
    selectedGig_ = index;
    gigindex_ = index;
    ntypes_ = gigInfo(index).ntypes;
    riverTypesVisible_ = true;
    selectedType_.reset();
    falabel3();
    if (!noresults_) {
        faetic();
    }
    emit changed();
}

void Workflow::option1Click(int index) {
    if (!riverTypeVisible(index)) {
        return;
    }
    emit focusTab(StartTab);
    selectedType_ = index;
    typeindex_ = index;
    gigtypeLabel_ = riverTypeCaption(index).left(4);
    okEnabled_ = true;
    falabel3();
    if (!noresults_) {
        faetic();
    }
    emit changed();
}

void Workflow::optGigMouseDown(int index, bool rightButton) {
    metricFrameVisible_ = false;
    if (rightButton && index >= 0 && index < gigCount) {
        metricFrameCaption_ = gigCaption(index) + QStringLiteral(" GIG metrics");
        metricText_ = screenLines(metricDescription(index));
        metricFrameVisible_ = true;
    }
    emit changed();
}

void Workflow::optGigMouseUp() {
    metricFrameVisible_ = false;
    emit changed();
}

void Workflow::falabel3() {
    if (testVariablesVisible_) {
        prompt_ = QStringLiteral("Set options and/or minimum value(s) for normalisation of test variables");
    } else if (!selectedGig_) {
        prompt_ = QStringLiteral("Choose a GIG.....");
        okEnabled_ = false;
    } else if (selectedType_ && *selectedType_ < ntypes_) {
        prompt_ = QStringLiteral("Press OK to open a file");
        okEnabled_ = true;
    } else {
        prompt_ = QStringLiteral("Choose a River Type.....");
        okEnabled_ = false;
    }
    emit changed();
}

void Workflow::showOptions() {
    gigOptionsVisible_ = false;
    riverTypesVisible_ = false;
    metricTextVisible_ = false;
    metricFrameVisible_ = true;
    optbusy_ = true;
    for (auto& r : rows_) {
        r.minText = QStringLiteral("0");
        r.biological = false;
        r.observed = false;
    }
    optbusy_ = false;
    backVisible_ = true;
    testVariablesVisible_ = true;
    falabel3();
    wfstep_ = 2;
    emit changed();
}

void Workflow::hideOptions() {
    gigOptionsVisible_ = true;
    riverTypesVisible_ = true;
    metricTextVisible_ = true;
    metricFrameVisible_ = false;
    backVisible_ = false;
    testVariablesVisible_ = false;
    wfstep_ = 0;
    emit changed();
}

void Workflow::command2Click() {
    hideOptions();
    falabel3();
}

void Workflow::chkObservedClick(int i, bool ticked) {
    if (i < 0 || i >= optionRowCount) {
        return;
    }
    OptionRow& r = rows_[static_cast<std::size_t>(i)];
    r.observed = ticked;
    if (optbusy_) {
        return;
    }
    optbusy_ = true;
    if (ticked) {
        r.minText.clear();
        r.minEnabled = false;
    } else {
        r.minText = QStringLiteral("0");
        r.minEnabled = true;
    }
    optbusy_ = false;
    emit changed();
}

void Workflow::testminChange(int i, const QString& text) {
    if (i < 0 || i >= optionRowCount) {
        return;
    }
    OptionRow& r = rows_[static_cast<std::size_t>(i)];
    r.minText = text;
    if (optbusy_) {
        return;
    }
    optbusy_ = true;
    if (isNumeric(text.toStdString())) {
        r.observed = false;
    } else {
        r.minText = QStringLiteral("0");
    }
    optbusy_ = false;
    emit changed();
}

void Workflow::chkIsmetricClick(int i, bool ticked) {
    if (i < 0 || i >= optionRowCount) {
        return;
    }
    rows_[static_cast<std::size_t>(i)].biological = ticked;
    emit changed();
}

void Workflow::activate() {
    if (noresults_) {
        cmdtab(StartTab);
    }
}

void Workflow::showStart() {
    currentView_ = StartTab;
    emit viewChanged(StartTab);
    falabel3();
}

void Workflow::cmdtab(int index) {
    if (index == currentView_ || index < StartTab || index > GraphsTab) {
        return;
    }
    if (index == StartTab) {
        emit focusTab(StartTab);
        showStart();
        return;
    }
    if (noresults_) {
        cmdtab(StartTab);
        emit focusTab(StartTab);
        return;
    }
    if (index == GraphsTab) {
        const SampleTable& t = results_->table;
        if (!isUsableTestVariable(t, 0) && !isUsableTestVariable(t, 1) && !isUsableTestVariable(t, 2)) {
            cmdtab(ResultsTab);
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
