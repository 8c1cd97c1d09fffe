#include "graphs/graphslayout.h"
#include "graphs/graphsview.h"
#include "graphs/sampleinfolabel.h"
#include "graphs/scatterplot.h"
#include "testrun.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

// Twenty samples: test variable 1 has 3 numeric values, 2 has all 20, 3 has 8. The
// STAR_ICMi is constant when asked (its regressions then fail); the GIG ICMi rises.
std::vector<TestSample> twentySamples(bool constantStar) {
    std::vector<TestSample> samples;
    for (int i = 0; i < 20; ++i) {
        TestSample s;
        s.code = std::to_string(i + 1);
        s.name = "Site " + std::to_string(i + 1);
        s.testval[0] = i < 3 ? number(0.1 * i) : "N/A";
        s.testval[1] = number(0.05 * i);
        s.testval[2] = i < 8 ? number(1.0 - 0.1 * i) : "N/A";
        s.staricm = constantStar ? 0.5 : 0.3 + 0.03 * i + (i % 3) * 0.02;
        s.gigicm = 0.2 + 0.04 * i + (i % 2) * 0.05;
        samples.push_back(s);
    }
    return samples;
}

struct ShownView {
    GraphsView view;
    ScatterPlot* plot;
    SampleInfoLabel* lblsit;
    QLabel* txtRegr;

    explicit ShownView(const RunResult& run, int gigindex = 3) {
        view.resize(906, 574);
        view.fileRead(gigindex);
        view.setResults(run);
        view.show();
        view.enter();
        plot = view.findChild<ScatterPlot*>("Picturegraf");
        lblsit = view.findChild<SampleInfoLabel*>("lblsit");
        txtRegr = view.findChild<QLabel*>("txt_regr");
    }
    QPushButton* button(const char* name) const { return view.findChild<QPushButton*>(name); }
    QPointF pixelOf(double x, double y) const { return plot->currentScale().toPixel(x, y); }
};

bool isBold(const QPushButton* button) {
    return button->font().bold();
}

} // namespace

TEST(GraphsView, FirstVisitPlotsTheFirstTestVariableWithSixValues) {
    const RunResult run = makeRun(twentySamples(false));
    ShownView v(run);
    EXPECT_FALSE(v.button("cmdtvar_1")->isEnabled());
    EXPECT_TRUE(v.button("cmdtvar_2")->isEnabled());
    EXPECT_TRUE(v.button("cmdtvar_3")->isEnabled());
    EXPECT_TRUE(isBold(v.button("cmdtvar_2")));
    EXPECT_FALSE(isBold(v.button("cmdtvar_3")));
    EXPECT_TRUE(isBold(v.button("cmdswitch_0")));
    EXPECT_EQ(v.button("cmdswitch_0")->text(), "STAR");
    EXPECT_EQ(v.button("cmdswitch_1")->text(), "Med");
    const PlotInput& input = v.plot->input();
    ASSERT_EQ(input.x.size(), 20u);
    EXPECT_DOUBLE_EQ(input.x[19].value(), 0.95); // the values of test variable 2
    EXPECT_TRUE(v.txtRegr->text().startsWith("y = "));

    // A later visit keeps the choice; a new file chooses afresh.
    v.button("cmdtvar_3")->click();
    v.view.enter();
    EXPECT_TRUE(isBold(v.button("cmdtvar_3")));
    v.view.fileRead(3);
    v.view.setResults(run);
    v.view.enter();
    EXPECT_TRUE(isBold(v.button("cmdtvar_2")));
    EXPECT_FALSE(isBold(v.button("cmdtvar_3")));
}

TEST(GraphsView, OnlyAChangedChoiceRunsTheRegressionAgain) {
    // Every regression of the constant STAR_ICMi fails, so each one signals.
    ShownView v(makeRun(twentySamples(true)));
    QSignalSpy failures(&v.view, &GraphsView::regressionFailed);
    EXPECT_TRUE(v.txtRegr->text().isEmpty()); // the run's own regression failed

    v.button("cmdswitch_0")->click(); // already bold
    v.button("cmdtvar_2")->click();   // already bold
    EXPECT_EQ(failures.count(), 0);

    v.button("cmdtvar_3")->click();
    EXPECT_EQ(failures.count(), 1);
    EXPECT_TRUE(isBold(v.button("cmdtvar_3")));
    EXPECT_FALSE(isBold(v.button("cmdtvar_2")));
    EXPECT_FALSE(v.plot->input().regression->ok);

    v.button("cmdswitch_1")->click(); // the GIG ICMi varies: this one succeeds
    EXPECT_EQ(failures.count(), 1);
    EXPECT_TRUE(isBold(v.button("cmdswitch_1")));
    EXPECT_FALSE(isBold(v.button("cmdswitch_0")));
    const QString equation = v.txtRegr->text();
    EXPECT_TRUE(equation.startsWith("y = "));
    v.button("cmdswitch_1")->click();
    v.button("cmdtvar_3")->click();
    EXPECT_EQ(v.txtRegr->text(), equation);

    v.button("cmdswitch_0")->click(); // fails again: no equation, no line
    EXPECT_EQ(failures.count(), 2);
    EXPECT_TRUE(v.txtRegr->text().isEmpty());
    EXPECT_FALSE(v.view.grab().isNull());
}

