#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "run/calcola.h"
#include "support/taxa.h"
#include "support/sampletable.h"
#include "support/testsupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

const std::string header =
    "CODE\tSAMPLE\tCLASS\tIdx\tPress\tAlt\tBAETIDAE\tLEUCTRIDAE\tCHIRONOMIDAE\tGAMMARIDAE";

struct RunFixture : ::testing::Test {
    TempDir dir;
    const TaxaTree tree = albero(realTaxa().records());

    SampleTable readLines(const std::vector<std::string>& lines, const std::string& name = "s.txt") {
        writeFile(dir.file(name), crlfLines(lines));
        return inputtxt(dir.file(name), realTaxa(), tree, {}).table;
    }
    RunResult run(const SampleTable& t, int gig = CentralBaltic, RunOptions options = {}) {
        options.gigindex = gig;
        options.dateText = "06/12/2026";
        options.timeText = "10:00";
        return calcola(t, realTaxa(), options, {});
    }
};

// A row of a small file: class and three test values, then four abundances.
std::string row(int n, int cls, const std::string& tests, const std::string& abund) {
    return std::to_string(n) + "\tsite " + std::to_string(n) + "\t" + std::to_string(cls) + "\t" + tests +
           "\t" + abund;
}

std::vector<std::string> fileWithClasses(const std::vector<int>& classes) {
    std::vector<std::string> lines{"t", header};
    for (std::size_t i = 0; i < classes.size(); ++i) {
        int k = static_cast<int>(i);
        lines.push_back(row(k + 1, classes[i], std::to_string(k) + "\t" + std::to_string(10 - k) + "\t",
                            std::to_string(k + 1) + "\t" + std::to_string(k % 3) + "\t" +
                                std::to_string(20 - k) + "\t" + std::to_string(k % 2)));
    }
    return lines;
}

} // namespace

TEST_F(RunFixture, NormalisationRuleFollowsTheReferenceAndHighCounts) {
    auto six = run(readLines(fileWithClasses({6, 6, 6, 6, 6, 6, 2}), "six.txt"));
    EXPECT_TRUE(six.rule.usemedian);
    EXPECT_EQ(six.rule.refclass, 5);
    auto fivePlusOne = run(readLines(fileWithClasses({6, 6, 6, 6, 6, 5, 2}), "five.txt"));
    EXPECT_FALSE(fivePlusOne.rule.usemedian);
    EXPECT_EQ(fivePlusOne.rule.refclass, 4);
    auto tooFew = run(readLines(fileWithClasses({6, 6, 6, 5, 5, 4, 4})));
    EXPECT_TRUE(tooFew.refused);
    EXPECT_EQ(tooFew.messages, std::vector<std::string>{"Number of Refs(6)+Highs(5) < 6."});
    EXPECT_FALSE(fileExists(dir.file("s_OUT.txt")));
}

TEST_F(RunFixture, TestVariablesNeedSixValuesAndAreNormalisedInPlace) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6, 3});
    lines[8] = row(7, 3, "6\t\t", "1\t1\t1\t1");
    SampleTable t = readLines(lines);
    ASSERT_EQ(t.testcount, (std::array<int, 3>{7, 6, 0}));
    auto r = run(t);
    // Idx 0..6, lower 0, upper 6.
    EXPECT_EQ(r.table.samples[3].testval[0], "0.5");
    EXPECT_EQ(r.table.samples[6].testval[1], "N/A");
    EXPECT_EQ(r.plotTestVariable, 0);
    const std::string& text = r.resultsText;
    EXPECT_NE(
        text.find("Test Variables normalisation:\r\nIdx\t0 (min custom value)\t6 (max observed value)\r\n"
                  "Press\t0 (min custom value)\t10 (max observed value)\r\n\r\n"),
        std::string::npos);
    EXPECT_NE(text.find("STAR_ICMi vs Alt regression:\r\nnot calculated (available data<12).\r\n"),
              std::string::npos);
    EXPECT_NE(
        text.find(
            "Central / Baltic GIG ICMi vs Alt regression:\r\nnot calculated (available data of Alt <12)."),
        std::string::npos);
}

