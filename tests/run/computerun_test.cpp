#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "run/bootstrap.h"
#include "run/bootstraptable.h"
#include "run/computerun.h"
#include "support/samplefile.h"
#include "support/sampletable.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <atomic>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

struct RunFixture : ::testing::Test {
    TempDir dir;

    SampleTable read(const SampleFile& f, const std::string& name = "s.txt") {
        writeFile(dir.file(name), f.text());
        return readSampleFileSavingCorrections(dir.file(name), realTaxa(), realTree(), {}).table;
    }
    RunResult run(const SampleTable& t, RunOptions options = {}, Gig gig = CentralBaltic) {
        options.gig = gig;
        options.dateText = "06/12/2026";
        options.timeText = "10:00";
        return computeRun(t, realTaxa(), options, {});
    }
    RunResult run(const SampleFile& f, const RunOptions& options = {}) { return run(read(f), options); }
};

// A typical file whose test variable k (0-based) holds the given values, in row order.
SampleFile withTestValues(std::size_t k, const std::vector<std::string>& values) {
    SampleFile f = SampleFile::typical();
    for (std::size_t i = 0; i < f.rows.size(); ++i) {
        f.cell(i, 3 + k) = i < values.size() ? values[i] : "";
    }
    return f;
}

} // namespace

TEST_F(RunFixture, NormalisationRuleFollowsTheReferenceAndHighCounts) {
    const RunResult median = run(SampleFile::typical(SampleFile::classes(6, 0, 1)));
    EXPECT_EQ(std::pair(median.rule.useMedian, median.rule.highestNonReferenceClass), std::pair(true, 5));
    const RunResult percentile = run(SampleFile::typical(SampleFile::classes(5, 1, 1)));
    EXPECT_EQ(std::pair(percentile.rule.useMedian, percentile.rule.highestNonReferenceClass),
              std::pair(false, 4));
    const RunResult tooFew = run(read(SampleFile::typical(SampleFile::classes(3, 2, 2, 1)), "few.txt"));
    EXPECT_TRUE(tooFew.refused);
    EXPECT_THAT(tooFew.messages, ::testing::ElementsAre(Mentions(refusalMessage, "3 Reference and 2 High")));
    EXPECT_FALSE(fileExists(dir.file("few_OUT.txt")));
}

// Test variables with six values are normalised in place and named in the notes, a long
// name shortened to 8 characters and an empty one named by its place; without any, there
// are no notes and no regressions.
TEST_F(RunFixture, TestVariablesWithSixValuesAreNormalisedInPlaceAndNamedInTheNotes) {
    SampleFile f = SampleFile::typical(SampleFile::defaultClasses(), SampleFile::defaultFamilies(),
                                       {"Conductivity", " ", "pH"});
    const RunResult r = run(f.emptyTestValuesFrom(1, 6).emptyTestValuesFrom(2, 5)); // 6 values and 5
    EXPECT_EQ(r.table.testVariableNames, (std::array<std::string, 3>{"Conducti", "VAR2", "pH"}));
    // VAR2 1, 4 .. 16 between 0 and its largest value, 16.
    EXPECT_EQ(r.table.samples[2].testValueTexts[1], "0.4375");
    EXPECT_EQ(r.table.samples[6].testValueTexts[1], "N/A");
    EXPECT_EQ(r.table.samples[0].testValueTexts[2], "300"); // pH is not normalised
    EXPECT_THAT(r.resultsText, Mentions("\r\nConducti\t0 (min custom value)",
                                        "\r\nVAR2\t0 (min custom value)\t16 (max observed value)\r\n\r\n",
                                        "STAR_ICMi vs pH regression:\r\nnot calculated"));
    EXPECT_FALSE(r.starRegressions[2].has_value());
    EXPECT_TRUE(r.messages.empty());
    const RunResult none = run(f.emptyTestValuesFrom(0, 5).emptyTestValuesFrom(1, 0));
    EXPECT_THAT(none.resultsText, Not(HasSubstr("Test Variables normalisation:")));
    EXPECT_TRUE(std::none_of(none.starRegressions.begin(), none.starRegressions.end(),
                             [](const auto& g) { return g.has_value(); }));
    EXPECT_TRUE(none.messages.empty());
}

