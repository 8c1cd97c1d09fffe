#pragma once
// The question about a taxon name that the taxa database does not know ("Taxa"): the
// name given, with its blanks and control characters made visible, where it stands in the
// file, the family chosen and where the suggestion comes from, the tree of groups and
// families to choose from with a search field, "Remember this choice", the buttons "Ignore
// this taxon", "OK" and "Abort", and, when the taxon dictionary knows this name and others
// that follow, "Use the dictionary's family for all N remaining names". It
// answers the name resolution of the sample reader. Every answer is explicit: "OK" (the
// button Enter presses) waits until a family of the database is chosen, so that neither
// it nor Enter ever leaves a column out; closing the window counts as "Abort".

#include "input/nameresolution.h"
#include "input/taxadatabase.h"
#include "input/taxatree.h"

#include <QDialog>
#include <QHash>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace torrentix {

class ElidedLabel;

// A name as it must be read: leading, trailing and repeated blanks as "␠", control
// characters as their symbols ("␉"), invisible characters named ("[no-break space]").
// Where the screen's fonts lack those symbols, a blank reads "[blank]" and a control
// character "[U+0009]".
QString visibleName(const QString& name, bool controlPictures = true);

class TaxonDialog : public QDialog {
    Q_OBJECT
  public:
    // `families`: the family records, for the families named like their group, which the
    // tree leaves out.
    TaxonDialog(const TaxaTree& tree, const std::vector<FamilyRecord>& families,
                QWidget* parent = nullptr); // object name "unknownTaxonDialog"

    // Sets the dialog up for a name: nothing chosen, no search, the tree collapsed to its
    // groups, the window at its usual size and, when there is a suggestion, the suggested
    // family selected and scrolled into view.
    void prepare(const UnknownTaxonQuestion& question);
    // The answer as the dialog holds it now.
    UnknownTaxonAnswer answer() const;
    // prepare, show modally, and answer once a button or the window's closing hid it.
    UnknownTaxonAnswer ask(const UnknownTaxonQuestion& question);
    // "Remember this choice" was ticked for the last answer (never for Abort).
    bool remember() const;
    // The last answer was "Use the dictionary's family for all N remaining names".
    bool dictionaryForRemaining() const { return dictionaryForRemaining_; }

    int selectionKey() const { return selectionKey_; }
    // The item of a group ("G5") or family ("F14") tag; the root is "".
    QTreeWidgetItem* itemOfTag(const std::string& tag) const;

    // The buttons.
    void ignoreTaxon();
    void acceptChoice();
    void abortRead();
    void useDictionaryForRemaining();

  protected:
    void reject() override;

  private:
    void buildTree(const std::vector<FamilyRecord>& families);
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, const std::string& text, const std::string& tag);
    void nodeChosen(QTreeWidgetItem* item);
    void filterTree(const QString& part);
    void setCorrectTaxon(std::string name);
    void refreshOk(); // "OK" only while it answers with a family

    const TaxaTree& tree_;
    QHash<QString, QTreeWidgetItem*> itemsByTag_;
    int selectionKey_ = 0;
    std::string correctTaxon_;
    bool settingUp_ = false;
    bool controlPictures_ = true; // the fonts show "␠" and "␉"
    bool dictionaryForRemaining_ = false;
    std::optional<SuggestedFamily> knownAnswer_; // the dictionary's family of the name asked

    ElidedLabel* givenName_ = nullptr;    // unknownNameLabel
    QLabel* place_ = nullptr;             // lbl_place: column, and k of n unknown names
    ElidedLabel* correctName_ = nullptr;  // familyLabel
    QLabel* source_ = nullptr;            // lbl_source: where the suggestion comes from
    QPushButton* byDictionary_ = nullptr; // cmddictionary
    QPushButton* ok_ = nullptr;           // cmdok
    QLabel* keyLabel_ = nullptr;          // lbl_taxkey (hidden)
    QLineEdit* find_ = nullptr;           // txt_find
    QTreeWidget* taxaTree_ = nullptr;
    QCheckBox* remember_ = nullptr; // chk_remember
};

} // namespace torrentix
