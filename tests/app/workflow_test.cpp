// The workflow of the START view, driven without widgets.
#include "app/workflow.h"

#include "apptestsupport.h"
#include "metrics/catalogue.h"
#include "support/taxa.h"

#include <gtest/gtest.h>

namespace torrentix {
namespace {

using namespace testing;

struct WorkflowTest : ::testing::Test {
    TempDir dir;
    FakeDialogs dialogs;
    UnknownTaxonAnswer taxonAnswer = UnknownTaxonAnswer::ignore();
    Workflow wf{realTaxa(), realTree(), dialogs, [this](const UnknownTaxonQuestion&) { return taxonAnswer; }};

    std::string out() const { return dir.file("sites_OUT.txt"); }
};

// A text that holds `part`, or an empty one.
::testing::Matcher<std::string> holds(const char* part) {
    return *part ? ::testing::Matcher<std::string>(HasSubstr(part)) : ::testing::IsEmpty();
}

SampleFile rowShortOfACell() {
    SampleFile f = SampleFile::typical();
    f.rows[2].pop_back();
    return f;
}
SampleFile withUnknownFamily() {
    auto families = SampleFile::defaultFamilies();
    families.push_back("BAETIDAX");
    return SampleFile::typical(SampleFile::defaultClasses(), families);
}
SampleFile tooFewReferences() {
    return SampleFile::typical(SampleFile::classes(2, 3, 4, 3, 2, 1));
}

using Act = std::function<void(WorkflowTest&)>;
const auto gig = [](int g) -> Act { return [g](WorkflowTest& t) { t.wf.optGigClick(g); }; };
const auto type = [](int i) -> Act { return [i](WorkflowTest& t) { t.wf.option1Click(i); }; };
const auto tab = [](int i) -> Act { return [i](WorkflowTest& t) { t.wf.cmdtab(i); }; };
// "OK", the open-file dialog answered with a sample file (cancelled without one) and the
// unknown names answered as given.
Act ok(SampleFile (*sample)() = nullptr, UnknownTaxonAnswer taxon = UnknownTaxonAnswer::ignore()) {
    return [=](WorkflowTest& t) {
        t.taxonAnswer = taxon;
        if (sample) {
            t.dialogs.openAnswers.push_back(writeSites(t.dir, sample()));
        }
        t.wf.command1Click();
    };
}

// The user's way through the START view: each action starts from the state the one
// before left, and leads to the prompt (a part of it), "OK" enabled, the step, the view,
// the open-file dialogs shown, a part of the messages told, and a results file written.
const struct Transition {
    const char* action;
    Act act;
    const char* prompt;
    bool okEnabled;
    int step, view, opens;
    const char* told;
    bool written;
} transitions[] = {
    {"nothing chosen", [](WorkflowTest&) {}, "Choose a GIG", false, 0, StartTab, 0, "", false},
    {"RESULTS before any results", tab(ResultsTab), "Choose a GIG", false, 0, StartTab, 0, "", false},
    {"a GIG", gig(Alpine), "River Type", false, 0, StartTab, 0, "", false},
    {"a river type Alpine lacks", type(5), "River Type", false, 0, StartTab, 0, "", false},
    {"a river type", type(0), "open a file", true, 0, StartTab, 0, "", false},
    {"OK, dialog cancelled", ok(), "open a file", true, 0, StartTab, 1, "", false},
    {"OK, no such file",
     [](WorkflowTest& t) {
         t.dialogs.openAnswers = {"/no/such/sites.txt"};
         t.wf.command1Click();
     },
     "open a file", true, 0, StartTab, 1, "File not found.", false},
    {"OK, a row short of a cell: the dialog again", ok(rowShortOfACell), "open a file", true, 0, StartTab, 2,
     "row 3", false},
    {"OK, unknown name, Abort", ok(withUnknownFamily, UnknownTaxonAnswer::abort()), "open a file", true, 0,
     StartTab, 1, "aborted", false},
    {"OK, unknown name ignored", ok(withUnknownFamily), "Set options", true, 2, StartTab, 1, "BAETIDAX",
     false},
    {"<-- back", [](WorkflowTest& t) { t.wf.command2Click(); }, "open a file", true, 0, StartTab, 0, "",
     false},
    {"OK, test variables", ok(typical), "Set options", true, 2, StartTab, 1, "", false},
    {"OK computes", ok(), "", true, 0, ResultsTab, 0, "", true},
    {"GRAPHS", tab(GraphsTab), "", true, 0, GraphsTab, 0, "", false},
    {"START", tab(StartTab), "open a file", true, 0, StartTab, 0, "", false},
    {"OK, no usable test variable: computed", ok(withoutTestVariables), "", true, 0, ResultsTab, 1, "", true},
    {"GRAPHS without a test variable", tab(GraphsTab), "", true, 0, ResultsTab, 0, "", false},
    {"START again", tab(StartTab), "open a file", true, 0, StartTab, 0, "", false},
    {"OK, equal EQR values", ok(withEqualEqr), "Set options", true, 2, StartTab, 1, "", false},
    {"Observed Min of EQR, OK: equal normalisation bounds",
     [](WorkflowTest& t) {
         t.wf.chkObservedClick(0, true);
         t.wf.command1Click();
     },
     "open a file", true, 0, StartTab, 0, "EQR", false},
    {"RESULTS after the failed run", tab(ResultsTab), "open a file", true, 0, StartTab, 0, "", false},
    {"OK, the same file again", ok(withEqualEqr), "Set options", true, 2, StartTab, 1, "", false},
    {"OK: regressions on EQR fail", ok(), "", true, 0, ResultsTab, 0, "(Proc. regrlin)", true},
    {"START once more", tab(StartTab), "open a file", true, 0, StartTab, 0, "", false},
    {"OK, too few references", ok(tooFewReferences), "Set options", true, 2, StartTab, 1, "", false},
    {"OK is refused", ok(), "open a file", true, 0, StartTab, 0, "Refs(6)+Highs(5) < 6", false},
    {"RESULTS after the refusal", tab(ResultsTab), "open a file", true, 0, StartTab, 0, "", false},
    {"another GIG", gig(Northern), "River Type", false, 0, StartTab, 0, "", false},
};

TEST_F(WorkflowTest, EachActionLeadsToItsState) {
    for (const Transition& t : transitions) {
        SCOPED_TRACE(t.action);
        std::filesystem::remove(out());
        const int opens = dialogs.opens;
        const qsizetype told = dialogs.messages.size();
        t.act(*this);
        EXPECT_THAT(wf.prompt().toStdString(), holds(t.prompt));
        EXPECT_EQ(wf.okEnabled(), t.okEnabled);
        EXPECT_EQ(wf.wfstep(), t.step);
        EXPECT_EQ(wf.currentView(), t.view);
        EXPECT_EQ(dialogs.opens - opens, t.opens);
        EXPECT_THAT(dialogs.messages.mid(told).join('\n').toStdString(), holds(t.told));
        EXPECT_EQ(fileExists(out()), t.written);
        EXPECT_FALSE(wf.busy());
    }
}

// "Min Value" takes numbers only, "Observed Min" empties and locks it, a number typed
// clears "Observed Min"; each on its own row. The rows as "min value" or "*" + it when
// "Observed Min" is ticked.
TEST_F(WorkflowTest, MinValueAndObservedMin) {
    const struct {
        int row;
        const char* typed; // nullptr: "Observed Min" clicked
        bool ticked;
        const char* rows;
    } cases[] = {{0, "1x", false, "0|0|0"},       {0, "", false, "0|0|0"},
                 {0, "12.5", false, "12.5|0|0"},  {1, nullptr, true, "12.5|*|0"},
                 {1, nullptr, false, "12.5|0|0"}, {2, nullptr, true, "12.5|0|*"},
                 {1, nullptr, true, "12.5|*|*"},  {2, "3", false, "12.5|*|3"}};
    for (const auto& c : cases) {
        c.typed ? wf.testminChange(c.row, c.typed) : wf.chkObservedClick(c.row, c.ticked);
        QStringList rows;
        for (int i = 0; i < optionRowCount; ++i) {
            rows << (wf.row(i).observed ? "*" : "") + wf.row(i).minText;
        }
        EXPECT_EQ(rows.join('|'), c.rows) << c.row << " " << (c.typed ? c.typed : "ticked");
        EXPECT_TRUE(c.typed || wf.row(c.row).minEnabled == !c.ticked);
        EXPECT_FALSE(wf.optbusy());
    }
}

// Asked when the results file exists: Yes overwrites it; No asks for another name, never
// the sample file's, and adds ".txt"; no name keeps the earlier file. The results show.
TEST_F(WorkflowTest, ExistingResultsFile) {
    const struct {
        std::deque<bool> yes;
        std::vector<std::string> names;
        bool replaced;
        const char* other; // the file written instead
        const char* told;
    } cases[] = {{{}, {}, false, "", "No file was saved."},
                 {{}, {"sites.txt", "other"}, false, "other.txt", "cannot replace the sample file"},
                 {{true}, {}, true, "", ""}};
    wf.optGigClick(CentralBaltic);
    wf.option1Click(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        writeFile(out(), "earlier results");
        dialogs.yesNoAnswers = c.yes;
        for (const auto& name : c.names) {
            dialogs.saveAnswers.push_back(QString::fromStdString(dir.file(name)));
        }
        dialogs.messages.clear();
        ok(withoutTestVariables)(*this);
        EXPECT_THAT(dialogs.questions.last().toStdString(), Mentions(out(), "Overwrite"));
        EXPECT_EQ(readFile(out()) != "earlier results", c.replaced);
        EXPECT_TRUE(!*c.other || fileExists(dir.file(c.other)));
        EXPECT_THAT(dialogs.messages.join('\n').toStdString(), holds(c.told));
        EXPECT_EQ(readFile(dir.file("sites.txt")), withoutTestVariables().text());
        EXPECT_EQ(wf.currentView(), ResultsTab);
    }
}

TEST_F(WorkflowTest, ReportFollowsTheChoicesOnceResultsShow) {
    for (const Act& act : {gig(Mediterranean), type(1), ok(withoutTestVariables), type(4)}) {
        act(*this);
    }
    EXPECT_THAT(wf.reportText().toStdString(), Mentions("Mediterranean", "R-M5"));
    wf.optGigClick(Alpine);
    EXPECT_THAT(wf.reportText().toStdString(), Mentions("Alpine", "14 samples"));
}

} // namespace
} // namespace torrentix