// URBAN is 1, 4, 7 .. 40: 10 is the median of the 7 reference samples, 11.5 the 75th
// percentile of 5 reference samples and 1 High.
TEST_F(RunFixture, TestVariableBoundsFollowTheOptions) {
    const auto expectLine = [&](TestVariableOptions urban, const std::vector<int>& classes,
                                const char* line) {
        RunOptions options;
        options.testVariables[1] = std::move(urban);
        EXPECT_THAT(run(SampleFile::typical(classes), options).resultsText, HasSubstr(line));
    };
    const auto classes = SampleFile::defaultClasses();
    expectLine({"0", false, false}, classes, "\r\nURBAN\t0 (min custom value)\t40 (max observed value)");
    expectLine({"100", true, false}, classes, "\r\nURBAN\t1 (min observed value)\t40 (max");
    expectLine({" ", false, false}, classes, "\r\nURBAN\t1 (min observed value)\t40 (max");
    expectLine({"-5", false, true}, classes, "\r\nURBAN\t-5 (min custom value)\t10 (median of reference s.)");
    expectLine({"0", false, true}, SampleFile::classes(5, 1, 4),
               "\r\nURBAN\t0 (min custom value)\t11.5 (75th percentile of reference+high status s.)");
    // The observed bounds are values of the samples, however large: a catchment in m².
    RunOptions observed;
    observed.testVariables[0].observedMin = true;
    const auto beyond =
        run(withTestValues(0, {"n.a.", "2500000", "2000000", "3300000", "2100000", "2400000", "2200000"}),
            observed);
    EXPECT_THAT(beyond.resultsText, HasSubstr("EQR\t2000000 (min observed value)\t3300000 (max observed"));
    EXPECT_EQ(beyond.table.samples[2].testValueTexts[0], "0");
    EXPECT_EQ(beyond.table.samples[3].testValueTexts[0], "1");
    const auto below =
        run(withTestValues(0, {"-2000000", "-3000000", "-2500000", "-4000000", "-2000001", "-3500000"}));
    EXPECT_THAT(below.resultsText, HasSubstr("EQR\t0 (min custom value)\t-2000000 (max observed value)"));
}

// A normalised value far below 0 is a value like any other: only an entry that is not
// numeric is missing, in the results file, the table's values and the regressions; so too
// when the upper value is 0 and every value is normalised to 0.
TEST_F(RunFixture, NormalisedValuesFarBelowTheLowerValueStayNumbersAndMissingOnesMissing) {
    RunOptions options;
    options.testVariables[0].minText = "0.999";
    const RunResult r = run(withTestValues(0, {"1", "0.5", "-1", "0.9", "0.2", "0.7", "x"}), options);
    EXPECT_EQ(r.table.samples[6].testValueTexts[0], "N/A");
    EXPECT_FALSE(r.testNormalised[0][6].has_value());
    EXPECT_LT(r.testNormalised[0][2].value_or(0.0), -1000.0);
    EXPECT_LT(parseNumeric(r.table.samples[2].testValueTexts[0]).value_or(0.0), -1000.0);
    EXPECT_EQ(r.starRegressions[0].value_or(Regression{}).n, 6);
    const RunResult zero = run(withTestValues(0, {"0", "0", "-1", "0", "0", "0", "0"}));
    EXPECT_EQ(zero.table.samples[2].testValueTexts[0], "0");
    EXPECT_EQ(zero.table.samples[7].testValueTexts[0], "N/A");
}

TEST_F(RunFixture, ImpossibleTestVariableRangesStopTheRunAndWriteNothing) {
    RunOptions options;
    options.testVariables[0].observedMin = true;
    for (const auto& [values, fact] : {std::pair{std::vector<std::string>(14, "5"), "EQR are both 5"},
                                       {std::vector<std::string>{"3e38", "-3e38", "1", "2", "3", "4"},
                                        "EQR (-3E+38 and 3E+38) are out of range"},
                                       {std::vector<std::string>{"1e39", "1", "2", "3", "4", "5"},
                                        "EQR (1 and infinity) are out of range"}}) {
        EXPECT_THAT(errorOf([&, &values = values] { run(withTestValues(0, values), options); }),
                    HasSubstr(fact));
        EXPECT_FALSE(fileExists(dir.file("s_OUT.txt")));
    }
}

