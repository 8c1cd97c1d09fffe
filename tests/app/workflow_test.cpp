// The workflow of the START view, driven without widgets.
#include "app/workflow.h"

#include "app/recentfiles.h"
#include "app/tableexport.h"
#include "apptestsupport.h"
#include "base/platform.h"
#include "metrics/catalogue.h"
#include "support/taxa.h"

#include <QSettings>
#include <QSignalSpy>

#include <algorithm>

namespace torrentix {
namespace {

using namespace testing;

struct WorkflowTest : ::testing::Test {
    TempDir dir;
    FakeDialogs dialogs;
    TaxonChoice taxonChoice = UnknownTaxonAnswer::ignore();
    int asked = 0; // unknown names asked about
    Workflow wf{realTaxa(), realTree(), dialogs,
                [this](const UnknownTaxonQuestion&) { return ++asked, taxonChoice; }};

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
SampleFile oneSampleLess() {
    SampleFile f = withoutTestVariables();
    f.rows.pop_back();
    return f;
}
SampleFile tooFewReferences() {
    return SampleFile::typical(SampleFile::classes(2, 3, 4, 3, 2, 1));
}

using Act = std::function<void(WorkflowTest&)>;
constexpr FlowState Start = FlowState::Start, Options = FlowState::Options, Results = FlowState::Results;
const auto gig = [](int g) -> Act { return [g](WorkflowTest& t) { t.wf.gigClick(g); }; };
const auto type = [](int i) -> Act { return [i](WorkflowTest& t) { t.wf.riverTypeClick(i); }; };
const auto tab = [](int i) -> Act { return [i](WorkflowTest& t) { t.wf.showView(i); }; };
// "OK", the open-file dialog answered with a sample file (cancelled without one) and the
// unknown names answered as given.
Act ok(SampleFile (*sample)() = nullptr, TaxonChoice taxon = UnknownTaxonAnswer::ignore()) {
    return [=](WorkflowTest& t) {
        t.taxonChoice = taxon;
        if (sample) {
            t.dialogs.openAnswers.push_back(writeSites(t.dir, sample()));
        }
        t.wf.okClick();
        settle(t.wf);
    };
}

// The user's way through the START view: each action starts from the state the one
// before left, and leads to the prompt (a part of it), "OK" enabled, the state, the view,
// the open-file dialogs shown, a part of the messages told, and a results file written.
const struct Transition {
    const char* action;
    Act act;
    const char* prompt;
    bool okEnabled;
    FlowState state;
    int view, opens;
    const char* told;
    bool written;
} transitions[] = {
    {"nothing chosen", [](WorkflowTest&) {}, "Choose a GIG", false, Start, StartTab, 0, "", false},
    {"RESULTS before any results", tab(ResultsTab), "Choose a GIG", false, Start, StartTab, 0, "", false},
    {"a GIG", gig(Alpine), "River Type", false, Start, StartTab, 0, "", false},
    {"a river type Alpine lacks", type(5), "River Type", false, Start, StartTab, 0, "", false},
    {"a river type", type(0), "open a file", true, Start, StartTab, 0, "", false},
    {"OK, dialog cancelled", ok(), "open a file", true, Start, StartTab, 1, "", false},
    {"OK, no such file", [](WorkflowTest& t) { t.dialogs.openAnswers = {"/no/such/s.txt"}, t.wf.okClick(); },
     "open a file", true, Start, StartTab, 1, "File not found.", false},
    {"OK, a row short of a cell: the dialog again", ok(rowShortOfACell), "open a file", true, Start, StartTab,
     2, "row 3", false},
    {"OK, unknown name, Abort", ok(withUnknownFamily, UnknownTaxonAnswer::abort()), "open a file", true,
     Start, StartTab, 1, "aborted", false},
    {"OK, unknown name ignored", ok(withUnknownFamily), "Set options", true, Options, StartTab, 1, "BAETIDAX",
     false},
    {"<-- back", [](WorkflowTest& t) { t.wf.backClick(); }, "open a file", true, Start, StartTab, 0, "",
     false},
    {"OK, test variables", ok(typical), "Set options", true, Options, StartTab, 1, "", false},
    {"OK computes", ok(), "", true, Results, ResultsTab, 0, "", true},
    {"GRAPHS", tab(GraphsTab), "", true, Results, GraphsTab, 0, "", false},
    {"START", tab(StartTab), "open a file", true, Results, StartTab, 0, "", false},
    {"a recent file that is gone", [](WorkflowTest& t) { t.wf.openRecent("/no/such/sites.txt"); },
     "open a file", true, Results, StartTab, 0, "File not found.", false},
    {"another river type, Run again: read without the dialog",
     [](WorkflowTest& t) { t.wf.riverTypeClick(1), t.wf.runAgain(); }, "Set options", true, Options, StartTab,
     0, "", false},
    {"<-- back once more", [](WorkflowTest& t) { t.wf.backClick(); }, "open a file", true, Results, StartTab,
     0, "", false},
    {"OK, no usable test variable: computed", ok(withoutTestVariables), "", true, Results, ResultsTab, 1, "",
     true},
    {"GRAPHS without a test variable", tab(GraphsTab), "", true, Results, ResultsTab, 0, "", false},
    {"START again", tab(StartTab), "open a file", true, Results, StartTab, 0, "", false},
    {"OK, equal EQR values", ok(withEqualEqr), "Set options", true, Options, StartTab, 1, "", false},
    {"Observed Min of EQR, OK: equal normalisation bounds",
     [](WorkflowTest& t) { t.wf.observedMinClick(0, true), t.wf.okClick(); }, "open a file", true, Results,
     StartTab, 0, "EQR", false},
    {"RESULTS after the failed run: the run before", tab(ResultsTab), "", true, Results, ResultsTab, 0, "",
     false},
    {"START after the failed run", tab(StartTab), "open a file", true, Results, StartTab, 0, "", false},
    {"OK, the same file again", ok(withEqualEqr), "Set options", true, Options, StartTab, 1, "", false},
    {"Observed Min of EQR unticked (it was kept), OK: regressions on EQR fail",
     [](WorkflowTest& t) { t.wf.observedMinClick(0, false), ok()(t); }, "", true, Results, ResultsTab, 0,
     "(Proc. regrlin)", true},
    {"START once more", tab(StartTab), "open a file", true, Results, StartTab, 0, "", false},
    {"OK, too few references", ok(tooFewReferences), "Set options", true, Options, StartTab, 1, "", false},
    {"OK is refused", ok(), "open a file", true, Results, StartTab, 0, "Refs(6)+Highs(5) < 6", false},
    {"RESULTS after the refusal: the run before", tab(ResultsTab), "", true, Results, ResultsTab, 0, "",
     false},
    {"START after the refusal", tab(StartTab), "open a file", true, Results, StartTab, 0, "", false},
    {"another GIG", gig(Northern), "River Type", false, Results, StartTab, 0, "", false},
};

TEST_F(WorkflowTest, EachActionLeadsToItsState) {
    for (const Transition& t : transitions) {
        SCOPED_TRACE(t.action);
        std::filesystem::remove(out());
        const int opens = dialogs.opens;
        const qsizetype told = dialogs.messages.size();
        t.act(*this);
        settle(wf);
        EXPECT_THAT(wf.prompt().toStdString(), holds(t.prompt));
        EXPECT_EQ(wf.okEnabled(), t.okEnabled);
        EXPECT_EQ(wf.state(), t.state);
        EXPECT_EQ(wf.currentView(), t.view);
        EXPECT_EQ(dialogs.opens - opens, t.opens);
        EXPECT_THAT(dialogs.messages.mid(told).join('\n').toStdString(), holds(t.told));
        EXPECT_EQ(fileExists(out()), t.written);
        EXPECT_FALSE(wf.busy());
    }
}

// A file is read from START or with results on show, a run starts only from the options
// (after the question, which always leads to it) and results come only from a run; nothing
// is read or run while the intervals are computed, and no move drops the results.
TEST(FlowStateTest, MovesAllowedAndRefused) {
    using S = FlowState;
    const std::pair<S, S> allowed[] = {{S::Start, S::Reading},     {S::Results, S::Reading},
                                       {S::Reading, S::Start},     {S::Options, S::Question},
                                       {S::Question, S::Running},  {S::Running, S::Results},
                                       {S::Results, S::Intervals}, {S::Intervals, S::Results}};
    const std::pair<S, S> refused[] = {{S::Start, S::Running},     {S::Reading, S::Running},
                                       {S::Question, S::Start},    {S::Start, S::Results},
                                       {S::Results, S::Start},     {S::Intervals, S::Reading},
                                       {S::Intervals, S::Options}, {S::Start, S::Start}};
    for (std::size_t k = 0; k < std::size(allowed); ++k) {
        EXPECT_TRUE(allowedMove(allowed[k].first, allowed[k].second)) << k;
        EXPECT_FALSE(allowedMove(refused[k].first, refused[k].second)) << k;
    }
}

// A read or run stopped at any stage leaves the results on show as they were, and no
// results file; a stop asked while the file is written comes too late: the run completes.
TEST_F(WorkflowTest, StoppedWorkKeepsThePreviousResults) {
    gig(CentralBaltic)(*this), type(0)(*this), ok(withoutTestVariables)(*this);
    const std::shared_ptr<const RunResult> before = wf.sharedResults();
    ASSERT_NE(before, nullptr);
    const std::string text = before->resultsText;
    wf.showView(StartTab);
    for (const WorkStage at : {WorkStage::Reading, WorkStage::Metrics, WorkStage::Indices,
                               WorkStage::Regressions, WorkStage::Writing}) {
        SCOPED_TRACE(static_cast<int>(at));
        std::vector<WorkStage> begun;
        wf.onStage([&](WorkStage s) {
            begun.push_back(s);
            if (s == at) {
                wf.cancelWork();
            }
        });
        std::filesystem::remove(out());
        ok(oneSampleLess)(*this);
        const bool tooLate = at == WorkStage::Writing;
        EXPECT_FALSE(wf.busy());
        EXPECT_EQ(begun.back(), at);
        EXPECT_EQ(wf.sharedResults() == before, !tooLate);
        EXPECT_EQ(fileExists(out()), tooLate);
        EXPECT_EQ(wf.table()->nsamp() == before->table.nsamp(), at == WorkStage::Reading);
        EXPECT_THAT(wf.prompt().toStdString(), holds(tooLate ? "" : "open a file"));
        wf.showView(ResultsTab);
        EXPECT_EQ(wf.currentView(), ResultsTab);
        EXPECT_EQ(wf.results()->resultsText == text, !tooLate);
        wf.showView(StartTab);
    }
    wf.onStage({});
    EXPECT_THAT(dialogs.messages.join('\n').toStdString(), Not(HasSubstr("Stopped")));
}

// The option rows as "min value", with "*" before when "Observed Min" is ticked, "!" after
// when the value is not a number and "b" when "Biological" is ticked.
QString rows(const Workflow& w) {
    QStringList shown;
    for (int i = 0; i < optionRowCount; ++i) {
        shown << (w.row(i).observed ? "*" : "") + w.row(i).minText +
                     (w.row(i).minError.isEmpty() ? "" : "!") + (w.row(i).biological ? "b" : "");
    }
    return shown.join('|');
}

// "Min Value" is judged when the field is left: a number as typed, a decimal comma as a
// point, empty as 0, anything else kept and marked ("!"); "Observed Min" empties and locks
// it; each on its own row.
TEST_F(WorkflowTest, MinValueAndObservedMin) {
    const struct {
        int row;
        const char* typed; // nullptr: "Observed Min" clicked
        bool ticked;
        const char* rows;
    } cases[] = {{0, "1x", false, "1x!|0|0"},          {0, "", false, "0|0|0"},
                 {0, " -1,5e2 ", false, "-1.5e2|0|0"}, {0, "12.5", false, "12.5|0|0"},
                 {1, nullptr, true, "12.5|*|0"},       {1, nullptr, false, "12.5|0|0"},
                 {2, nullptr, true, "12.5|0|*"},       {1, nullptr, true, "12.5|*|*"},
                 {0, "1,000.5", false, "1,000.5!|*|*"}};
    for (const auto& c : cases) {
        c.typed ? (wf.minValueChange(c.row, c.typed), wf.minValueLeft(c.row))
                : wf.observedMinClick(c.row, c.ticked);
        EXPECT_EQ(rows(wf), c.rows) << c.row << " " << (c.typed ? c.typed : "ticked");
        EXPECT_TRUE(c.typed || wf.row(c.row).minEnabled == !c.ticked);
    }
}

// Asked before the run starts when the results file exists, and said when it is read-only:
// Yes overwrites it (read-only it stays so); No asks for another name, never the sample
// file's, and adds ".txt"; no name keeps the earlier file, every time. The results show.
TEST_F(WorkflowTest, ExistingResultsFile) {
    const struct {
        std::deque<bool> yes;
        std::vector<std::string> names;
        bool readOnly, replaced;
        const char* other; // the file written instead
        const char* told;
    } cases[] = {{{}, {}, false, false, "", "No file was saved."},
                 {{}, {"sites.txt", "other"}, false, false, "other.txt", "cannot replace the sample file"},
                 {{}, {"./sites", "Other.TXT"}, false, false, "Other.TXT", "cannot replace the sample file"},
                 {{true}, {}, true, true, "", ""},
                 {{}, {}, true, false, "", "No file was saved."},
                 {{true}, {}, false, true, "", ""}};
    wf.gigClick(CentralBaltic);
    wf.riverTypeClick(0);
    bool busyAsked = true; // or moved on by a click meanwhile
    dialogs.duringQuestion = [&] {
        wf.okClick(), wf.backClick(), wf.runAgain();
        busyAsked = wf.busy() || wf.state() != FlowState::Question;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        writeFile(out(), "earlier results");
        platform::setReadOnly(out(), c.readOnly);
        dialogs.yesNoAnswers = c.yes;
        for (const auto& name : c.names) {
            dialogs.saveAnswers.push_back(QString::fromStdString(dir.file(name)));
        }
        dialogs.messages.clear();
        ok(withoutTestVariables)(*this);
        EXPECT_THAT(dialogs.questions.last().toStdString(),
                    Mentions(out(), c.readOnly ? "is read-only. Overwrite" : "exists. Overwrite"));
        EXPECT_FALSE(busyAsked);
        EXPECT_EQ(readFile(out()) != "earlier results", c.replaced);
        EXPECT_EQ(platform::isReadOnly(out()), c.readOnly);
        platform::setReadOnly(out(), false);
        EXPECT_TRUE(!*c.other || fileExists(dir.file(c.other)));
        EXPECT_THAT(dialogs.messages.join('\n').toStdString(), holds(c.told));
        EXPECT_EQ(readFile(dir.file("sites.txt")), withoutTestVariables().text());
        EXPECT_EQ(wf.currentView(), ResultsTab);
    }
}

// Numbers a file may not mean as they are read are asked about before anything is
// computed or written: decimal commas (Yes reads them as points) and cells that are not
// plain numbers; the report notes both.
TEST_F(WorkflowTest, NumbersThatNeedAnAnswer) {
    const struct {
        const char* tail; // added to every cell of the second family
        bool yes;
        const char* asked;
        const char* noted; // nullptr: nothing computed
    } cases[] = {
        {",5", false, "decimal comma (\"", nullptr},
        {"x", false, "\"5x\" read as 5\n", nullptr},
        {"x", true, "Continue with these values? [Continue/Abort]", "not plain numbers were read"},
        {",5", true, "Read commas as decimal points?", "Decimal commas were read as decimal points."},
    };
    gig(CentralBaltic)(*this);
    type(0)(*this);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        SampleFile f = withoutTestVariables();
        for (auto& row : f.rows) {
            row[SampleFile::firstFamily + 1] += c.tail;
            if (c.tail[0] == ',') { // a decimal-comma file writes its EQR so too
                std::replace(row[3].begin(), row[3].end(), '.', ',');
            }
        }
        std::filesystem::remove(out());
        dialogs.yesNoAnswers = {c.yes};
        dialogs.questions.clear();
        dialogs.openAnswers = {writeSites(dir, f)};
        wf.okClick();
        settle(wf);
        EXPECT_THAT(dialogs.questions.join('\n').toStdString(), holds(c.asked));
        EXPECT_EQ(fileExists(out()), c.noted != nullptr);
        EXPECT_THAT(wf.reportText().toStdString(), holds(c.noted ? c.noted : ""));
    }
}

// Lines after an empty line inside the data are asked about before any name: read too, the
// data ended at the empty line, or the read cancelled.
TEST_F(WorkflowTest, LinesAfterABlankLineAreAskedAbout) {
    gig(CentralBaltic)(*this);
    type(0)(*this);
    const std::string path = writeSites(dir, withoutTestVariables()).toStdString();
    std::string text = readFile(path);
    std::size_t twoFromEnd = text.size() - 2;
    for (int lines = 0; lines < 3; ++lines) {
        twoFromEnd = text.rfind("\r\n", twoFromEnd - 1);
    }
    writeFile(path, text.insert(twoFromEnd, "\r\n"));
    for (const auto& [choice, report] :
         {std::pair{0, "14 samples"}, std::pair{1, "11 samples"}, std::pair{2, "Process aborted"}}) {
        std::filesystem::remove(out());
        dialogs.choices = {choice};
        dialogs.questions.clear();
        dialogs.messages.clear();
        dialogs.openAnswers = {QString::fromStdString(path)};
        wf.okClick();
        settle(wf);
        EXPECT_EQ(
            dialogs.questions.join('\n').toStdString(),
            "3 non-blank lines after the blank line 14 will not be read. [Read them too/Stop here/Cancel]");
        EXPECT_THAT(wf.reportText().toStdString() + dialogs.messages.join(" ").toStdString(), holds(report))
            << choice;
        EXPECT_EQ(fileExists(out()), choice != 2);
    }
}

// The files read come back newest first, at most 8, in the next session too; the open
// dialog starts in the last file's folder.
TEST_F(WorkflowTest, RecentFilesOutlastTheSession) {
    QSettings settings(QString::fromStdString(dir.file("settings.ini")), QSettings::IniFormat);
    RecentFiles earlier;
    earlier.keepIn(&settings);
    for (int i = 9; i > 0; --i) {
        earlier.add(QString::fromStdString(dir.file(std::to_string(i) + ".txt")));
    }
    wf.keepSettingsIn(&settings);
    gig(CentralBaltic)(*this), type(0)(*this), ok(withoutTestVariables)(*this);
    EXPECT_EQ(dialogs.openFolders, QStringList{QString::fromStdString(dir.path())});
    EXPECT_EQ(wf.recentFiles().mid(0, 2), (QStringList{QString::fromStdString(dir.file("sites.txt")),
                                                       QString::fromStdString(dir.file("1.txt"))}));
    EXPECT_EQ(wf.recentFiles().size(), 8);
}

// The GIG, river type, row options and bootstrap tick last ran come back for Run again, for
// another file and in the next session, where a file waiting to be opened opens at once at
// its options, which name the GIG and river type and wait for OK, with test variables or not.
TEST_F(WorkflowTest, ChoicesOutlastRunsAndSessions) {
    QSettings settings(QString::fromStdString(dir.file("settings.ini")), QSettings::IniFormat);
    wf.keepSettingsIn(&settings);
    const QString sites = writeSites(dir, typical());
    wf.openWhenPossible(sites); // waits for the river type
    gig(Alpine)(*this), type(1)(*this);
    QCoreApplication::processEvents();
    settle(wf);
    ASSERT_EQ(wf.state(), FlowState::Options);
    EXPECT_EQ(dialogs.opens, 0);
    wf.observedMinClick(0, true), wf.minValueChange(1, "2.5"), wf.biologicalClick(2, true);
    ok()(*this);
    wf.intervalsClick(true);
    wf.showView(StartTab), wf.runAgain(), settle(wf);
    EXPECT_EQ(rows(wf), "*|2.5|0b");
    EXPECT_EQ(wf.gigtypeLabel(), "R-A2");
    FakeDialogs later;
    Workflow next(realTaxa(), realTree(), later, [](const UnknownTaxonQuestion&) { return TaxonChoice(); });
    next.keepSettingsIn(&settings);
    EXPECT_TRUE(next.selectedGig() == Alpine && next.selectedType() == 1 && next.okEnabled());
    EXPECT_TRUE(next.intervalsWanted());
    EXPECT_EQ(next.gigtypeLabel(), "");                         // no run on show yet
    for (const auto sample : {typical, withoutTestVariables}) { // each waits for OK
        next.openWhenPossible(writeSites(dir, sample()));
        QCoreApplication::processEvents();
        settle(next);
        EXPECT_TRUE(next.state() == FlowState::Options && !next.results());
        EXPECT_EQ(next.prompt(), "For GIG Alpine, river type R-A2: set the options and press OK");
        EXPECT_EQ(rows(next) == "*|2.5|0b", sample == typical); // a row without a test variable takes none
        next.backClick();
    }
}

// A refused run leaves the results and the report shown before, and says why they stay.
TEST_F(WorkflowTest, RefusedRunKeepsTheViews) {
    gig(CentralBaltic)(*this), type(0)(*this), ok(withoutTestVariables)(*this);
    const RunResult* before = wf.results();
    const QString report = wf.reportText();
    ok(tooFewReferences)(*this), ok()(*this);
    EXPECT_EQ(wf.results(), before);
    EXPECT_EQ(wf.reportText(), report);
    EXPECT_THAT(wf.viewsCaption().toStdString(),
                Mentions("not replaced: the run of sites.txt", "failed: too few reference samples"));
    EXPECT_EQ(wf.gigtypeLabel(), "R-C1");
}

// Answers the user asks to remember go to the taxa map, created by the first, and answer
// later reads without asking, as the report says; a map that cannot be read is told of and
// the names are asked. "Taxa map" opens the map in its editor, making one where there is none.
TEST_F(WorkflowTest, TaxaMapRemembersAnswers) {
    const std::string map = dir.file("config/taxa-map.tsv");
    wf.useTaxaMap(QString::fromStdString(map));
    const struct {
        const char* mapText; // nullptr: as the last read left it
        TaxonChoice choice;
        int asked;
        const char* mapped; // in the map afterwards
    } cases[] = {{nullptr, {UnknownTaxonAnswer::family(120, "BAETIDAE"), false}, 1, ""},
                 {nullptr, {UnknownTaxonAnswer::family(120, "BAETIDAE"), true}, 1, "\nBAETIDAX\tBAETIDAE\n"},
                 {nullptr, {}, 0, "BAETIDAX\tBAETIDAE"},
                 {"NEMATODA\n", {UnknownTaxonAnswer::ignore(), true}, 1, "NEMATODA\nBAETIDAX\tIGNORE\n"}};
    gig(CentralBaltic)(*this), type(0)(*this);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mapped);
        if (c.mapText) {
            writeFile(map, c.mapText);
        }
        asked = 0;
        dialogs.messages.clear();
        std::filesystem::remove(out());
        ok(withUnknownFamily, c.choice)(*this);
        ok()(*this);
        EXPECT_EQ(asked, c.asked);
        EXPECT_THAT(fileExists(map) ? readFile(map) : "", holds(c.mapped));
        EXPECT_EQ(wf.reportText().contains("1 name mapped by your taxa map " + QString::fromStdString(map)),
                  c.asked == 0);
        EXPECT_EQ(dialogs.messages.join('\n').contains("line 1: expected a name"), c.mapText != nullptr);
    }
    std::filesystem::remove(map);
    QSignalSpy edit(&wf, &Workflow::taxaMapEditRequested);
    wf.openTaxaMap();
    ASSERT_EQ(edit.count(), 1) << wf.busy() << wf.taxaMapPath().toStdString()
                               << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(edit.at(0).at(0).toString(), QString::fromStdString(map));
    EXPECT_THAT(readFile(map), ::testing::StartsWith("#"));
}

