// The workflow of the START view, driven without widgets.
#include "app/workflow.h"

#include "apptestsupport.h"
#include "input/taxatree.h"
#include "metrics/catalogue.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace torrentix {
namespace {

using testing::classList;
using testing::FakeDialogs;
using testing::SampleContent;
using testing::testTaxa;
using testing::writeSample;

class WorkflowTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    FakeDialogs dialogs;
    TaxaTree tree = albero(testTaxa().records());
    std::vector<UnknownTaxonQuestion> questions;
    UnknownTaxonAnswer answer = UnknownTaxonAnswer::ignore();
    Workflow wf{testTaxa(), tree, dialogs, [this](const UnknownTaxonQuestion& q) {
                    questions.push_back(q);
                    return answer;
                }};

    void choose(int gig, int type) {
        wf.optGigClick(gig);
        wf.option1Click(type);
    }
    QString sample(const SampleContent& content, const QString& name = "sites.txt") {
        return writeSample(dir.path(), name, content);
    }
    // Chooses the file in the open dialog of the next "OK".
    void open(const QString& path) {
        dialogs.openAnswers.push_back(path);
        wf.command1Click();
    }
    QStringList reportLines() const { return wf.reportText().split('\n'); }
};

SampleContent withTests(std::vector<int> classes, std::array<int, 3> numeric) {
    SampleContent content;
    content.classes = std::move(classes);
    content.numericTests = numeric;
    return content;
}

TEST_F(WorkflowTest, PromptAndOkFollowTheChoices) {
    EXPECT_EQ(wf.prompt(), "Choose a GIG.....");
    EXPECT_FALSE(wf.okEnabled());
    EXPECT_FALSE(wf.riverTypesVisible());
    EXPECT_FALSE(wf.backVisible());
    EXPECT_FALSE(wf.metricFrameVisible());
    EXPECT_TRUE(wf.noresults());
    EXPECT_EQ(wf.wfstep(), 0);

    wf.optGigClick(Alpine);
    EXPECT_EQ(wf.prompt(), "Choose a River Type.....");
    EXPECT_FALSE(wf.okEnabled());
    EXPECT_TRUE(wf.riverTypesVisible());

    wf.option1Click(1);
    EXPECT_EQ(wf.prompt(), "Press OK to open a file");
    EXPECT_TRUE(wf.okEnabled());
    EXPECT_EQ(wf.gigtypeLabel(), "R-A2");

    // Another GIG deselects the river type; the code shown stays until another is chosen.
    wf.optGigClick(Mediterranean);
    EXPECT_EQ(wf.prompt(), "Choose a River Type.....");
    EXPECT_FALSE(wf.okEnabled());
    EXPECT_FALSE(wf.selectedType().has_value());
    EXPECT_EQ(wf.gigtypeLabel(), "R-A2");
}

TEST_F(WorkflowTest, NorthernThenAlpineRiverTypes) {
    wf.optGigClick(Northern);
    EXPECT_EQ(wf.ntypes(), 8);
    for (int t = 0; t < 8; ++t) {
        EXPECT_TRUE(wf.riverTypeVisible(t));
        EXPECT_TRUE(wf.riverTypeCaption(t).startsWith(QStringLiteral("R-N%1 (").arg(t + 1)));
    }
    EXPECT_EQ(wf.riverTypeCaption(0), "R-N1 (small lowland siliceous moderate alcalinity)");

    wf.optGigClick(Alpine);
    EXPECT_EQ(wf.ntypes(), 2);
    EXPECT_EQ(wf.riverTypeCaption(0), "R-A1 (small to medium high altitude calcareous)");
    EXPECT_EQ(wf.riverTypeCaption(1), "R-A2 (small to medium high altitude siliceous)");
    for (int t = 2; t < 8; ++t) {
        EXPECT_FALSE(wf.riverTypeVisible(t));
    }
    wf.option1Click(5); // a hidden option cannot be chosen
    EXPECT_FALSE(wf.selectedType().has_value());

    wf.optGigClick(EasternContinental);
    EXPECT_EQ(wf.riverTypeCaption(5), "R-E6 (Danube River:  middle and downstream)");
    EXPECT_EQ(wf.riverTypeCaption(2), "R-E3 (Plains: large and very large, lowland )");
}

