// A run on several threads, from a file read in blocks on several threads, writes the
// very bytes a run on one thread writes.

#include "input/correctedfile.h"
#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "metrics/familytraits.h"
#include "metrics/metricpasses.h"
#include "run/computerun.h"
#include "support/sampletable.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <random>
#include <thread>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

// Families with some of their synonyms and a second spelling, so that columns merge.
const std::vector<std::string> families = {
    "BAETIDAE",   "Baetidae",       "HEPTAGENIIDAE",   "LEUCTRIDAE", "CHIRONOMIDAE", "NAIDIDAE",
    "GAMMARIDAE", "ELMIDAE",        "SIMULIIDAE",      "DUGESIIDAE", "DUGESIDAE",    "PLANARIIDAE",
    "PLANARIDAE", "NEMATODA",       "NEMATHELMINTHES", "CYRENIDAE",  "CORBICULIDAE", "CAENIDAE",
    "PERLIDAE",   "HYDROPSYCHIDAE", "LIMNEPHILIDAE"};

// A sample file of random size, cells, line ends and quirks, every name known but for
// `unknownLast`, a last column of zeros when given.
std::string randomSampleFile(std::mt19937& random, const std::string& unknownLast = {}) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
    const std::string end = ends[static_cast<std::size_t>(pick(3))];
    std::string text = "Random survey" + end + "CODE\tSAMPLE\tCLASS\tEQR\tURBAN\tALT";
    for (const auto& family : families) {
        text += "\t" + family;
    }
    text += (unknownLast.empty() ? "" : "\t" + unknownLast) + end;
    const int rows = 20 + pick(400);
    for (int i = 0; i < rows; ++i) {
        if (pick(40) == 0) {
            text += "\t\t" + end; // a row of TABs: skipped
            continue;
        }
        const int cls = i < 12 ? 6 : pick(8);
        text += "S" + std::to_string(i) + "\tSite \"" + std::to_string(i) + "\"\t" + std::to_string(cls) +
                "\t0." + std::to_string(pick(1000)) + "\t" +
                (pick(9) == 0 ? "N/A" : std::to_string(pick(100))) + "\t" + std::to_string(pick(2000)) + "." +
                std::to_string(pick(10));
        const bool empty = pick(30) == 0;
        for (std::size_t f = 0; f < families.size(); ++f) {
            const int kind = empty ? 0 : pick(20);
            const std::string digits = std::to_string(1 + pick(300));
            const std::string cell = kind < 10    ? "0"
                                     : kind < 14  ? digits
                                     : kind == 14 ? digits + "." + std::to_string(pick(1000))
                                     : kind == 15 ? "0." + std::to_string(pick(100))
                                     : kind == 16 ? std::to_string(100000 + pick(900000000))
                                     : kind == 17 ? "\"" + digits + "\""
                                     : kind == 18 ? digits + "e" + std::to_string(pick(4))
                                                  : "";
            text += "\t" + cell;
        }
        text += (unknownLast.empty() ? "" : "\t0") + end;
    }
    return text;
}

// The results text, the corrected file and the notes of a read and a run, as one text.
std::string readAndRun(const std::string& path, Gig gig, int threads, std::size_t blockBytes) {
    const ReadResult r =
        readSampleFile(path, realTaxa(), realTree(), {}, {.threads = threads, .blockBytes = blockBytes});
    RunOptions options;
    options.gig = gig;
    options.threads = threads;
    options.dateText = "06/12/2026";
    options.timeText = "10:00";
    RunCallbacks callbacks;
    callbacks.existingResultsFile = [](const std::string& p) { return std::optional(p); };
    const RunResult run = computeRun(r.table, realTaxa(), options, callbacks);
    EXPECT_FALSE(run.resultsText.empty()) << path;
    std::string out = run.resultsText + "|" + correctedFileText(r.table);
    for (const std::string& note : r.notes) {
        out += "|" + note;
    }
    return out;
}

} // namespace

TEST(ParallelRun, RandomFilesGiveTheSameBytesOnOneThreadAndOnSeveral) {
    const TempDir dir;
    std::mt19937 random(20261206);
    for (int file = 0; file < 30; ++file) {
        const std::string path = dir.file("random" + std::to_string(file) + ".txt");
        writeFile(path, randomSampleFile(random));
        const Gig gig = gigOf(file % 5);
        const std::string one = readAndRun(path, gig, 1, 1 << 20);
        for (const int threads : {2, 3}) {
            EXPECT_EQ(readAndRun(path, gig, threads, 50 + random() % 400), one)
                << path << ", " << threads << " threads";
        }
    }
}

