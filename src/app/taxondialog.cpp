#include "app/taxondialog.h"

#include "app/elidedlabel.h"
#include "app/layout.h"
#include "graphs/displaytext.h"

#include <QCheckBox>
#include <QGlyphRun>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace torrentix {
namespace {

constexpr int tagRole = Qt::UserRole;
constexpr QSize usualSize(5400, 6600); // twips

ElidedLabel* boxedLabel(const char* name, const char* accessibleName) {
    auto* label = new ElidedLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setCaption(QString::fromLatin1(accessibleName));
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

// Characters that show nothing, or look like a blank, by name.
QString invisibleCharacter(QChar c, bool controlPictures) {
    switch (c.unicode()) {
    case 0x00A0:
        return QStringLiteral("[no-break space]");
    case 0x00AD:
        return QStringLiteral("[soft hyphen]");
    case 0x200B:
        return QStringLiteral("[zero-width space]");
    case 0xFEFF:
        return QStringLiteral("[zero-width no-break space]");
    default:
        break;
    }
    if (controlPictures && c.unicode() < 0x20) {
        return QChar(0x2400 + c.unicode()); // the control picture: TAB as U+2409
    }
    if (controlPictures && c.unicode() == 0x7F) {
        return QChar(0x2421);
    }
    if (!c.isPrint() && !c.isSurrogate()) {
        return QStringLiteral("[U+%1]").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

QString placeText(const NamePlace& place) {
    QStringList parts;
    if (place.column > 0) {
        parts << QStringLiteral("column %1").arg(place.column);
    }
    if (place.unknownCount > 0) {
        parts << QStringLiteral("%1 of %2 unknown names").arg(place.unknown).arg(place.unknownCount);
    }
    return parts.join(QStringLiteral(" \u00B7 "));
}

// Where the suggestion comes from ("taxon dictionary: Ephemera danica → EPHEMERIDAE"), or why
// there is none although the sources know the name.
QString sourceText(const FamilyEvidence& e) {
    return QString::fromStdString(questionEvidenceText(e));
}

// True when the font, or a font it falls back on, has a glyph for the character.
bool fontsShow(const QFont& font, QChar c) {
    QTextLayout layout(QString(c), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end()) {
            return false;
        }
    }
    return true;
}

} // namespace

QString visibleName(const QString& name, bool controlPictures) {
    const auto isBlank = [&name](qsizetype i) {
        return i >= 0 && i < name.size() && name[i] == QLatin1Char(' ');
    };
    qsizetype first = 0;
    while (isBlank(first)) {
        ++first;
    }
    qsizetype last = name.size() - 1;
    while (isBlank(last)) {
        --last;
    }
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (isBlank(i)) {
            const bool marked = i < first || i > last || isBlank(i - 1) || isBlank(i + 1);
            const QString blank = controlPictures ? QString(QChar(0x2420)) : QStringLiteral("[blank]");
            out += marked ? blank : QString(c);
        } else if (const QString shown = invisibleCharacter(c, controlPictures); !shown.isEmpty()) {
            out += shown;
        } else {
            out += c;
        }
    }
    return out;
}

TaxonDialog::TaxonDialog(const TaxaTree& tree, const std::vector<FamilyRecord>& families, QWidget* parent)
    : QDialog(parent), tree_(tree) {
    setObjectName(QStringLiteral("unknownTaxonDialog"));
    setWindowTitle(QStringLiteral("Taxa"));
    setModal(true);

    givenName_ = boxedLabel("unknownNameLabel", "unknown taxon");
    correctName_ = boxedLabel("familyLabel", "correct taxon");
    place_ = new QLabel;
    place_->setObjectName(QStringLiteral("lbl_place"));
    keyLabel_ = new QLabel(QStringLiteral("0"));
    keyLabel_->setObjectName(QStringLiteral("lbl_taxkey"));
    keyLabel_->hide();
    find_ = new QLineEdit;
    find_->setObjectName(QStringLiteral("txt_find"));
    find_->setPlaceholderText(QStringLiteral("Find a family by any part of its name"));
    find_->setAccessibleName(QStringLiteral("Find a family"));
    find_->setClearButtonEnabled(true);
    taxaTree_ = new QTreeWidget;
    taxaTree_->setObjectName(QStringLiteral("taxaTree"));
    taxaTree_->setHeaderHidden(true);
    taxaTree_->setColumnCount(1);
    taxaTree_->setSelectionMode(QAbstractItemView::SingleSelection);
    taxaTree_->setAccessibleName(QStringLiteral("Groups and families"));

    auto* names = new QGridLayout;
    names->addWidget(new QLabel(QStringLiteral("unknown taxon")), 0, 0);
    names->addWidget(givenName_, 0, 1);
    names->addWidget(place_, 1, 1);
    names->addWidget(new QLabel(QStringLiteral("correct taxon")), 2, 0);
    names->addWidget(correctName_, 2, 1);
    source_ = new QLabel;
    source_->setObjectName(QStringLiteral("lbl_source"));
    source_->setWordWrap(true);
    names->addWidget(source_, 3, 1);
    names->setColumnStretch(1, 1);

    remember_ = new QCheckBox(QStringLiteral("Remember this choice"));
    remember_->setObjectName(QStringLiteral("chk_remember"));
    remember_->setToolTip(
        QStringLiteral("Keep the family chosen, or \"Ignore this taxon\", in your taxa map: "
                       "later files are read with it without asking"));

    QPushButton* ignore = button("cmdignore", "Ignore this taxon");
    ok_ = button("cmdok", "OK");
    QPushButton* abort = button("cmdabort", "Abort");
    byDictionary_ = button("cmddictionary", "");
    byDictionary_->setToolTip(
        QStringLiteral("Take the taxon dictionary's family for this name and every later name "
                       "it knows; the names it does not know are still asked"));
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ignore);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(abort);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addWidget(find_);
    layout->addWidget(taxaTree_, 1);
    layout->addWidget(keyLabel_);
    layout->addWidget(remember_);
    layout->addWidget(byDictionary_);
    layout->addLayout(buttons);