TEST_F(WorkflowTest, MetricPanelShowsOnRightButtonOnly) {
    wf.optGigMouseDown(CentralBaltic, true);
    EXPECT_TRUE(wf.metricFrameVisible());
    EXPECT_EQ(wf.metricFrameCaption(), "Central / Baltic GIG metrics");
    const QString central = wf.metricText();
    EXPECT_TRUE(central.startsWith("1. ASPT: AverageScorePerTaxon (weight: 0.334)\n\n2. EPT_N"));
    EXPECT_TRUE(central.endsWith("6. TAXA_N: Number of Families (weight: 0.167)"));
    wf.optGigMouseUp();
    EXPECT_FALSE(wf.metricFrameVisible());

    wf.optGigMouseDown(Northern, true);
    EXPECT_EQ(wf.metricFrameCaption(), "Northern GIG metrics");
    EXPECT_EQ(wf.metricText(), central);
    wf.optGigMouseDown(EasternContinental, true);
    EXPECT_TRUE(wf.metricText().contains("4. TAXA_N; Number of Families (weight: 0.25)"));

    // A left press hides the panel; neither press chooses a GIG.
    wf.optGigMouseDown(Alpine, false);
    EXPECT_FALSE(wf.metricFrameVisible());
    EXPECT_FALSE(wf.selectedGig().has_value());
    EXPECT_EQ(Workflow::gigTooltip(Alpine), "Press mouse right button to view Alpine GIG metrics");
}

TEST_F(WorkflowTest, CancelledOrMissingFileLeavesStepZero) {
    choose(Alpine, 0);
    wf.command1Click();
    ASSERT_EQ(dialogs.openTitles, QStringList{"OPEN FILE"});
    EXPECT_TRUE(dialogs.openFilters.front().startsWith("Text File (*.txt)"));
    EXPECT_EQ(wf.wfstep(), 0);
    EXPECT_EQ(wf.reportText(), "file: not found.");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    open(dir.path() + "/nothing.txt");
    EXPECT_EQ(dialogs.messages, QStringList{"File not found."});
    EXPECT_EQ(dialogs.openTitles.size(), 2); // no second dialog after a missing file
    EXPECT_EQ(wf.wfstep(), 0);
}

TEST_F(WorkflowTest, OptionsShowOnlyForTestVariablesWithSixValues) {
    choose(Mediterranean, 0);
    open(sample(withTests(classList(8, 2, 3, 2, 1, 1), {6, 5, 0})));

    EXPECT_EQ(wf.wfstep(), 2);
    EXPECT_TRUE(wf.noresults());
    EXPECT_TRUE(wf.metricFrameVisible());
    EXPECT_TRUE(wf.testVariablesVisible());
    EXPECT_FALSE(wf.metricTextVisible());
    EXPECT_FALSE(wf.gigOptionsVisible());
    EXPECT_FALSE(wf.riverTypesVisible());
    EXPECT_TRUE(wf.backVisible());
    EXPECT_EQ(wf.metricFrameCaption(), "Test variables (file:sites.txt)");
    EXPECT_EQ(wf.prompt(), "Set options and/or minimum value(s) for normalisation of test variables");
    EXPECT_TRUE(wf.row(0).enabled);
    EXPECT_TRUE(wf.row(0).minEnabled);
    EXPECT_FALSE(wf.row(1).enabled);
    EXPECT_FALSE(wf.row(1).minEnabled);
    EXPECT_FALSE(wf.row(2).enabled);
    EXPECT_EQ(wf.row(0).label, "Altitude");
    EXPECT_EQ(wf.row(1).label, "Conductivity");
    EXPECT_EQ(wf.row(0).minText, "0");

    // A second "OK" computes with the file already read.
    wf.command1Click();
    EXPECT_EQ(dialogs.openTitles.size(), 1);
    EXPECT_FALSE(wf.noresults());
    EXPECT_EQ(wf.wfstep(), 0);
    EXPECT_FALSE(wf.testVariablesVisible());
    EXPECT_TRUE(wf.gigOptionsVisible());
    EXPECT_EQ(wf.currentView(), ResultsTab);
    EXPECT_TRUE(QFile::exists(dir.path() + "/sites_OUT.txt"));
}

TEST_F(WorkflowTest, FileWithoutUsableTestVariableIsComputedAtOnce) {
    choose(CentralBaltic, 2);
    open(sample(withTests(classList(6, 1, 2, 2, 1, 0), {5, 5, 5})));
    EXPECT_FALSE(wf.testVariablesVisible());
    EXPECT_FALSE(wf.backVisible());
    EXPECT_FALSE(wf.noresults());
    EXPECT_EQ(wf.currentView(), ResultsTab);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();

    // GRAPHS needs a test variable with 6 values: RESULTS stays.
    wf.cmdtab(GraphsTab);
    EXPECT_EQ(wf.currentView(), ResultsTab);
}

TEST_F(WorkflowTest, BackReopensTheFileDialog) {
    choose(Alpine, 0);
    const QString path = sample(withTests(classList(7, 1, 2, 1, 1, 1), {8, 0, 0}));
    open(path);
    ASSERT_EQ(wf.wfstep(), 2);
    wf.command2Click();
    EXPECT_EQ(wf.wfstep(), 0);
    EXPECT_TRUE(wf.gigOptionsVisible());
    EXPECT_TRUE(wf.riverTypesVisible());
    EXPECT_TRUE(wf.metricTextVisible());
    EXPECT_FALSE(wf.metricFrameVisible());
    EXPECT_FALSE(wf.backVisible());
    EXPECT_EQ(wf.prompt(), "Press OK to open a file");

    wf.command1Click(); // cancelled
    EXPECT_EQ(dialogs.openTitles.size(), 2);
    EXPECT_TRUE(wf.noresults());
}

