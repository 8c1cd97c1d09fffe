#include "graphs/resultscells.h"
#include "graphs/resultslist.h"
#include "graphs/twips.h"
#include "testrun.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

// Twelve samples numbered 1..12 whose STAR_ICMi values sort differently as text and as
// numbers.
RunResult twelveSamples() {
    const double star[12] = {0.95, -12.5, 10.2, 9.8, 1.0, 0.5, 0.25, 2.0, 3.0, 4.0, 5.0, 6.0};
    std::vector<TestSample> samples;
    for (int i = 0; i < 12; ++i) {
        TestSample s;
        s.code = std::to_string(i + 1);
        s.name = "Site " + std::to_string(i + 1);
        s.sampclass = i == 3 ? 0 : 1 + i % 6;
        s.testval = {number(0.1 * i), i == 0 ? "N/A" : number(1.0 / 3.0), "N/A"};
        s.staricm = star[i];
        s.gigicm = 0.954;
        samples.push_back(s);
    }
    return makeRun(samples, {"  Conduc", "pH", "VAR3"});
}

QStringList column(const ResultsList& list, int c) {
    QStringList texts;
    for (int r = 0; r < list.topLevelItemCount(); ++r) {
        texts << list.topLevelItem(r)->text(c);
    }
    return texts;
}

} // namespace

TEST(ResultsCells, SampleCodesTakeTwoIntegerDigitsAndAlwaysTheDecimalPoint) {
    EXPECT_EQ(formatSampleCode("5"), "05.");
    EXPECT_EQ(formatSampleCode("12"), "12.");
    EXPECT_EQ(formatSampleCode("100"), "100.");
    EXPECT_EQ(formatSampleCode("2.25"), "02.3");
    EXPECT_EQ(formatSampleCode("0.04"), "00.");
    EXPECT_EQ(formatSampleCode("-3"), "-03.");
    EXPECT_EQ(formatSampleCode(" 7 "), "07.");
    EXPECT_EQ(formatSampleCode("A7"), "A7");
    EXPECT_EQ(formatSampleCode(""), "");
}

TEST(ResultsCells, RowsShowIndicesAndNumericTestValuesWithTwoDecimals) {
    const RunResult run = twelveSamples();
    const ResultsRow row = resultsRowTexts(run, 1);
    EXPECT_EQ(row[0], "2");
    EXPECT_EQ(row[1], "02.");
    EXPECT_EQ(row[2], "Site 2         ");
    EXPECT_EQ(row[3], "2");
    EXPECT_EQ(row[4], "-12.50");
    EXPECT_EQ(row[5], "0.95");
    EXPECT_EQ(row[6], "0.10");
    EXPECT_EQ(row[7], "0.33");
    EXPECT_EQ(row[8], "N/A");
    EXPECT_EQ(resultsRowTexts(run, 0)[7], "N/A");

    const ResultsRow headers = resultsHeaders(run.table, 2);
    EXPECT_EQ(headers[5], "Eas_ICMi");
    EXPECT_EQ(headers[6], "  Conduc");
    EXPECT_EQ(headers[7], "pH");

    RunResult latin = run;
    latin.table.samples[0].name = "Gew\xe4sser";
    EXPECT_EQ(resultsRowTexts(latin, 0)[2], QString::fromUtf8("Gew\u00e4sser"));
}

