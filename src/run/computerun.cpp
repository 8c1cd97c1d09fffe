#include "run/computerun.h"

#include "base/files.h"
#include "base/memory.h"
#include "base/numberforms.h"
#include "base/parallel.h"
#include "base/platform.h"
#include "base/text.h"
#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"
#include "report/resultsfile.h"
#include "run/metricsteps.h"

#include <algorithm>

namespace torrentix {
namespace {

const std::string medianSentence =
    "Metric normalisation performed using Median Value of Reference Sites/Samples ";
const std::string percentileSentence =
    "Normalisation performed using 75th Percentile Value of Reference+High Status Sites/Samples ";

RunResult refusedRun(SampleTable table, const ClassCounts& counts) {
    RunResult r;
    r.refused = true;
    r.classcount = counts;
    r.table = std::move(table);
    r.messages.push_back(refusalMessage + " The file holds " + std::to_string(counts[0]) + " Reference and " +
                         std::to_string(counts[1]) + " High samples.");
    if (const std::string words = classWordsText(r.table); !words.empty()) {
        r.messages.back() += " " + words;
    }
    return r;
}

// Keeps every test variable's texts as read, and normalises the usable ones in place.
std::array<std::optional<TestVariableNormalisation>, 3>
normaliseTestVariables(SampleTable& table, const RunOptions& options, RunResult& r) {
    std::array<std::optional<TestVariableNormalisation>, 3> bounds;
    for (std::size_t k = 0; k < 3; ++k) {
        r.testText[k].reserve(table.samples.size());
        for (const Sample& s : table.samples) {
            r.testText[k].push_back(s.testValueTexts[k]);
        }
        if (isUsableTestVariable(table, static_cast<int>(k))) {
            bounds[k] =
                normaliseTestVariable(table, k, options.testVariables[k], r.rule, r.testNormalised[k]);
        }
    }
    return bounds;
}

// The raw metrics of every sample; the abundances are let go when the run need not keep them.
MetricTable computeMetrics(SampleTable& table, const TaxaDatabase& taxa, const RunOptions& options,
                           const RunCallbacks& callbacks) {
    MetricTable m = makeMetricTable(table.nsamp(), options.gig);
    runMetricPasses(table, taxa, options.gig, threadCount(options.threads), callbacks.progress, m,
                    callbacks.stop);
    if (!options.keepAbundances) {
        const std::size_t bytes = table.abundances.bytes();
        table.abundances = Abundances();
        FreedMemory(std::size_t{64} << 20).freed(bytes);
    }
    return m;
}

// Normalises the metrics, computes the indices and their regressions, and returns the
// whole results file.
std::string indicesAndResultsText(SampleTable& table, const RunOptions& options,
                                  const std::array<std::optional<TestVariableNormalisation>, 3>& testBounds,
                                  MetricTable m, RunResult& r, const std::function<void(RunStage)>& begin) {
    const Gig gig = options.gig;
    const unsigned threads = threadCount(options.threads);
    std::string text = resultsOpening(
        {table, gig, options.riverType, options.dateText, options.timeText, r.classcount, r.raw, threads});
    normaliseMetrics(m, gig, table, r.rule, text);
    r.normalised = std::move(m);
    r.indices = computeIndices(r.normalised, table, gig, r.rule);
    shortenTestNames(table);
    // The notes name the test variables as shortened.
    std::vector<TestVariableNormalisation> testLines;
    for (std::size_t k = 0; k < 3; ++k) {
        if (testBounds[k]) {
            testLines.push_back(*testBounds[k]);
            testLines.back().name = table.testVariableNames[k];
        }
    }
    text += normalisationNotes(r.indices.starReferenceValue,
                               r.rule.useMedian ? medianSentence : percentileSentence, testLines);
    IndexSection closing{table, gig, r.indices.staricm, r.indices.gigicm, {}, {}, threads};
    begin(RunStage::Regressions);
    regressAll(table, r.indices, closing, r.regressionFailed);
    r.testBounds = testBounds;
    r.starRegressions = closing.starRegression;
    r.gigRegressions = closing.gigRegression;
    // Appended in place: the opening's room usually holds the closing, where a copy of the
    // whole text would briefly hold it twice.
    const std::string closingText = resultsClosing(closing);
    text.reserve(text.size() + closingText.size());
    text += closingText;
    return text;
}

// The record of the names goes beside the results file, named after the sample file.
void writeTaxaRecord(const SampleTable& table, const TaxaDatabase& taxa, const TaxaRecordHeading& heading,
                     RunResult& r) {
    const std::string path = taxaRecordPathFor(table.sourcePath, folderOf(r.outputPath));
    try {
        if (platform::sameFile(path, table.sourcePath)) {
            throw Error("The record of the names " + path + " would replace the sample file " +
                        table.sourcePath + ".");
        }
        writeFileAtomically(path, taxaRecordText(table, taxa, heading));
        r.recordPath = path;
    } catch (const Error& e) {
        r.recordError = e.what();
        r.messages.push_back(r.recordError);
    }
}

void writeResults(const std::optional<std::string>& path, RunResult& r) {
    if (!path) {
        r.messages.push_back("No file was saved.");
        return;
    }
    try {
        writeFileAtomically(*path, r.resultsText);
        r.outputPath = *path;
    } catch (const Error& e) {
        r.fileError = e.what();
        r.messages.push_back(r.fileError);
    }
}

} // namespace

ReportInput reportInputFor(const SampleTable& asRead, const RunOptions& options) {
    ReportInput in;
    in.sourcePath = asRead.sourcePath;
    in.nsamp = asRead.nsamp();
    in.nfam = asRead.nfam();
    in.testVariableNames = asRead.testVariableNames;
    in.numericTestValueCounts = asRead.numericTestValueCounts;
    in.gigCaption = std::string(gigInfo(options.gig).caption);
    in.riverTypeCaption = typeCaption(options.gig, options.riverType);
    in.notes = placeholderNotes(options.gig);
    for (std::size_t k = 0; k < 3; ++k) {
        in.minValueTexts[k] = options.testVariables[k].minText;
        in.biological[k] = options.testVariables[k].biological;
    }
    return in;
}

namespace {

// " 57 columns of the file were left out: Baetis rhodani, Ephemera danica, Elmis sp.,
// Hydropsyche Lv., Leuctra and 52 more." for a run that fails after columns were left out.
std::string ignoredColumnsText(const SampleTable& table) {
    constexpr std::size_t named = 5;
    const auto& ignored = table.ignoredColumns;
    if (ignored.empty()) {
        return {};
    }
    std::string text = " " + countOf(ignored.size(), "column") + " of the file " +
                       (ignored.size() == 1 ? "was" : "were") + " left out: ";
    for (std::size_t k = 0; k < ignored.size() && k < named; ++k) {
        text += (k == 0 ? "" : ", ") + ignored[k];
    }
    return text +
           (ignored.size() > named ? " and " + std::to_string(ignored.size() - named) + " more." : ".");
}

RunResult computeRunOf(SampleTable table, const TaxaDatabase& taxa, const RunOptions& options,
                       const RunCallbacks& callbacks);

} // namespace

RunResult computeRun(SampleTable table, const TaxaDatabase& taxa, const RunOptions& options,
                     const RunCallbacks& callbacks) {
    const std::string ignored = ignoredColumnsText(table);
    try {
        return computeRunOf(std::move(table), taxa, options, callbacks);
    } catch (const Cancelled&) {
        throw;
    } catch (const Error& e) {
        throw Error(e.what() + ignored);
    }
}

namespace {

RunResult computeRunOf(SampleTable table, const TaxaDatabase& taxa, const RunOptions& options,
                       const RunCallbacks& callbacks) {
    useOneEncoding(table);
    const ClassCounts counts = countSamplesPerClass(table);
    const auto rule = chooseReferenceRule(counts);
    if (!rule) {
        return refusedRun(std::move(table), counts);
    }
    // Each stage begins only while the run is still wanted.
    const auto begin = [&callbacks](RunStage stage) {
        stopIfRequested(callbacks.stop);
        if (callbacks.stage) {
            callbacks.stage(stage);
        }
    };
    RunResult r;
    r.classcount = counts;
    r.rule = *rule;
    begin(RunStage::Metrics);
    MetricTable m = computeMetrics(table, taxa, options, callbacks);
    // After the metrics, once the abundances are let go: the test variables' texts and
    // values then never share the memory with them.
    const auto testBounds = normaliseTestVariables(table, options, r);
    r.raw = m;
    r.messages = placeholderNotes(options.gig);
    const auto path = options.writeResults ? chooseResultsPath(table.sourcePath, options.resultsFolder,
                                                               callbacks.existingResultsFile)
                                           : std::nullopt;
    begin(RunStage::Indices);
    r.resultsText = indicesAndResultsText(table, options, testBounds, std::move(m), r, begin);
    r.table = std::move(table);
    if (r.regressionFailed) {
        r.messages.push_back(regressionErrorMessage);
    }
    begin(RunStage::Writing);
    if (options.writeResults) {
        writeResults(path, r);
    }
    if (options.taxaRecord && !r.outputPath.empty()) {
        writeTaxaRecord(r.table, taxa, *options.taxaRecord, r);
    }
    return r;
}

} // namespace

const char* runStageText(RunStage stage) {
    switch (stage) {
    case RunStage::Metrics:
        return "Computing the metrics";
    case RunStage::Indices:
        return "Normalising the metrics and computing the indices";
    case RunStage::Regressions:
        return "Computing the regressions";
    case RunStage::Writing:
        break;
    }
    return "Writing the results file";
}

} // namespace torrentix
