// The unknown-taxon dialog "Taxa" and its answers.
#include "app/taxondialog.h"

#include "apptestsupport.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace torrentix {
namespace {

using testing::testTaxa;

class TaxonDialogTest : public ::testing::Test {
  protected:
    TaxaTree tree = albero(testTaxa().records());
    TaxonDialog dialog{tree};
    QTreeWidget* tv1 = dialog.findChild<QTreeWidget*>("tv1");

    UnknownTaxonQuestion question(const std::string& name) {
        return {name, suggestFamily(testTaxa(), name, false), &tree};
    }
    void press(const char* button) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    QString text(const char* label) { return dialog.findChild<QLabel*>(label)->text(); }
    QTreeWidgetItem* node(const std::string& tag) { return dialog.itemOfNode(tree.findByTag(tag)); }
    void clickNode(QTreeWidgetItem* item) {
        tv1->scrollToItem(item);
        QTest::mouseClick(tv1->viewport(), Qt::LeftButton, {}, tv1->visualItemRect(item).center());
    }
    void open(const std::string& name) {
        dialog.prepare(question(name));
        dialog.show();
    }
};

TEST_F(TaxonDialogTest, TreeHoldsGroupsAndFamilies) {
    EXPECT_EQ(dialog.objectName(), "Form3");
    EXPECT_EQ(dialog.windowTitle(), "Taxa");
    ASSERT_EQ(tv1->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tv1->topLevelItem(0);
    EXPECT_EQ(root->text(0), "TAXA");
    EXPECT_TRUE(root->isExpanded());
    QTreeWidgetItem* baetidae = node("F120");
    ASSERT_NE(baetidae, nullptr);
    EXPECT_EQ(baetidae->text(0), "BAETIDAE");
    EXPECT_EQ(baetidae->parent()->text(0), "EPHEMEROPTERA");
    EXPECT_EQ(baetidae->parent()->parent(), root);
}

TEST_F(TaxonDialogTest, SuggestionIsSelectedAndOkTakesIt) {
    open("BAETIDAX");
    EXPECT_EQ(text("lbl_vecchionome"), "BAETIDAX");
    EXPECT_EQ(text("lbl_nuovonome"), "BAETIDAE");
    EXPECT_EQ(tv1->currentItem(), node("F120"));
    EXPECT_TRUE(node("F120")->parent()->isExpanded());
    EXPECT_FALSE(node("F96")->parent()->isExpanded()); // GAMMARIDAE's group stays collapsed
    press("cmdok");
    EXPECT_FALSE(dialog.isVisible());
    const UnknownTaxonAnswer a = dialog.answer();
    EXPECT_EQ(a.selectionKey, 120);
    EXPECT_EQ(a.correctTaxon, "BAETIDAE");
}

TEST_F(TaxonDialogTest, WithoutSuggestionOkIgnores) {
    open("ZZZZZZZZ");
    EXPECT_EQ(text("lbl_nuovonome"), "");
    EXPECT_EQ(tv1->currentItem(), nullptr);
    press("cmdok");
    EXPECT_EQ(dialog.answer().selectionKey, 0);
    EXPECT_EQ(dialog.answer().correctTaxon, "");
}

TEST_F(TaxonDialogTest, PickedFamilyThenGroupKeepsTheFamily) {
    open("ZZZZZZZZ");
    clickNode(node("F96"));
    EXPECT_EQ(text("lbl_nuovonome"), "GAMMARIDAE");
    EXPECT_EQ(dialog.selectionKey(), 96);
    clickNode(node("G15"));
    EXPECT_EQ(text("lbl_nuovonome"), "GAMMARIDAE");
    EXPECT_EQ(dialog.selectionKey(), 15);
    clickNode(tv1->topLevelItem(0)); // the root changes nothing
    EXPECT_EQ(dialog.selectionKey(), 15);
    press("cmdok");
    EXPECT_EQ(dialog.answer().correctTaxon, "GAMMARIDAE");
    EXPECT_EQ(dialog.answer().selectionKey, 15);
}

TEST_F(TaxonDialogTest, IgnoreAbortAndClose) {
    open("BAETIDAX");
    press("cmdignore");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.answer().selectionKey, 0);
    EXPECT_EQ(dialog.answer().correctTaxon, "");

    open("BAETIDAX");
    press("cmdabort");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_LT(dialog.answer().selectionKey, 0);

    // Closing the window counts as "Ignore this taxon", suggestion or not.
    open("BAETIDAX");
    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.answer().selectionKey, 0);
    EXPECT_EQ(dialog.answer().correctTaxon, "");
}

TEST_F(TaxonDialogTest, EachQuestionStartsAfresh) {
    open("ZZZZZZZZ");
    clickNode(node("F96"));
    press("cmdok");
    open("QQQQQQQQ");
    EXPECT_EQ(text("lbl_nuovonome"), "");
    EXPECT_EQ(dialog.selectionKey(), 0);
    EXPECT_EQ(tv1->currentItem(), nullptr);
    EXPECT_FALSE(node("F96")->parent()->isExpanded());
}

TEST_F(TaxonDialogTest, AskWaitsForAButton) {
    QTimer::singleShot(20, &dialog, [this] { press("cmdok"); });
    const UnknownTaxonAnswer a = dialog.ask(question("HYDROPSYCHIDAX"));
    EXPECT_EQ(a.correctTaxon, "HYDROPSYCHIDAE");
    EXPECT_EQ(a.selectionKey, 167);
}

} // namespace
} // namespace torrentix