TEST_F(RunFixture, NoUsableTestVariableMeansNoNotesBlockAndNoDefaultPlot) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6});
    for (std::size_t i = 2; i < lines.size(); ++i) {
        lines[i] = row(static_cast<int>(i), 6, "\t\t", "1\t2\t3\t" + std::to_string(i));
    }
    auto r = run(readLines(lines));
    EXPECT_EQ(r.resultsText.find("Test Variables normalisation:"), std::string::npos);
    EXPECT_EQ(r.plotTestVariable, -1);
    EXPECT_FALSE(r.regression.has_value());
    EXPECT_TRUE(r.messages.empty());
}

TEST_F(RunFixture, TestVariableBoundsFollowTheOptions) {
    SampleTable t = readLines(fileWithClasses({6, 6, 6, 6, 6, 6, 5, 2}));
    RunOptions options;
    options.testVariables[0] = {"100", true, false}; // Observed Min wins over a typed value
    options.testVariables[1] = {"-5", false, true};  // custom minimum, reference median as upper value
    auto r = run(t, CentralBaltic, options);
    EXPECT_NE(r.resultsText.find("Idx\t0 (min observed value)\t7 (max observed value)"), std::string::npos);
    // Press of the Reference samples: 10 9 8 7 6 5, median 7.5.
    EXPECT_NE(r.resultsText.find("Press\t-5 (min custom value)\t7.5 (median of reference s.)"),
              std::string::npos);
}

TEST_F(RunFixture, ObservedBoundsKeepTheirStartValuesWhenNothingBeatsThem) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6});
    for (std::size_t i = 2; i < lines.size(); ++i) {
        lines[i] = row(static_cast<int>(i), 6,
                       std::to_string(2000000 + i) + "\t-" + std::to_string(3000000 + i) + "\t",
                       "1\t2\t3\t" + std::to_string(i));
    }
    RunOptions options;
    options.testVariables[0].observedMin = true;
    auto r = run(readLines(lines), CentralBaltic, options);
    EXPECT_NE(r.resultsText.find("Idx\t1000000 (min observed value)"), std::string::npos);
    EXPECT_NE(r.resultsText.find("(max observed value)"), std::string::npos);
    EXPECT_NE(r.resultsText.find("Press\t0 (min custom value)\t-1000000 (max observed value)"),
              std::string::npos);
}

TEST_F(RunFixture, MissingTestValuesStayMissingWhenTheUpperValueIsZero) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6, 2});
    for (std::size_t i = 2; i < lines.size(); ++i) {
        std::string idx = i == 8 ? "" : "-" + std::to_string(i);
        lines[i] = row(static_cast<int>(i), i == 8 ? 2 : 6, idx + "\t\t", "1\t2\t3\t" + std::to_string(i));
    }
    RunOptions options;
    options.testVariables[0].biological = true; // median of negative values... upper taken from the data
    options.testVariables[0].minText = "0";
    SampleTable t = readLines(lines);
    ASSERT_EQ(t.testcount[0], 6);
    // Force an upper value of 0: observed maximum of values all at most 0 is not 0 here, so
    // use a column of zeros instead.
    for (auto& s : t.samples) {
        if (s.testval[0] != "N/A") {
            s.testval[0] = "0";
        }
    }
    options.testVariables[0].biological = false;
    auto r = run(t, CentralBaltic, options);
    EXPECT_EQ(r.table.samples[0].testval[0], "0");
    EXPECT_EQ(r.table.samples[6].testval[0], "N/A");
}

TEST_F(RunFixture, EqualBoundsStopTheRunAndWriteNothing) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6, 2});
    for (std::size_t i = 2; i < lines.size(); ++i) {
        lines[i] = row(static_cast<int>(i), 6, "5\t\t", "1\t2\t3\t" + std::to_string(i));
    }
    RunOptions options;
    options.testVariables[0].observedMin = true; // lower = upper = 5
    SampleTable t = readLines(lines);
    try {
        run(t, CentralBaltic, options);
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Idx"), std::string::npos);
    }
    EXPECT_FALSE(fileExists(dir.file("s_OUT.txt")));
}

