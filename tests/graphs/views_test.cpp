#include "base/text.h"
#include "graphs/classhistogram.h"
#include "graphs/graphsview.h"
#include "graphs/histogrambars.h"
#include "graphs/resultscells.h"
#include "graphs/resultslist.h"
#include "graphs/sampleinfolabel.h"
#include "graphs/scatterplot.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace torrentix;
using torrentix::testing::Mentions;

namespace {

// Samples "1" .. "20" named "Site 1" ..: test variable 1 has 3 numeric values, 2 has all
// 20, 3 has 8. The STAR_ICMi runs from -1.2 to 10.25, so that it sorts differently as text
// and as numbers, or is constant when asked (its regressions then fail); the GIG ICMi rises.
// The default plot pair is the STAR_ICMi against test variable 2.
RunResult twentySampleRun(bool constantStar = false) {
    RunResult run;
    run.table.testname = {"Var1", "Var2", "Var3"};
    run.table.testcount = {3, 20, 8};
    for (int i = 0; i < 20; ++i) {
        run.table.samples.push_back({std::to_string(i + 1),
                                     "Site " + std::to_string(i + 1),
                                     i % 7,
                                     {i < 3 ? std::to_string(0.1 * i) : "N/A", std::to_string(0.05 * i),
                                      i < 8 ? std::to_string(1.0 - 0.1 * i) : "N/A"},
                                     {}});
        run.indices.staricm.push_back(constantStar ? 0.5 : 0.6 * (i - 2) + (i % 3) * 0.05);
        run.indices.gigicm.push_back(0.2 + 0.04 * i + (i % 2) * 0.05);
        run.plotx.push_back(run.table.samples.back().testval[1]);
    }
    run.ploty = run.indices.staricm;
    run.regression = regrlin(run.plotx, run.ploty);
    return run;
}

struct ShownView : GraphsView {
    explicit ShownView(const RunResult& run) {
        resize(906, 574);
        fileRead(3);
        setResults(run);
        show();
        enter();
    }
    ScatterPlot* plot() const { return findChild<ScatterPlot*>(); }
    QString text(const char* label) const { return findChild<QLabel*>(label)->text(); }
    QPushButton* button(const char* name) const { return findChild<QPushButton*>(name); }
    // The active index and test variable show in bold.
    QString bold() const {
        QString names;
        for (const QPushButton* b : findChildren<QPushButton*>()) {
            names += b->font().bold() ? b->objectName() + " " : "";
        }
        return names;
    }
};

QStringList column(const ResultsList& list, int c) {
    QStringList texts;
    for (int r = 0; r < list.topLevelItemCount(); ++r) {
        texts << list.topLevelItem(r)->text(c);
    }
    return texts;
}

} // namespace

TEST(GraphsView, PlotsTheChosenPairAndRegressesOnlyOnAChange) {
    RunResult run = twentySampleRun(true);
    run.table.testname = {"Cond", "N&P", "Var3"};
    ShownView v(run);
    QSignalSpy failures(&v, &GraphsView::regressionFailed);
    EXPECT_FALSE(v.button("cmdtvar_1")->isEnabled());
    EXPECT_EQ(v.button("cmdswitch_1")->text(), "Med"); // the GIG's short name
    EXPECT_EQ(v.button("cmdtvar_2")->text(), "N&&P");  // the ampersand shown as written
    // The first visit took the first test variable with six values. Then: the button clicked,
    // the test variable and index plotted, and the regressions failed so far (every one of
    // the constant STAR_ICMi fails); a click on the active button changes nothing.
    const std::tuple<const char*, std::size_t, int, int> steps[] = {
        {"cmdswitch_0", 1, 0, 0}, {"cmdtvar_2", 1, 0, 0},   {"cmdtvar_3", 2, 0, 1},
        {"cmdswitch_1", 2, 1, 1}, {"cmdswitch_1", 2, 1, 1}, {"cmdswitch_0", 2, 0, 2}};
    for (const auto& [button, testVariable, index, failed] : steps) {
        SCOPED_TRACE(button);
        v.button(button)->click();
        EXPECT_EQ(v.plot()->input().x[1], parseNumeric(run.table.samples[1].testval[testVariable]));
        EXPECT_EQ(v.plot()->input().y, index == 1 ? run.indices.gigicm : run.indices.staricm);
        EXPECT_EQ(failures.count(), failed);
        EXPECT_EQ(v.text("txt_regr").isEmpty(), index == 0); // an equation only when it succeeded
        EXPECT_EQ(v.bold(), QString("cmdswitch_%1 cmdtvar_%2 ").arg(index).arg(testVariable + 1));
    }
    EXPECT_EQ(v.button("cmdtvar_1")->text(), "COND"); // upper-cased from the second drawing on
    v.enter();                                        // a later visit keeps the choice
    EXPECT_EQ(v.bold(), "cmdswitch_0 cmdtvar_3 ");
    v.fileRead(3); // a new file chooses afresh
    v.setResults(run);
    v.enter();
    EXPECT_EQ(v.bold(), "cmdswitch_0 cmdtvar_2 ");
}