// With every name known the columns are merged into families as each block is parsed;
// with a name to ask about, once the answer is known: the abundances are the same.
TEST(ParallelRun, ColumnsMergeAlikeWhetherResolvedBeforeOrAfterTheRows) {
    const TempDir dir;
    std::mt19937 random(7);
    const auto read = [&](const std::string& name, const std::string& text) {
        writeFile(dir.file(name), text);
        return readSampleFile(dir.file(name), realTaxa(), realTree(),
                              [](const UnknownTaxonQuestion&) { return UnknownTaxonAnswer::ignore(); },
                              {.threads = 2, .blockBytes = 200});
    };
    for (int file = 0; file < 10; ++file) {
        // The same file with a last column of a name the taxa database does not hold.
        std::mt19937 again = random;
        const ReadResult known = read("known.txt", randomSampleFile(random));
        const ReadResult asked = read("unknown.txt", randomSampleFile(again, "MYSTERY"));
        ASSERT_EQ(asked.table.ignoredColumns, std::vector<std::string>{"MYSTERY"});
        EXPECT_EQ(asked.table.familyNames, known.table.familyNames);
        EXPECT_EQ(asked.table.abundances.dense(known.table.familyNames.size()),
                  known.table.abundances.dense(known.table.familyNames.size()));
    }
}

// The passes go over blocks of samples, whatever threads do the work: the metrics are
// those of one pass over all samples, and progress rises to 1 on the thread that started
// the run. The samples' rows of the results text, made in blocks on several threads, come
// in the order of one thread.
TEST(ParallelRun, BlocksOfSamplesGiveTheMetricsOfOnePassAndProgressOnTheCallingThread) {
    std::vector<std::vector<double>> rows;
    for (int i = 0; i < 5000; ++i) {
        rows.push_back({1.0 + i % 7, static_cast<double>(i % 3), 2.0});
    }
    const SampleTable t = makeTable({"BAETIDAE", "LEUCTRIDAE", "GAMMARIDAE"}, rows);
    const auto traits = resolveFamilyTraits(t, realTaxa());
    MetricTable onePass = makeMetricTable(t.nsamp(), Alpine);
    const PassInput all{t, traits, Alpine, 0, t.nsamp()};
    computeMetricPasses(all, onePass);
    std::string oneThreadText;
    for (const int threads : {1, 2, 3}) {
        std::vector<double> seen;
        bool elsewhere = false;
        RunOptions options;
        options.threads = threads;
        options.gig = Alpine;
        RunCallbacks callbacks;
        callbacks.progress = [&, caller = std::this_thread::get_id()](double f) {
            seen.push_back(f);
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
        };
        callbacks.existingResultsFile = [](const std::string&) { return std::nullopt; };
        const RunResult run = computeRun(t, realTaxa(), options, callbacks);
        for (const auto metric : {&MetricTable::aspt, &MetricTable::shannon, &MetricTable::taxan,
                                  &MetricTable::gold, &MetricTable::selsens}) {
            EXPECT_EQ(run.raw.*metric, onePass.*metric);
        }
        // One call per block on one thread; on two, the other thread may finish every block
        // but the caller's, which leaves only the last call.
        EXPECT_GE(seen.size(), threads == 1 ? 3u : 1u);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_DOUBLE_EQ(seen.back(), 1.0);
        EXPECT_FALSE(elsewhere);
        oneThreadText = threads == 1 ? run.resultsText : oneThreadText;
        EXPECT_EQ(run.resultsText, oneThreadText) << threads << " threads";
    }
}

// A run's table keeps its abundances, so that another run on it computes the same
// metrics; a run told not to keep them lets them go.
TEST(ParallelRun, ARunKeepsItsAbundancesUnlessToldNotTo) {
    const SampleTable t = makeTable({"BAETIDAE", "LEUCTRIDAE"},
                                    {{3, 1}, {2, 0}, {5, 5}, {1, 1}, {4, 2}, {6, 1}, {2, 2}, {1, 3}});
    RunCallbacks none;
    none.existingResultsFile = [](const std::string&) { return std::nullopt; };
    const RunResult first = computeRun(t, realTaxa(), {}, none);
    const RunResult again = computeRun(first.table, realTaxa(), {}, none);
    EXPECT_EQ(again.raw.shannon, first.raw.shannon);
    EXPECT_EQ(again.raw.taxan, first.raw.taxan);
    RunOptions once;
    once.keepAbundances = false;
    EXPECT_EQ(computeRun(t, realTaxa(), once, none).table.abundances.samples(), 0u);
}