TEST_F(RunFixture, LongAndEmptyTestNamesAreShortenedBeforeTheNotes) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6, 2});
    lines[1] = "CODE\tSAMPLE\tCLASS\tConductivity\t\tpH\tBAETIDAE\tLEUCTRIDAE\tCHIRONOMIDAE\tGAMMARIDAE";
    auto r = run(readLines(lines));
    EXPECT_EQ(r.table.testname, (std::array<std::string, 3>{"Conducti", "VAR2", "pH"}));
    EXPECT_NE(r.resultsText.find("\r\nConducti\t0 (min custom value)"), std::string::npos);
    EXPECT_NE(r.resultsText.find("N\tSAMPLES\tSTAR_ICM index\tCen_ICM index\tConducti\tVAR2\tpH\r\n"),
              std::string::npos);
}

TEST_F(RunFixture, FailedRegressionsAreReportedOnceAndPrintedAsMissing) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6, 2});
    for (std::size_t i = 2; i < lines.size(); ++i) {
        // Idx has six values, but only two samples survive: the others have no family.
        std::string abund = i < 4 ? "1\t2\t3\t4" : "0\t0\t0\t0";
        lines[i] = row(static_cast<int>(i), 6, (i < 8 ? std::to_string(i) : "") + "\t\t", abund);
    }
    lines.push_back(row(20, 6, "\t\t", "1\t1\t1\t1"));
    lines.push_back(row(21, 6, "\t\t", "2\t1\t1\t1"));
    lines.push_back(row(22, 6, "\t\t", "3\t1\t1\t1"));
    lines.push_back(row(23, 6, "\t\t", "4\t1\t1\t1"));
    SampleTable t = readLines(lines);
    ASSERT_EQ(t.testcount[0], 6);
    auto r = run(t);
    EXPECT_EQ(std::count(r.messages.begin(), r.messages.end(), regressionErrorMessage), 1);
    EXPECT_NE(r.resultsText.find("m = N/A\r\nb = N/A\r\nr\xB2 = N/A\r\n\r\nSTAR_ICMi = N/A + N/A * Idx"),
              std::string::npos);
    EXPECT_EQ(r.resultsText.find("nan"), std::string::npos);
}

TEST_F(RunFixture, ExistingResultsFileIsReplacedOnlyWhenTheCallbackSaysSo) {
    SampleTable t = readLines(fileWithClasses({6, 6, 6, 6, 6, 6, 2}));
    writeFile(dir.file("s_OUT.txt"), "old results");
    RunOptions options;
    RunCallbacks declined;
    declined.existingResultsFile = [](const std::string&) { return std::nullopt; };
    auto none = calcola(t, realTaxa(), options, declined);
    EXPECT_TRUE(none.outputPath.empty());
    EXPECT_EQ(none.messages.back(), "No file was saved.");
    EXPECT_EQ(readFile(dir.file("s_OUT.txt")), "old results");
    RunCallbacks elsewhere;
    elsewhere.existingResultsFile = [&](const std::string&) { return std::optional(dir.file("other.txt")); };
    EXPECT_EQ(calcola(t, realTaxa(), options, elsewhere).outputPath, dir.file("other.txt"));
    EXPECT_EQ(readFile(dir.file("s_OUT.txt")), "old results");
    EXPECT_TRUE(fileExists(dir.file("other.txt")));
    // The sample file itself is never the results file.
    RunCallbacks onInput;
    onInput.existingResultsFile = [&](const std::string&) { return std::optional(t.inputpath); };
    const std::string input = readFile(t.inputpath);
    EXPECT_THROW(calcola(t, realTaxa(), options, onInput), Error);
    EXPECT_EQ(readFile(t.inputpath), input);
}

TEST_F(RunFixture, UnwritableFolderIsReportedWithThePath) {
    SampleTable t = readLines(fileWithClasses({6, 6, 6, 6, 6, 6, 2}));
    t.inputpath = dir.file("missing-folder/s.txt");
    auto r = run(t);
    EXPECT_TRUE(r.outputPath.empty());
    EXPECT_NE(r.fileError.find(dir.file("missing-folder/s_OUT.txt")), std::string::npos);
    EXPECT_FALSE(r.resultsText.empty()); // the results stay on screen
}