TEST(GraphsView, PressListsTheSamplesUnderThePointerAndCtrlReleaseCopiesThem) {
    auto samples = twentySamples(false);
    samples[4].testval[1] = samples[2].testval[1]; // sample 5 lies on sample 3
    samples[4].staricm = samples[2].staricm;
    ShownView v(makeRun(samples));
    const QPoint onBoth = v.pixelOf(0.1, samples[2].staricm).toPoint();
    QApplication::clipboard()->setText("before");

    QTest::mousePress(v.plot, Qt::LeftButton, Qt::NoModifier, onBoth);
    const QString both = "3 - Site 3         \nx: 0.10  y: " + QString::number(samples[2].staricm, 'f', 2) +
                         "\n5 - Site 5         \nx: 0.10  y: " + QString::number(samples[2].staricm, 'f', 2) +
                         "\n";
    EXPECT_EQ(v.lblsit->text(), both);
    QTest::mouseRelease(v.plot, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, onBoth);
    EXPECT_EQ(QApplication::clipboard()->text(), "before"); // Shift+Ctrl is not Ctrl alone
    EXPECT_EQ(v.lblsit->text(), SampleInfoLabel::restingText);

    QTest::mousePress(v.plot, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(v.lblsit->text(), "no data");
    QTest::mouseRelease(v.plot, Qt::LeftButton, Qt::ControlModifier, QPoint(2, 2));
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    EXPECT_EQ(v.lblsit->text(), SampleInfoLabel::restingText);

    QTest::mousePress(v.plot, Qt::LeftButton, Qt::NoModifier, onBoth);
    QTest::mouseRelease(v.plot, Qt::LeftButton, Qt::ControlModifier, onBoth);
    EXPECT_EQ(QApplication::clipboard()->text(), both);
    EXPECT_EQ(v.lblsit->text(), "data stored to clipboard");
    // The hint returns by itself, the window staying responsive meanwhile.
    QDeadlineTimer deadline(10000);
    while (v.lblsit->text() != SampleInfoLabel::restingText && !deadline.hasExpired()) {
        QTest::qWait(50);
    }
    EXPECT_EQ(v.lblsit->text(), SampleInfoLabel::restingText);
}

TEST(GraphsView, DrawsWithoutFaultBeforeAnyRegression) {
    GraphsView empty;
    empty.resize(600, 400);
    EXPECT_FALSE(empty.grab().isNull());
    empty.enter();
    auto* plot = empty.findChild<ScatterPlot*>("Picturegraf");
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(empty.findChild<QLabel*>("lblsit")->text(), SampleInfoLabel::restingText);

    RunResult run = makeRun(twentySamples(false));
    run.regression.reset();
    ShownView v(run);
    EXPECT_FALSE(v.view.grab().isNull());
    EXPECT_TRUE(v.txtRegr->text().isEmpty());
    EXPECT_EQ(v.plot->input().x.size(), 20u);

    // Without any usable test variable: axes and disabled buttons only.
    auto samples = twentySamples(false);
    for (auto& s : samples) {
        s.testval = {"N/A", "N/A", "N/A"};
    }
    ShownView none(makeRun(samples));
    EXPECT_FALSE(none.plot->input().usable);
    EXPECT_FALSE(none.button("cmdtvar_1")->isEnabled());
    EXPECT_FALSE(none.button("cmdtvar_2")->isEnabled());
    EXPECT_FALSE(none.view.grab().isNull());
    QSignalSpy failures(&none.view, &GraphsView::regressionFailed);
    none.button("cmdswitch_1")->click();
    EXPECT_EQ(failures.count(), 0);
}

TEST(GraphsView, ButtonsShowTheTestNamesAndTheFirstTurnsUpperCaseAfterADrawing) {
    auto samples = twentySamples(false);
    for (auto& s : samples) {
        s.testval[0] = s.testval[1];
    }
    ShownView v(makeRun(samples, {"Cond", "N&P", "Var3"}));
    EXPECT_EQ(v.button("cmdtvar_1")->text(), "Cond");
    EXPECT_EQ(v.button("cmdtvar_2")->text(), "N&&P"); // shown with its ampersand
    v.button("cmdswitch_1")->click();
    EXPECT_EQ(v.button("cmdtvar_1")->text(), "COND");
    EXPECT_EQ(v.button("cmdtvar_2")->text(), "N&&P");
}

TEST(GraphsLayout, FollowsThePlotHeightAndPlacesTheButtonsRightToLeft) {
    // At 288 dots per inch a pixel is 5 twips; the view is 9060 x 5750 twips.
    const GraphsLayout layout = graphsLayout(QSize(1812, 1150), 288.0, 288.0);
    EXPECT_EQ(layout.plot, QRect(0, 0, 1065, 1065)); // 5750 - 425 twips high, and square
    EXPECT_EQ(layout.cmdtvar[0].right(), layout.plot.right());
    EXPECT_EQ(layout.cmdtvar[0].top(), 1065 + 6);
    EXPECT_EQ(layout.cmdtvar[1].right() + 1, layout.cmdtvar[0].left() - 6);
    EXPECT_EQ(layout.cmdtvar[2].right() + 1, layout.cmdtvar[1].left() - 6);
    EXPECT_EQ(layout.cmdswitch[0].left(), 0);
    EXPECT_LT(layout.cmdswitch[1].right(), layout.cmdtvar[2].left());
    EXPECT_EQ(layout.lblsit, QRect(1065 + 15, 0, 1812 - 40 - 1080, 426));
    EXPECT_EQ(layout.txtRegr.top(), 426 + 10);
    EXPECT_EQ(layout.txtRegr.width(), layout.lblsit.width());
    EXPECT_NEAR(layout.txtRegr.height(), 0.56 * 1065, 1);

    // A narrow view keeps room for the texts beside the plot.
    const GraphsLayout narrow = graphsLayout(QSize(1000, 1800), 288.0, 288.0);
    EXPECT_EQ(narrow.plot, QRect(0, 0, 465, 1715));
    EXPECT_EQ(narrow.lblsit.width(), 480);
}