TEST_F(RunFixture, FailedRegressionIsReportedOnceAndWrittenAsMissing) {
    // EQR is usable, but all its values are equal: no line fits them.
    const RunResult r = run(withTestValues(0, std::vector<std::string>(14, "0.5")));
    const std::string message = "An error occurred. Please check your data. (Proc. regrlin)";
    EXPECT_EQ(std::count(r.messages.begin(), r.messages.end(), message), 1);
    EXPECT_THAT(readFile(dir.file("s_OUT.txt")),
                AllOf(HasSubstr("m = N/A\r\nb = N/A\r\nr\xB2 = N/A\r\n\r\nSTAR_ICMi = N/A + N/A * EQR"),
                      Not(HasSubstr("nan"))));
}

TEST_F(RunFixture, ExistingResultsFileIsReplacedOnlyWhenTheCallbackSaysSoAndAnUnwritableFolderIsReported) {
    const SampleTable t = read(SampleFile::typical());
    writeFile(dir.file("s_OUT.txt"), "old results");
    RunCallbacks declined;
    declined.existingResultsFile = [](const std::string&) { return std::nullopt; };
    const RunResult none = computeRun(t, realTaxa(), {}, declined);
    EXPECT_EQ(none.outputPath + none.messages.back(), "No file was saved.");
    RunCallbacks elsewhere;
    elsewhere.existingResultsFile = [&](const std::string&) { return std::optional(dir.file("other.txt")); };
    if (posixSystem) { // the record of the names beside them never replaces the sample file either
        std::filesystem::create_symlink(t.sourcePath, dir.file("s_taxa.tsv"));
    }
    RunOptions withRecord;
    withRecord.taxaRecord = TaxaRecordHeading{};
    const RunResult other = computeRun(t, realTaxa(), withRecord, elsewhere);
    EXPECT_EQ(other.outputPath, dir.file("other.txt"));
    EXPECT_THAT(other.recordError, HasSubstr(posixSystem ? "would replace the sample file" : ""));
    EXPECT_TRUE(fileExists(dir.file("other.txt")));
    EXPECT_EQ(readFile(dir.file("s_OUT.txt")), "old results");
    // The sample file itself is never the results file, however its path is written.
    const std::string input = readFile(t.sourcePath);
    for (const std::string& samplePath : {t.sourcePath, dir.file("./s.txt")}) {
        RunCallbacks onInput;
        onInput.existingResultsFile = [&](const std::string&) { return std::optional(samplePath); };
        EXPECT_THAT(errorOf([&] { computeRun(t, realTaxa(), {}, onInput); }), HasSubstr(t.sourcePath));
        EXPECT_EQ(readFile(t.sourcePath), input);
    }
    // A folder that cannot be written is reported with the path, the results kept.
    SampleTable unwritable = t;
    unwritable.sourcePath = dir.file("missing-folder/s.txt");
    const RunResult r = run(unwritable);
    EXPECT_TRUE(r.outputPath.empty());
    EXPECT_THAT(r.fileError, HasSubstr(dir.file("missing-folder/s_OUT.txt")));
    EXPECT_EQ(r.messages.back(), r.fileError);
    EXPECT_FALSE(r.resultsText.empty());
}

TEST_F(RunFixture, DroppedRowsTakeNoPartInTheObservedBounds) {
    SampleFile f = SampleFile::typical();
    f.rows.push_back(f.rows[0]);
    f.rows.back()[4] = "1000";
    std::fill(f.rows.back().begin() + SampleFile::firstFamily, f.rows.back().end(), "0"); // no abundance
    const SampleTable t = read(f);
    ASSERT_EQ(t.numericTestValueCounts[1], 15); // its value still counts as a numeric test value
    EXPECT_THAT(run(t).resultsText, HasSubstr("URBAN\t0 (min custom value)\t40 (max observed value)"));
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
    TempDir dir;
    t.sourcePath = dir.file("dind.txt");
    RunOptions options;
    options.gig = EasternContinental;
    const RunResult r = computeRun(t, taxa, options, {});
    // Raw DInd: 1, 2, 1, 4, 1, 2, -1, 2; reference median 1.5, lower value -7.
    EXPECT_EQ(r.raw.dind, (std::vector<double>{1, 2, 1, 4, 1, 2, -1, 2}));
    EXPECT_DOUBLE_EQ(r.normalised.dind[0], 8.0 / 8.5);
    EXPECT_DOUBLE_EQ(r.normalised.dind[6], 6.0 / 8.5);
    EXPECT_THAT(r.resultsText, HasSubstr("Degradations Index\t-7\t1.5\r\n"));
}

// Golden results files of a hand-checked file for every GIG and both normalisation rules.
class GoldenFiles : public RunFixture, public ::testing::WithParamInterface<std::string> {};