TEST(ResultsList, ShowsTheNineColumnsWithTheirAlignments) {
    ResultsList list;
    EXPECT_EQ(list.objectName(), "lv1");
    ASSERT_EQ(list.columnCount(), 9);
    EXPECT_TRUE(list.isColumnHidden(0));
    EXPECT_EQ(list.headerItem()->text(1), "CODE");
    EXPECT_EQ(list.headerItem()->text(4), "STAR_ICMi");
    EXPECT_EQ(list.columnWidth(2), twipsToPixels(1300, list.logicalDpiX()));

    list.refresh(twelveSamples(), 3);
    ASSERT_EQ(list.topLevelItemCount(), 12);
    EXPECT_EQ(list.headerItem()->text(5), "Med_ICMi");
    EXPECT_EQ(list.headerItem()->text(8), "VAR3");
    const QTreeWidgetItem* row = list.topLevelItem(4);
    EXPECT_EQ(row->text(1), "05.");
    const Qt::Alignment horizontal[9] = {Qt::AlignLeft,    Qt::AlignRight,   Qt::AlignLeft,
                                         Qt::AlignRight,   Qt::AlignHCenter, Qt::AlignRight,
                                         Qt::AlignHCenter, Qt::AlignLeft,    Qt::AlignLeft};
    for (int c = 1; c < 9; ++c) {
        EXPECT_EQ(Qt::Alignment(row->textAlignment(c)) & Qt::AlignHorizontal_Mask, horizontal[c]) << c;
    }

    list.clearRows();
    EXPECT_EQ(list.topLevelItemCount(), 0);
}

TEST(ResultsList, SortsCellTextsAsTextAndUnsortsBySampleNumberText) {
    ResultsList list;
    list.refresh(twelveSamples(), 0);
    list.sortRows(4, ResultsList::SortChoice::Ascending);
    const QStringList ascending = column(list, 4);
    EXPECT_EQ(ascending.first(), "-12.50");
    EXPECT_LT(ascending.indexOf("-12.50"), ascending.indexOf("0.95"));
    EXPECT_LT(ascending.indexOf("10.20"), ascending.indexOf("9.80"));
    EXPECT_EQ(ascending.last(), "9.80");

    list.sortRows(4, ResultsList::SortChoice::Descending);
    EXPECT_EQ(column(list, 4).first(), "9.80");
    EXPECT_EQ(column(list, 4).last(), "-12.50");

    list.sortRows(4, ResultsList::SortChoice::Unsort);
    EXPECT_EQ(column(list, 0), QStringList({"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}));

    list.sortRows(3, ResultsList::SortChoice::Ascending);
    EXPECT_EQ(column(list, 3).first(), "0");

    // A new run is listed in the order chosen last.
    list.refresh(twelveSamples(), 0);
    EXPECT_EQ(column(list, 3).first(), "0");
    EXPECT_EQ(column(list, 3).last(), "6");
}

TEST(ResultsList, HeaderClickOffersTheSortMenu) {
    ResultsList list;
    list.refresh(twelveSamples(), 0);
    list.show();
    emit list.header()->sectionClicked(4);
    auto* menu = list.findChild<QMenu*>("sortmenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), "Sort (Ascending)");
    EXPECT_EQ(menu->actions()[1]->text(), "Sort (Descending)");
    EXPECT_EQ(menu->actions()[2]->text(), "Unsort");
    menu->actions()[1]->trigger();
    menu->hide();
    EXPECT_EQ(column(list, 4).first(), "9.80");
}

TEST(ResultsList, CtrlCCopiesTheSelectedRowsUnderAHeaderLine) {
    ResultsList list;
    list.refresh(twelveSamples(), 3);
    list.sortRows(1, ResultsList::SortChoice::Descending); // 12., 11., 10., 09., ... as text
    list.topLevelItem(0)->setSelected(true);
    list.topLevelItem(2)->setSelected(true);
    QApplication::clipboard()->setText("before");
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "CODE\tSAMPLE\tCLASS\tSTAR_ICMi\tMed_ICMi\t  Conduc\tpH\tVAR3\n"
              "12.\tSite 12        \t6\t6.00\t0.95\t1.10\t0.33\tN/A\n"
              "10.\tSite 10        \t4\t4.00\t0.95\t0.90\t0.33\tN/A\n");

    // Without a selection there is nothing to copy.
    list.clearSelection();
    QApplication::clipboard()->setText("before");
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
}