// "Export table...", "Save results as..." and "Save intervals..." write where the user
// says: comma-separated for a ".csv" name, an extension kept in any letter case, the
// table with the intervals' columns once they are computed, the intervals' regressions
// table beside theirs. A name of the sample file however spelt (itself, without ".txt",
// through a link or "./"; the regressions table's name too), or a place that cannot be
// written, brings the dialog back.
TEST_F(WorkflowTest, SavesWriteWhereTheUserSaysNeverOverTheSampleFile) {
    wf.intervalsClick(true);
    QSignalSpy finished(&wf, &Workflow::intervalsFinished);
    bool refused = false; // OK and Run again while the intervals are computed
    QObject::connect(&wf, &Workflow::intervalsStarted, &wf, [&] {
        wf.okClick(), wf.runAgain();
        refused = wf.state() == FlowState::Intervals && dialogs.opens == 1;
    });
    gig(CentralBaltic)(*this), type(0)(*this), ok(withoutTestVariables)(*this);
    EXPECT_TRUE(refused);
    ASSERT_TRUE(waitUntil([&finished] { return !finished.isEmpty(); }, "the intervals"));
    ASSERT_NE(wf.intervals(), nullptr);
    for (const char* link : {"link.tsv", "r.txt", "x_regressions.tsv"}) {
        std::filesystem::create_symlink(dir.file("sites.txt"), dir.file(link));
    }
    const char* sample = "cannot replace the sample file";
    const struct {
        void (Workflow::*save)();
        const char* refused; // the name first chosen, and why it is refused
        const char* told;
        const char* written; // the name chosen then, written as such, and its start
        const char* start;
    } saves[] = {
        {&Workflow::exportTable, "sites.txt", sample, "t.tsv", "CODE\tSAMPLE\tCLASS"},
        {&Workflow::exportTable, "link.tsv", sample, "t.CSV", "\"CODE\",\"SAMPLE\""},
        {&Workflow::exportTable, "./sites.txt", sample, "t2.TSV", "CODE\t"},
        {&Workflow::exportTable, "no/such/t.tsv", "Please choose another folder.", "t3.tsv", "CODE\t"},
        {&Workflow::saveResultsAs, "sites", sample, "R.TXT", "Torrentix"},
        {&Workflow::saveResultsAs, "r", sample, "R2.txt", "Torrentix"},
        {&Workflow::saveResultsAs, "./sites.txt", sample, "R3.Txt", "Torrentix"},
        {&Workflow::saveIntervals, "x.tsv", sample, "ci.csv", "# replicates=1000 "},
        {&Workflow::saveIntervals, "./sites.txt", sample, "ci2.TSV", "# replicates=1000 "},
    };
    for (const auto& s : saves) {
        SCOPED_TRACE(std::string(s.refused) + " then " + s.written);
        dialogs.messages.clear();
        dialogs.saveAnswers = {QString::fromStdString(dir.file(s.refused)),
                               QString::fromStdString(dir.file(s.written))};
        (wf.*s.save)();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_THAT(dialogs.messages[0].toStdString(), HasSubstr(s.told));
        EXPECT_THAT(readFile(dir.file(s.written)), ::testing::StartsWith(s.start));
    }
    EXPECT_EQ(readFile(dir.file("sites.txt")), withoutTestVariables().text());
    for (const char* link : {"link.tsv", "r.txt", "x_regressions.tsv"}) {
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file(link))) << link;
    }
    EXPECT_FALSE(fileExists(dir.file("R.TXT.txt")));
    EXPECT_THAT(readFile(dir.file("t.CSV")), HasSubstr("\"STAR_lo\""));
    EXPECT_THAT(readFile(dir.file("ci_regressions.csv")), ::testing::StartsWith("# replicates=1000 "));
    EXPECT_EQ(csvFromTsv("# seed=1\nA\tB\n\"x\"\"y\tz\"\t1.5e-05\n12\t\n0,5\tinf\n'=1\t-2\n"),
              "# seed=1\n\"A\",\"B\"\n\"x\"\"y\tz\",1.5e-05\n12,\n\"0,5\",\"inf\"\n\"'=1\",-2\n");
}

// A results file that cannot be written (its name taken by a folder) brings "Save results
// as..." at once, where no name leaves the results shown without a file, as told.
TEST_F(WorkflowTest, SaveResultsElsewhere) {
    std::filesystem::create_directory(out());
    dialogs.yesNoAnswers = {true};
    dialogs.saveAnswers = {QString::fromStdString(dir.file("no/such/r.txt")),
                           QString::fromStdString(dir.file("elsewhere"))};
    gig(CentralBaltic)(*this), type(0)(*this), ok(withoutTestVariables)(*this);
    ASSERT_NE(wf.results(), nullptr);
    EXPECT_EQ(readFile(dir.file("elsewhere.txt")), wf.results()->resultsText);
    EXPECT_THAT(dialogs.messages.join('\n').toStdString(), HasSubstr("Please choose another folder."));
    dialogs.yesNoAnswers = {true};
    dialogs.messages.clear();
    ok(withoutTestVariables)(*this);
    EXPECT_EQ(dialogs.messages.last(), "No file was saved.");
    EXPECT_EQ(wf.currentView(), ResultsTab);
}

} // namespace
} // namespace torrentix
