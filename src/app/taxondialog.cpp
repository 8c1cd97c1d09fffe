#include "app/taxondialog.h"

#include "graphs/displaytext.h"
#include "app/layout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace torrentix {
namespace {

constexpr int nodeRole = Qt::UserRole;

QLabel* boxedLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* button(const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption));
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TaxonDialog::TaxonDialog(const TaxaTree& tree, QWidget* parent) : QDialog(parent), tree_(tree) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Taxa"));
    setModal(true);

    givenName_ = boxedLabel("lbl_vecchionome");
    correctName_ = boxedLabel("lbl_nuovonome");
    keyLabel_ = new QLabel(QStringLiteral("0"));
    keyLabel_->setObjectName(QStringLiteral("lbl_taxkey"));
    keyLabel_->hide();
    tv1_ = new QTreeWidget;
    tv1_->setObjectName(QStringLiteral("tv1"));
    tv1_->setHeaderHidden(true);
    tv1_->setColumnCount(1);
    tv1_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* names = new QGridLayout;
    names->addWidget(new QLabel(QStringLiteral("unknown taxon")), 0, 0);
    names->addWidget(givenName_, 0, 1);
    names->addWidget(new QLabel(QStringLiteral("correct taxon")), 1, 0);
    names->addWidget(correctName_, 1, 1);
    names->setColumnStretch(1, 1);

    QPushButton* ignore = button("cmdignore", "Ignore this taxon");
    QPushButton* ok = button("cmdok", "OK");
    QPushButton* abort = button("cmdabort", "Abort");
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ignore);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(abort);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addWidget(tv1_, 1);
    layout->addWidget(keyLabel_);
    layout->addLayout(buttons);

    connect(ignore, &QPushButton::clicked, this, &TaxonDialog::ignoreTaxon);
    connect(ok, &QPushButton::clicked, this, &TaxonDialog::acceptChoice);
    connect(abort, &QPushButton::clicked, this, &TaxonDialog::abortRead);
    connect(tv1_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { nodeChosen(current); });
    connect(tv1_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { nodeChosen(item); });

    buildTree();
    const Twips t(logicalDpiX());
    resize(t.px(QSize(5400, 6600)));
}

void TaxonDialog::buildTree() {
    const auto& nodes = tree_.nodes();
    items_.assign(nodes.size(), nullptr);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const TaxaTreeNode& node = nodes[i];
        QTreeWidgetItem* item = nullptr;
        if (node.parent < 0) {
            item = new QTreeWidgetItem(tv1_);
        } else if (QTreeWidgetItem* parent = items_[static_cast<std::size_t>(node.parent)]) {
            item = new QTreeWidgetItem(parent);
        }
        if (item != nullptr) {
            item->setText(0, QString::fromStdString(node.text));
            item->setData(0, nodeRole, static_cast<int>(i));
            items_[i] = item;
        }
    }
    if (!items_.empty() && items_[0] != nullptr) {
        items_[0]->setExpanded(true);
    }
}

QTreeWidgetItem* TaxonDialog::itemOfNode(int node) const {
    return node >= 0 && static_cast<std::size_t>(node) < items_.size()
               ? items_[static_cast<std::size_t>(node)]
               : nullptr;
}

void TaxonDialog::setCorrectTaxon(std::string name) {
    correctTaxon_ = std::move(name);
    correctName_->setText(QString::fromStdString(correctTaxon_));
}

void TaxonDialog::prepare(const UnknownTaxonQuestion& question) {
    settingUp_ = true;
    selectionKey_ = 0;
    tv1_->collapseAll();
    if (QTreeWidgetItem* root = itemOfNode(0)) {
        root->setExpanded(true);
    }
    tv1_->setCurrentItem(nullptr);
    tv1_->clearSelection();
    givenName_->setText(displayText(question.name, question.utf8));
    setCorrectTaxon({});
    if (question.suggestion) {
        selectionKey_ = question.suggestion->id;
        const int node = tree_.findByTag("F" + std::to_string(question.suggestion->id));
        if (QTreeWidgetItem* item = itemOfNode(node)) {
            tv1_->setCurrentItem(item);
            tv1_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
            setCorrectTaxon(tree_.nodes()[static_cast<std::size_t>(node)].text);
        } else {
            // A family named like its group has no node of its own: the group stands for it.
            setCorrectTaxon(question.suggestion->family);
        }
    }
    keyLabel_->setText(QString::number(selectionKey_));
    settingUp_ = false;
}

void TaxonDialog::nodeChosen(QTreeWidgetItem* item) {
    if (settingUp_ || item == nullptr) {
        return;
    }
    const int node = item->data(0, nodeRole).toInt();
    const auto& nodes = tree_.nodes();
    if (node <= 0 || static_cast<std::size_t>(node) >= nodes.size()) {
        return; // the root chooses nothing
    }
    const TaxaTreeNode& chosen = nodes[static_cast<std::size_t>(node)];
    if (!chosen.tag.empty() && chosen.tag.front() == 'F') {
        setCorrectTaxon(chosen.text);
    }
    selectionKey_ = TaxaTree::tagNumber(chosen.tag);
    keyLabel_->setText(QString::number(selectionKey_));
}

UnknownTaxonAnswer TaxonDialog::answer() const {
    return {selectionKey_, correctTaxon_};
}

UnknownTaxonAnswer TaxonDialog::ask(const UnknownTaxonQuestion& question) {
    prepare(question);
    exec();
    return answer();
}

void TaxonDialog::ignoreTaxon() {
    setCorrectTaxon({});
    selectionKey_ = 0;
    keyLabel_->setText(QStringLiteral("0"));
    done(QDialog::Accepted);
}

void TaxonDialog::acceptChoice() {
    done(QDialog::Accepted);
}

void TaxonDialog::abortRead() {
    selectionKey_ = -1;
    keyLabel_->setText(QStringLiteral("-1"));
    done(QDialog::Rejected);
}

// Closing the window (or Escape) ignores the taxon: the dialog's close event rejects.
void TaxonDialog::reject() {
    ignoreTaxon();
}

} // namespace torrentix