// Golden results files of a hand-checked file for every GIG and both normalisation rules.
class GoldenFiles : public RunFixture, public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(GoldenFiles, ResultsFileMatchesByteForByte) {
    const auto [name, gig] = GetParam();
    const std::string input =
        std::string(name).find("75") != std::string::npos ? "sites-75.txt" : "sites.txt";
    writeFile(dir.file("sites.txt"), readFile(std::string(TEST_DATA_DIR) + "/golden/" + input));
    SampleTable t = inputtxt(dir.file("sites.txt"), realTaxa(), tree, {}).table;
    RunOptions options;
    options.typeindex = 1;
    options.testVariables[2].biological = true;
    auto r = run(t, gig, options);
    std::string text = readFile(dir.file("sites_OUT.txt"));
    EXPECT_EQ(text, r.resultsText);
    const std::string folder = dir.path();
    for (auto pos = text.find(folder); pos != std::string::npos; pos = text.find(folder)) {
        text.replace(pos, folder.size(), "FOLDER");
    }
    const std::string goldenPath = std::string(TEST_DATA_DIR) + "/golden/" + name + "_OUT.txt";
    if (std::getenv("TORRENTIX_UPDATE_GOLDEN")) {
        writeFile(goldenPath, text);
    }
    EXPECT_EQ(text, readFile(goldenPath));
}

INSTANTIATE_TEST_SUITE_P(EveryGig, GoldenFiles,
                         ::testing::Values(std::pair{"alpine", int(Alpine)},
                                           std::pair{"central-baltic", int(CentralBaltic)},
                                           std::pair{"eastern-continental", int(EasternContinental)},
                                           std::pair{"mediterranean", int(Mediterranean)},
                                           std::pair{"northern", int(Northern)},
                                           std::pair{"alpine-75", int(Alpine)},
                                           std::pair{"eastern-continental-75", int(EasternContinental)}),
                         [](const auto& info) {
                             std::string n = info.param.first;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

TEST_F(RunFixture, DroppedRowsTakeNoPartInTheObservedBounds) {
    auto lines = fileWithClasses({6, 6, 6, 6, 6, 6, 2});
    lines.push_back(row(99, 6, "1000\t\t", "0\t0\t0\t0")); // dropped: no abundance at all
    SampleTable t = readLines(lines);
    ASSERT_EQ(t.testcount[0], 8); // its value still counts as a numeric test value
    ASSERT_EQ(t.nsamp(), 7);
    auto r = run(t);
    EXPECT_NE(r.resultsText.find("Idx\t0 (min custom value)\t6 (max observed value)"), std::string::npos);
}

TEST(DegradationIndex, NormalisedValuesKeepTheirFraction) {
    // A database of our own with degradation scores, which the shipped one lacks.
    TaxaDatabase taxa({FamilyRecord{1, "AIDAE", 15, "EPHEMEROPTERA", 8, 0, 3},
                       FamilyRecord{2, "BIDAE", 24, "DIPTERA", 2, 0, -2},
                       FamilyRecord{3, "CIDAE", 11, "OLIGOCHAETA", 1, 0, 1}},
                      {});
    std::vector<std::vector<double>> rows = {{5, 1, 0}, {4, 2, 1}, {6, 1, 0}, {3, 0, 2},
                                             {5, 2, 0}, {7, 1, 1}, {0, 5, 5}, {1, 3, 4}};
    SampleTable t = makeTable({"AIDAE", "BIDAE", "CIDAE"}, rows, {6, 6, 6, 6, 6, 6, 2, 1});
    RunOptions options;
    options.gigindex = EasternContinental;
    TempDir dir;
    t.inputpath = dir.file("dind.txt");
    RunResult r = calcola(t, taxa, options, {});
    // Raw DInd: 1, 2, 1, 4, 1, 2, -1, 2; reference median 1.5, lower value -7.
    EXPECT_EQ(r.raw.dind, (std::vector<double>{1, 2, 1, 4, 1, 2, -1, 2}));
    EXPECT_DOUBLE_EQ(r.normalised.dind[0], 8.0 / 8.5);
    EXPECT_DOUBLE_EQ(r.normalised.dind[6], 6.0 / 8.5);
    EXPECT_NE(r.resultsText.find("Degradations Index\t-7\t1.5\r\n"), std::string::npos);
}