TEST_F(WorkflowTest, MinValueAndObservedMin) {
    choose(Alpine, 0);
    open(sample(withTests(classList(7, 1, 2, 1, 1, 1), {8, 8, 8})));
    ASSERT_EQ(wf.wfstep(), 2);

    wf.testminChange(0, "1x");
    EXPECT_EQ(wf.row(0).minText, "0");
    wf.testminChange(0, "");
    EXPECT_EQ(wf.row(0).minText, "0");
    wf.testminChange(0, "12.5");
    EXPECT_EQ(wf.row(0).minText, "12.5");

    wf.chkObservedClick(1, true);
    EXPECT_TRUE(wf.row(1).observed);
    EXPECT_EQ(wf.row(1).minText, "");
    EXPECT_FALSE(wf.row(1).minEnabled);
    wf.chkObservedClick(1, false);
    EXPECT_EQ(wf.row(1).minText, "0");
    EXPECT_TRUE(wf.row(1).minEnabled);

    // Typing a number clears "Observed Min" of that row only.
    wf.chkObservedClick(2, true);
    wf.chkObservedClick(1, true);
    wf.testminChange(2, "3");
    EXPECT_FALSE(wf.row(2).observed);
    EXPECT_TRUE(wf.row(1).observed);
    EXPECT_FALSE(wf.optbusy());
}

TEST_F(WorkflowTest, TabsNeedResults) {
    wf.cmdtab(ResultsTab);
    EXPECT_EQ(wf.currentView(), StartTab);
    wf.cmdtab(GraphsTab);
    EXPECT_EQ(wf.currentView(), StartTab);

    choose(Northern, 3);
    open(sample(withTests(classList(6, 0, 3, 3, 1, 1), {3, 20, 0})));
    wf.command1Click();
    ASSERT_FALSE(wf.noresults());
    wf.cmdtab(GraphsTab);
    EXPECT_EQ(wf.currentView(), GraphsTab);
    EXPECT_EQ(wf.prompt(), "");
    wf.cmdtab(StartTab);
    EXPECT_EQ(wf.currentView(), StartTab);
    EXPECT_EQ(wf.prompt(), "Press OK to open a file");
}

TEST_F(WorkflowTest, ReportLinesAndPercentages) {
    choose(Mediterranean, 1);
    SampleContent content = withTests(classList(10, 10, 10, 5, 5, 0), {20, 11, 12});
    open(sample(content));
    wf.testminChange(0, "100");
    wf.chkIsmetricClick(0, true);
    wf.chkObservedClick(2, true);
    wf.command1Click();
    ASSERT_FALSE(wf.noresults()) << dialogs.messages.join(" | ").toStdString();

    const QStringList lines = reportLines();
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[0], "  REPORT:");
    EXPECT_EQ(lines[2], "  file location: " + dir.path() + "/");
    EXPECT_EQ(lines[3], "  filename: sites.txt");
    EXPECT_EQ(lines[5], "  GIG: Mediterranean");
    EXPECT_EQ(lines[6], "  River Type: R-M2 (medium lowland)");
    EXPECT_EQ(lines[8], "  40 samples - 6 Taxa (Families)");
    EXPECT_EQ(lines[9], "     10 Reference (25.00%)");
    EXPECT_EQ(lines[12], "     5 Moderate (12.50%)");
    EXPECT_EQ(lines[14], "     0 Bad (0.00%)");
    EXPECT_EQ(lines[15], "     0 Not Classified (0.00%)");
    EXPECT_EQ(lines[17], "  Test variables:");
    EXPECT_EQ(lines[18], "  Altitude (min value=100, bio).");
    EXPECT_EQ(lines[19], "  Var2 absent or values<12");
    EXPECT_EQ(lines[20], "  Nutrients (min value=).");
    ASSERT_TRUE(wf.reportCounts().has_value());
    EXPECT_EQ(wf.reportCounts()->second, 40);

    // With results on screen the report follows the choices at once.
    wf.option1Click(4);
    EXPECT_EQ(reportLines()[6], "  River Type: R-M5 (small mediterranean temporary)");
    EXPECT_EQ(reportLines()[5], "  GIG: Mediterranean");
    wf.optGigClick(Alpine);
    EXPECT_EQ(reportLines()[5], "  GIG: Alpine");
    EXPECT_EQ(reportLines()[6], "  River Type: ");
}