    connect(ignore, &QPushButton::clicked, this, &TaxonDialog::ignoreTaxon);
    connect(ok_, &QPushButton::clicked, this, &TaxonDialog::acceptChoice);
    connect(abort, &QPushButton::clicked, this, &TaxonDialog::abortRead);
    connect(byDictionary_, &QPushButton::clicked, this, &TaxonDialog::useDictionaryForRemaining);
    connect(find_, &QLineEdit::textChanged, this, &TaxonDialog::filterTree);
    connect(taxaTree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { nodeChosen(current); });
    connect(taxaTree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { nodeChosen(item); });

    buildTree(families);
    refreshOk();
    controlPictures_ =
        fontsShow(givenName_->font(), QChar(0x2420)) && fontsShow(givenName_->font(), QChar(0x2409));
    resize(Twips(logicalDpiX()).px(usualSize));
}

QTreeWidgetItem* TaxonDialog::addItem(QTreeWidgetItem* parent, const std::string& text,
                                      const std::string& tag) {
    auto* item = parent == nullptr ? new QTreeWidgetItem(taxaTree_) : new QTreeWidgetItem(parent);
    item->setText(0, QString::fromStdString(text));
    item->setData(0, tagRole, QString::fromStdString(tag));
    itemsByTag_.insert(QString::fromStdString(tag), item);
    return item;
}

// The tree's groups and families, and under each group the family named like it, which
// the tree lets the group stand for.
void TaxonDialog::buildTree(const std::vector<FamilyRecord>& families) {
    const auto& nodes = tree_.nodes();
    std::vector<QTreeWidgetItem*> items(nodes.size(), nullptr);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const TaxaTreeNode& node = nodes[i];
        QTreeWidgetItem* parent = node.parent < 0 ? nullptr : items[static_cast<std::size_t>(node.parent)];
        if (node.parent < 0 || parent != nullptr) {
            items[i] = addItem(parent, node.text, node.tag);
        }
    }
    for (const FamilyRecord& r : families) {
        const std::string tag = "F" + std::to_string(r.id);
        QTreeWidgetItem* group = itemOfTag("G" + std::to_string(r.idgroup));
        if (r.family == r.taxagroup && group != nullptr && itemOfTag(tag) == nullptr) {
            QTreeWidgetItem* item = addItem(group, r.family, tag);
            group->insertChild(0, group->takeChild(group->indexOfChild(item)));
        }
    }
    if (QTreeWidgetItem* root = taxaTree_->topLevelItem(0)) {
        root->setExpanded(true);
    }
}

QTreeWidgetItem* TaxonDialog::itemOfTag(const std::string& tag) const {
    return itemsByTag_.value(QString::fromStdString(tag), nullptr);
}

void TaxonDialog::setCorrectTaxon(std::string name) {
    correctTaxon_ = std::move(name);
    correctName_->setFullText(QString::fromStdString(correctTaxon_));
    refreshOk();
}

// The answer reads as "ignore" without a positive key and a family's name: "OK" waits.
void TaxonDialog::refreshOk() {
    ok_->setEnabled(selectionKey_ > 0 && !correctTaxon_.empty());
}