TEST(GraphsView, DrawsWithoutResultsRegressionOrUsableTestVariable) {
    GraphsView empty;
    empty.enter();
    QTest::mousePress(empty.findChild<ScatterPlot*>(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(empty.findChild<SampleInfoLabel*>()->text(), SampleInfoLabel::restingText);
    RunResult run = twentySampleRun();
    run.regression.reset();
    EXPECT_TRUE(ShownView(run).text("txt_regr").isEmpty());
    run.table.testcount = {5, 5, 5};
    ShownView none(run);
    QSignalSpy failures(&none, &GraphsView::regressionFailed);
    none.button("cmdswitch_1")->click();
    EXPECT_FALSE(none.plot()->input().usable || none.button("cmdtvar_2")->isEnabled() ||
                 failures.count() > 0);
    EXPECT_FALSE(empty.grab().isNull() || none.grab().isNull());
}

TEST(GraphsView, PressListsTheSamplesUnderThePointerAndCtrlReleaseCopiesThem) {
    RunResult run = twentySampleRun();
    run.table.samples[4].testval[1] = run.table.samples[2].testval[1]; // sample 5 lies on sample 3
    run.ploty[4] = run.ploty[2];
    ShownView v(run);
    const QPoint onBoth = v.plot()->currentScale().toPixel(0.1, run.ploty[2]).toPoint();
    QApplication::clipboard()->setText("before");
    QTest::mousePress(v.plot(), Qt::LeftButton, {}, onBoth);
    const QString both = v.text("lblsit");
    EXPECT_THAT(both.toStdString(), Mentions("3 - Site 3", "5 - Site 5"));
    QTest::mouseRelease(v.plot(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, onBoth);
    EXPECT_EQ(v.text("lblsit"), SampleInfoLabel::restingText);
    QTest::mousePress(v.plot(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(v.text("lblsit"), SampleInfoLabel::noDataText);
    QTest::mouseRelease(v.plot(), Qt::LeftButton, Qt::ControlModifier, QPoint(2, 2));
    EXPECT_EQ(QApplication::clipboard()->text(), "before"); // neither Shift+Ctrl nor "no data" is copied
    QTest::mouseClick(v.plot(), Qt::LeftButton, Qt::ControlModifier, onBoth);
    EXPECT_EQ(QApplication::clipboard()->text(), both);
    EXPECT_EQ(v.text("lblsit"), SampleInfoLabel::storedText);
    EXPECT_TRUE(QTest::qWaitFor([&v] { return v.text("lblsit") == SampleInfoLabel::restingText; }, 10000));
}

TEST(ResultsCells, NumericSampleCodesTakeTwoIntegerDigitsAndAlwaysTheDecimalPoint) {
    const std::pair<const char*, const char*> cases[] = {{"5", "05."},     {"12", "12."},   {"100", "100."},
                                                         {"2.25", "02.3"}, {"0.04", "00."}, {"-3", "-03."},
                                                         {" 7 ", "07."},   {"A7", "A7"},    {"", ""}};
    for (const auto& [code, shown] : cases) {
        EXPECT_EQ(formatSampleCode(code), shown) << code;
    }
}

TEST(ResultsList, SortsByTheTextsOfAColumnAndUnsortsBySampleNumberText) {
    ResultsList list;
    list.refresh(twentySampleRun(), 0);
    list.show();
    emit list.header()->sectionClicked(4);                // the STAR_ICMi header offers the sort menu
    list.findChild<QMenu*>()->actions().at(1)->trigger(); // descending
    QStringList text = column(list, 4);
    std::sort(text.begin(), text.end(), std::greater<>());
    EXPECT_EQ(column(list, 4), text);   // "9.60" before "10.25", "-1.20" before "-0.55"
    list.refresh(twentySampleRun(), 0); // a new run is listed in the order chosen last
    EXPECT_EQ(column(list, 4), text);
    list.sortRows(4, ResultsList::SortChoice::Ascending);
    std::reverse(text.begin(), text.end());
    EXPECT_EQ(column(list, 4), text);
    list.sortRows(4, ResultsList::SortChoice::Unsort);
    EXPECT_EQ(column(list, 0).mid(0, 4), QStringList({"1", "10", "11", "12"}));
}

TEST(ResultsList, CtrlCCopiesTheSelectedRowsInTheirShownOrderUnderAHeaderLine) {
    RunResult run = twentySampleRun();
    run.table.samples[18].name = "Gew\xe4sser"; // Windows-1252
    ResultsList list;
    list.refresh(run, 3);
    list.sortRows(1, ResultsList::SortChoice::Descending);
    list.topLevelItem(0)->setSelected(true);
    list.topLevelItem(1)->setSelected(true);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromUtf8("CODE\tSAMPLE\tCLASS\tSTAR_ICMi\tMed_ICMi\tVar1\tVar2\tVar3\n"
                                "20.\tSite 20\t5\t10.25\t1.01\tN/A\t0.95\tN/A\n"
                                "19.\tGew\u00e4sser\t4\t9.60\t0.92\tN/A\t0.90\tN/A\n"));
    list.clearSelection(); // nothing to copy: the clipboard keeps its text
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().contains("Site 20"));
}

TEST(HistogramBars, StandOnOneBaseAboveTheirLabelsWithHeightsInProportionToTheCounts) {
    const QSizeF area(237.0, 118.5);
    const auto labels = histogramLabelRects(area);
    const std::pair<ClassCounts, int> cases[] = {
        {{5, 3, 0, 0, 0, 2, 0}, 10}, {{0, 0, 0, 0, 0, 0, 4}, 4}, {{1, 1, 1, 1, 1, 1, 1}, 7}};
    for (const auto& [counts, nsamp] : cases) {
        const auto bars = histogramBars(counts, nsamp, area);
        const double base = bars[0].bottom(); // a class of every sample reaches the top edge
        for (std::size_t j = 0; j < bars.size(); ++j) {
            EXPECT_NEAR(bars[j].height(), base * counts[j] / nsamp, 1e-9) << j;
            EXPECT_TRUE(bars[j].bottom() == base && base < labels[j].top()) << j;
            EXPECT_DOUBLE_EQ(bars[j].center().x(), labels[j].center().x()) << j;
            EXPECT_TRUE(j == 0 || bars[j].left() > bars[j - 1].right()) << j;
        }
    }
    for (const QRectF& bar : histogramBars({}, 0, area)) {
        EXPECT_TRUE(bar.isNull()); // no sample, no bar
    }
}

TEST(ClassHistogram, RedrawsFromAClearedArea) {
    ClassHistogram histogram;
    histogram.resize(237, 118);
    histogram.faisto({5, 3, 0, 0, 0, 2, 0}, 10);
    const QPoint inTallBar = histogram.bars()[0].center().toPoint();
    EXPECT_EQ(histogram.grab().toImage().pixelColor(inTallBar), histogramClasses()[0].colour);
    histogram.faisto({1, 0, 0, 0, 0, 0, 9}, 10);
    EXPECT_EQ(histogram.grab().toImage().pixelColor(inTallBar), histogramBackground);
}
