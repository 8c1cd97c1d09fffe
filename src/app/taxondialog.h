#pragma once
// The question about a taxon name that the taxa database does not know ("Taxa"): the
// name given, the family chosen, the tree of groups and families to choose from, and the
// buttons "Ignore this taxon", "OK" and "Abort". It answers the name resolution of the
// sample reader; closing the window counts as "Ignore this taxon".

#include "input/nameresolution.h"
#include "input/taxatree.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace torrentix {

class TaxonDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TaxonDialog(const TaxaTree& tree, QWidget* parent = nullptr); // object name "Form3"

    // Sets the dialog up for a name: nothing chosen, the tree collapsed to its groups and,
    // when there is a suggestion, the suggested family selected and scrolled into view.
    void prepare(const UnknownTaxonQuestion& question);
    // The answer as the dialog holds it now.
    UnknownTaxonAnswer answer() const;
    // prepare, show modally, and answer once a button or the window's closing hid it.
    UnknownTaxonAnswer ask(const UnknownTaxonQuestion& question);

    int selectionKey() const { return selectionKey_; }
    QTreeWidgetItem* itemOfNode(int node) const;

    // The buttons.
    void ignoreTaxon();
    void acceptChoice();
    void abortRead();

  protected:
    void reject() override;

  private:
    void buildTree();
    void nodeChosen(QTreeWidgetItem* item);
    void setCorrectTaxon(std::string name);

    const TaxaTree& tree_;
    std::vector<QTreeWidgetItem*> items_; // by node index
    int selectionKey_ = 0;
    std::string correctTaxon_;
    bool settingUp_ = false;

    QLabel* givenName_ = nullptr;   // lbl_vecchionome
    QLabel* correctName_ = nullptr; // lbl_nuovonome
    QLabel* keyLabel_ = nullptr;    // lbl_taxkey (hidden)
    QTreeWidget* tv1_ = nullptr;
};

} // namespace torrentix