TEST_F(WorkflowTest, RefusedRunReturnsToStart) {
    choose(Alpine, 0);
    open(sample(withTests(classList(3, 2, 4, 3, 2, 1), {0, 0, 0})));
    EXPECT_EQ(dialogs.messages, QStringList{"Number of Refs(6)+Highs(5) < 6."});
    EXPECT_TRUE(wf.noresults());
    EXPECT_EQ(wf.currentView(), StartTab);
    EXPECT_EQ(wf.wfstep(), 0);
    EXPECT_FALSE(QFile::exists(dir.path() + "/sites_OUT.txt"));
    wf.cmdtab(ResultsTab);
    EXPECT_EQ(wf.currentView(), StartTab);

    // Refused after the options step: the choices and their prompt are back.
    dialogs.messages.clear();
    open(sample(withTests(classList(2, 3, 4, 3, 2, 1), {15, 0, 0})));
    ASSERT_EQ(wf.wfstep(), 2);
    wf.command1Click();
    EXPECT_EQ(dialogs.messages, QStringList{"Number of Refs(6)+Highs(5) < 6."});
    EXPECT_FALSE(wf.testVariablesVisible());
    EXPECT_TRUE(wf.gigOptionsVisible());
    EXPECT_EQ(wf.prompt(), "Press OK to open a file");
    EXPECT_TRUE(wf.okEnabled());
}

TEST_F(WorkflowTest, ExistingResultsFile) {
    choose(CentralBaltic, 0);
    const QString path = sample(withTests(classList(6, 2, 2, 1, 1, 0), {0, 0, 0}));
    const QString out = dir.path() + "/sites_OUT.txt";
    QFile previous(out);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("earlier results");
    previous.close();

    // No, then the save dialog cancelled: no file, the results still show.
    open(path);
    EXPECT_EQ(dialogs.questions, QStringList{"File " + out + " already exists. Overwrite?"});
    EXPECT_EQ(dialogs.saveProposals, QStringList{out});
    EXPECT_EQ(dialogs.messages, QStringList{"No file was saved."});
    EXPECT_EQ(testing::readText(out), "earlier results");
    EXPECT_FALSE(wf.noresults());

    // No, then a name without ".txt", after a refused attempt to replace the sample file.
    dialogs.messages.clear();
    dialogs.saveAnswers = {path, dir.path() + "/other"};
    open(path);
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().startsWith("The results cannot replace the sample file"));
    EXPECT_TRUE(QFile::exists(dir.path() + "/other.txt"));
    EXPECT_TRUE(testing::readText(path).startsWith("Samples for the tests"));

    // Yes overwrites.
    dialogs.messages.clear();
    dialogs.yesNoAnswers = {true};
    open(path);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_NE(testing::readText(out), "earlier results");
}

TEST_F(WorkflowTest, MalformedFileBringsTheDialogBack) {
    choose(Alpine, 0);
    SampleContent bad = withTests(classList(7, 1), {0, 0, 0});
    bad.missingColumnInRow = 2;
    dialogs.openAnswers = {sample(bad, "bad.txt")};
    wf.command1Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.front(),
              "Error #1. Too few columns in row 3 (file: " + dir.path() + "/bad.txt). Process aborted.");
    EXPECT_EQ(dialogs.openTitles.size(), 2);
    EXPECT_EQ(wf.wfstep(), 0);
    EXPECT_TRUE(wf.noresults());
}

TEST_F(WorkflowTest, UnknownTaxonAnswers) {
    choose(Alpine, 0);
    SampleContent content = withTests(classList(7, 1, 2), {0, 0, 0});
    content.families.push_back("BAETIDAX");
    const QString path = sample(content);

    answer = UnknownTaxonAnswer::abort();
    open(path);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].name, "BAETIDAX");
    ASSERT_TRUE(questions[0].suggestion.has_value());
    EXPECT_EQ(questions[0].suggestion->family, "BAETIDAE");
    EXPECT_EQ(dialogs.messages, QStringList{"Process aborted by the user."});
    EXPECT_EQ(wf.wfstep(), 0);
    EXPECT_TRUE(wf.noresults());
    EXPECT_EQ(dialogs.openTitles.size(), 1);

    dialogs.messages.clear();
    answer = UnknownTaxonAnswer::family(questions[0].suggestion->id, "BAETIDAE");
    open(path);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.front(),
              "The corrected file has been saved as " + dir.path() + "/sites_adj.txt");
    EXPECT_FALSE(wf.noresults());
    ASSERT_NE(wf.table(), nullptr);
    EXPECT_EQ(wf.table()->nfam(), 6); // merged into BAETIDAE

    dialogs.messages.clear();
    answer = UnknownTaxonAnswer::ignore();
    open(path);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages.front().endsWith("The following taxa were ignored:\nBAETIDAX"));
}

} // namespace
} // namespace torrentix