TEST_P(GoldenFiles, ResultsFileMatchesByteForByte) {
    const std::string name = GetParam();
    const std::string input = name.ends_with("-75") ? "sites-75.txt" : "sites.txt";
    writeFile(dir.file("sites.txt"), readFile(std::string(TEST_DATA_DIR) + "/golden/" + input));
    SampleTable t = readSampleFileSavingCorrections(dir.file("sites.txt"), realTaxa(), realTree(), {}).table;
    RunOptions options;
    options.riverType = 1;
    options.testVariables[2].biological = true;
    const RunResult r = run(t, options, parseGig(name.substr(0, 3)).value());
    EXPECT_EQ(readFile(dir.file("sites_OUT.txt")), r.resultsText);
    expectGoldenCopy(r.resultsText, dir.path(), std::string(TEST_DATA_DIR) + "/golden/" + name + "_OUT.txt");
}

INSTANTIATE_TEST_SUITE_P(EveryGig, GoldenFiles,
                         ::testing::Values("alpine", "central-baltic", "eastern-continental", "mediterranean",
                                           "northern", "alpine-75", "eastern-continental-75"),
                         [](const auto& param) {
                             std::string n = param.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

// Every look of the read, the run and the bootstrap at the stop request: a stop asked at
// the k-th look ends the stage right there (Cancelled, no further look) with nothing
// written; asked after the last look, it changes nothing. On one thread the stages look,
// in order: the read before each block of lines (a line each here) and at their end, once
// the blocks are joined and once the names are answered; the run before the metrics, each
// block of 1,024 samples' metrics, the indices, the regressions and the writing; the
// bootstrap before each replicate, each block of 64 samples' intervals and each
// regression's intervals. On two threads a stop still ends each stage without a file.
TEST_F(RunFixture, AStopAtAnyLookEndsTheStageThereWritingNothing) {
    SampleFile sample = SampleFile::typical(); // 14 samples, 3 test variables: 6 regressions
    sample.header.push_back("MYSTERYIDAE");    // ignored: the read writes its corrected file
    for (auto& row : sample.rows) {
        row.push_back("1");
    }
    writeFile(dir.file("s.txt"), sample.text());
    RunOptions options;
    options.gig = CentralBaltic;
    const auto reading = [&](const StopRequest& stop) {
        return readSampleFileSavingCorrections(dir.file("s.txt"), realTaxa(), realTree(),
                                               [](const auto&) { return UnknownTaxonAnswer::ignore(); },
                                               {.threads = options.threads, .blockBytes = 1, .stop = stop});
    };
    const SampleTable asRead = reading({}).table;
    const auto running = [&](const StopRequest& stop) {
        RunCallbacks callbacks;
        callbacks.stop = stop;
        return computeRun(asRead, realTaxa(), options, callbacks);
    };
    const RunResult done = running({});
    const struct {
        std::size_t looks;
        std::function<void(const StopRequest&)> work;
        const char* written;
    } stages[] = {
        {14 + 1 + 2, reading, "s_adj.txt"},
        {5, running, "s_OUT.txt"},
        {3 + 1 + 6,
         [&](const StopRequest& stop) { // the intervals written as the fronts write them
             writeFile(
                 dir.file("s_ci.tsv"),
                 bootstrapSamplesText(bootstrap(asRead, options, done,
                                                {.replicates = 3, .threads = options.threads, .stop = stop}),
                                      done));
         },
         "s_ci.tsv"},
    };
    for (const auto& s : stages) {
        for (options.threads = 1; options.threads <= 2; ++options.threads) {
            for (auto k = static_cast<std::size_t>(options.threads);
                 k <= (options.threads == 1 ? s.looks + 1 : 2); ++k) {
                SCOPED_TRACE(std::string(s.written) + ": stop at look " + std::to_string(k) + " on " +
                             std::to_string(options.threads) + " threads");
                std::filesystem::remove(dir.file(s.written));
                std::atomic<std::size_t> looks{0};
                bool stopped = false;
                try {
                    s.work(StopRequest([&looks, k] { return ++looks >= k; }));
                } catch (const Cancelled&) {
                    stopped = true;
                }
                EXPECT_EQ(stopped, k <= s.looks);
                EXPECT_EQ(fileExists(dir.file(s.written)), !stopped);
                EXPECT_TRUE(options.threads > 1 || looks == std::min(k, s.looks)) << looks;
            }
        }
        options.threads = 1;
    }
}