void TaxonDialog::prepare(const UnknownTaxonQuestion& question) {
    settingUp_ = true;
    selectionKey_ = 0;
    find_->clear();
    taxaTree_->collapseAll();
    if (QTreeWidgetItem* root = taxaTree_->topLevelItem(0)) {
        root->setExpanded(true);
    }
    taxaTree_->setCurrentItem(nullptr);
    taxaTree_->clearSelection();
    givenName_->setFullText(visibleName(displayText(question.name, question.utf8), controlPictures_));
    place_->setText(placeText(question.place));
    setCorrectTaxon({});
    source_->setText(sourceText(question.evidence));
    dictionaryForRemaining_ = false;
    knownAnswer_ = question.evidence.knownAnswer();
    byDictionary_->setVisible(knownAnswer_ && question.knownRemaining > 1);
    byDictionary_->setText(QStringLiteral("Use the dictionary's family for all %1 remaining names")
                               .arg(question.knownRemaining));
    if (question.suggestion) {
        selectionKey_ = question.suggestion->id;
        if (QTreeWidgetItem* item = itemOfTag("F" + std::to_string(question.suggestion->id))) {
            taxaTree_->setCurrentItem(item);
            taxaTree_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
        }
        setCorrectTaxon(question.suggestion->family);
    }
    keyLabel_->setText(QString::number(selectionKey_));
    refreshOk();
    remember_->setChecked(false);
    settingUp_ = false;
    // Each question at the usual size, within the screen: an earlier long name leaves no trace.
    QSize size = Twips(logicalDpiX()).px(usualSize);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableGeometry().size());
    }
    resize(size);
    find_->setFocus();
}

void TaxonDialog::filterTree(const QString& text) {
    const QString part = text.trimmed();
    QTreeWidgetItem* root = taxaTree_->topLevelItem(0);
    if (root == nullptr) {
        return;
    }
    QTreeWidgetItem* only = nullptr;
    int matches = 0;
    for (int g = 0; g < root->childCount(); ++g) {
        QTreeWidgetItem* group = root->child(g);
        int shown = 0;
        for (int f = 0; f < group->childCount(); ++f) {
            QTreeWidgetItem* family = group->child(f);
            const bool match = family->text(0).contains(part, Qt::CaseInsensitive);
            family->setHidden(!match);
            shown += match ? 1 : 0;
            only = match ? family : only;
        }
        matches += shown;
        group->setHidden(!part.isEmpty() && shown == 0);
        if (!part.isEmpty()) {
            group->setExpanded(shown > 0);
        }
    }
    if (!part.isEmpty() && matches == 1) {
        taxaTree_->setCurrentItem(only); // the one family found is the one chosen
    }
    if (QTreeWidgetItem* current = taxaTree_->currentItem(); current != nullptr && !current->isHidden()) {
        taxaTree_->scrollToItem(current);
    }
}

void TaxonDialog::nodeChosen(QTreeWidgetItem* item) {
    if (settingUp_ || item == nullptr) {
        return;
    }
    const std::string tag = item->data(0, tagRole).toString().toStdString();
    if (tag.empty()) {
        return; // the root chooses nothing
    }
    if (tag.front() == 'F') {
        setCorrectTaxon(item->text(0).toStdString());
    }
    selectionKey_ = TaxaTree::tagNumber(tag);
    keyLabel_->setText(QString::number(selectionKey_));
    refreshOk();
}

UnknownTaxonAnswer TaxonDialog::answer() const {
    return {selectionKey_, correctTaxon_, AnswerSource::User, {}};
}

UnknownTaxonAnswer TaxonDialog::ask(const UnknownTaxonQuestion& question) {
    prepare(question);
    exec();
    return answer();
}

bool TaxonDialog::remember() const {
    return remember_->isChecked() && selectionKey_ >= 0;
}

void TaxonDialog::ignoreTaxon() {
    setCorrectTaxon({});
    selectionKey_ = 0;
    keyLabel_->setText(QStringLiteral("0"));
    done(QDialog::Accepted);
}

void TaxonDialog::acceptChoice() {
    if (ok_->isEnabled()) {
        done(QDialog::Accepted);
    }
}

void TaxonDialog::useDictionaryForRemaining() {
    if (knownAnswer_) {
        selectionKey_ = knownAnswer_->id;
        setCorrectTaxon(knownAnswer_->family);
        dictionaryForRemaining_ = true;
        done(QDialog::Accepted);
    }
}

void TaxonDialog::abortRead() {
    selectionKey_ = -1;
    keyLabel_->setText(QStringLiteral("-1"));
    done(QDialog::Rejected);
}

// Closing the window (or Escape) answers nothing about the name: the read stops, and the
// file can be opened again. Leaving a column out takes "Ignore this taxon".
void TaxonDialog::reject() {
    abortRead();
}

} // namespace torrentix
