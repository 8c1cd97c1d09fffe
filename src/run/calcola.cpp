#include "run/calcola.h"

#include "base/files.h"
#include "base/memory.h"
#include "base/numberforms.h"
#include "base/parallel.h"
#include "base/text.h"
#include "metrics/catalogue.h"
#include "metrics/familytraits.h"
#include "metrics/metricdefinitions.h"
#include "metrics/quantile.h"
#include "report/resultsfile.h"

#include <algorithm>

namespace torrentix {
namespace {

const std::string medianSentence =
    "Metric normalisation performed using Median Value of Reference Sites/Samples ";
const std::string percentileSentence =
    "Normalisation performed using 75th Percentile Value of Reference+High Status Sites/Samples ";

std::optional<ReferenceRule> chooseRule(const ClassCounts& counts) {
    const int reference = counts[0];
    const int high = counts[1];
    if (reference > 5) {
        return ReferenceRule{5, true};
    }
    if (reference + high < 6) {
        return std::nullopt;
    }
    return ReferenceRule{4, false};
}

std::vector<std::optional<double>> numericColumn(const SampleTable& table, std::size_t k) {
    std::vector<std::optional<double>> values;
    values.reserve(table.samples.size());
    for (const Sample& s : table.samples) {
        values.push_back(parseNumeric(s.testval[k]));
    }
    return values;
}

// The entries of test variable k as 32-bit values, as its observed bounds are taken.
std::vector<std::optional<float>> numericColumn32(const SampleTable& table, std::size_t k) {
    std::vector<std::optional<float>> values;
    values.reserve(table.samples.size());
    for (const Sample& s : table.samples) {
        values.push_back(parseNumeric32(s.testval[k]));
    }
    return values;
}

// The smallest (or largest) numeric entry of a test variable, starting from its first
// one: a variable normalised has at least six numeric entries.
float observedBound(const std::vector<std::optional<float>>& values, bool largest) {
    std::optional<float> bound;
    for (const auto& v : values) {
        if (v && (!bound || (largest ? *v > *bound : *v < *bound))) {
            bound = v;
        }
    }
    return bound.value_or(0.0f);
}

// Normalises test variable k in place and returns its line of the normalisation notes.
// An entry that is not numeric stays missing ("N/A"); every numeric entry keeps its
// normalised value, however far below the lower value it lies.
TestVariableNormalisation normaliseTestVariable(SampleTable& table, std::size_t k,
                                                const TestVariableOptions& opt, ReferenceRule rule,
                                                std::vector<std::optional<double>>& kept) {
    const auto values = numericColumn(table, k);
    const auto values32 = numericColumn32(table, k);
    TestVariableNormalisation tv;
    tv.name = table.testname[k];
    if (trimBlanks(opt.minText).empty() || opt.observedMin) {
        tv.lower = observedBound(values32, false);
        tv.lowerLabel = " (min observed value)";
    } else {
        tv.lower = parseNumeric32(opt.minText).value_or(0.0f);
        tv.lowerLabel = " (min custom value)";
    }
    if (!opt.biological) {
        tv.upper = observedBound(values32, true);
        tv.upperLabel = " (max observed value)";
    } else {
        auto refvals = famattemp(values, table, rule.refclass);
        tv.upper = quantile(refvals, rule.usemedian);
        tv.upperLabel =
            rule.usemedian ? " (median of reference s.)" : " (75th percentile of reference+high status s.)";
    }
    kept = normal1(values, tv.upper, tv.lower, "the test variable " + tv.name);
    for (std::size_t i = 0; i < table.samples.size(); ++i) {
        table.samples[i].testval[k] = kept[i] ? formatGeneral(*kept[i]) : "N/A";
    }
    return tv;
}

// Normalises the metrics of the GIG in the order of the results file, each against the
// reference value of its own column, appending the lines of the normalisation table.
void normaliseMetrics(MetricTable& m, int gig, const SampleTable& table, ReferenceRule rule,
                      std::string& out) {
    float taxaUpper = 0.0f;
    for (const NormalisationStep& step : normalisationSteps(gig)) {
        std::vector<double>& column = metricColumn(m, step.column);
        float upper = taxaUpper;
        if (!step.upperOfTaxa) {
            auto refvals = famattemp(column, table, rule.refclass);
            upper = quantile(refvals, rule.usemedian);
        }
        if (step.column == MetricId::Taxan) {
            taxaUpper = upper;
        }
        if (!step.line.empty()) {
            out += normalisationLine(step.line, step.lower, upper);
        }
        column = normal1(column, upper, step.lower, std::string(step.line.empty() ? step.name : step.line));
    }
}

// The passes over blocks of samples, on every thread asked for: each sample's metrics are
// its own, so they are the same whatever thread computes them.
void runMetricPasses(const SampleTable& table, const TaxaDatabase& taxa, int gig, unsigned threads,
                     const ProgressHandler& progress, MetricTable& m) {
    constexpr int samplesPerBlock = 1024;
    const auto traits = resolveFamilyTraits(table, taxa);
    const int nsamp = table.nsamp();
    const auto blocks = static_cast<std::size_t>((nsamp + samplesPerBlock - 1) / samplesPerBlock);
    auto passBlock = [&](std::size_t k) {
        const int first = static_cast<int>(k) * samplesPerBlock;
        const PassInput in{table, traits, gig, first, std::min(nsamp, first + samplesPerBlock)};
        calcaspt(in, m);
        contafam(in, m);
        if (gig == Alpine) {
            contasens(in, m);
        } else if (gig == Mediterranean) {
            contaetd(in, m);
        }
    };
    forEachIndex(blocks, threads, passBlock, [&](std::size_t done) {
        if (progress) {
            progress(static_cast<double>(done) / static_cast<double>(blocks));
        }
    });
    if (gig == EasternContinental) {
        m.iaspt = m.aspt;
        m.gigtaxan = m.taxan;
    } else if (gig == Alpine) {
        m.gigtaxan = m.taxan;
    } else if (gig == Mediterranean) {
        m.gigtaxan = m.taxan;
    }
}

// Where the results file goes, or nullopt when the user ends up without a file.
std::optional<std::string> chooseResultsPath(const std::string& inputpath, const std::string& folder,
                                             const RunCallbacks& callbacks) {
    std::string path = resultsPathFor(inputpath, folder);
    if (!fileExists(path) || !callbacks.existingResultsFile) {
        return path;
    }
    auto chosen = callbacks.existingResultsFile(path);
    if (chosen && *chosen == inputpath) {
        throw Error("The results file cannot replace the sample file " + inputpath + ".");
    }
    return chosen;
}

// Regressions of both indices against every usable test variable.
void regressAll(const SampleTable& table, const IndexResult& indices, IndexSection& closing, bool& failed) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (!isUsableTestVariable(table, static_cast<int>(k))) {
            continue;
        }
        const auto x = numericColumn(table, k);
        closing.starRegression[k] = regrlin(x, indices.staricm);
        closing.gigRegression[k] = regrlin(x, indices.gigicm);
        failed = failed || !closing.starRegression[k]->ok || !closing.gigRegression[k]->ok;
    }
}

// The default plot pair: the STAR_ICMi against the first usable test variable, whose
// regression the results file already holds.
void chooseDefaultPlot(RunResult& r, const IndexSection& closing) {
    r.ploty = r.indices.staricm;
    for (int k = 0; k < 3; ++k) {
        if (isUsableTestVariable(r.table, k)) {
            r.plotTestVariable = k;
            r.plotx.clear();
            for (const Sample& s : r.table.samples) {
                r.plotx.push_back(s.testval[static_cast<std::size_t>(k)]);
            }
            r.regression = closing.starRegression[static_cast<std::size_t>(k)];
            return;
        }
    }
}

// A results file has one encoding: Windows-1252 when every text it holds can be written
// in it, else UTF-8 throughout. A Windows-1252 table whose path cannot be written so has
// its texts converted to UTF-8 before anything is written.
void useOneEncoding(SampleTable& t) {
    if (t.utf8 || !hasNonAscii(t.inputpath) || utf8ToCp1252(t.inputpath)) {
        return;
    }
    auto convert = [](std::string& text) { text = cp1252ToUtf8(text); };
    convert(t.titleline);
    convert(t.ignoredtaxa);
    std::for_each(t.headerlabel.begin(), t.headerlabel.end(), convert);
    std::for_each(t.testname.begin(), t.testname.end(), convert);
    std::for_each(t.famnames.begin(), t.famnames.end(), convert);
    for (Sample& sample : t.samples) {
        convert(sample.code);
        convert(sample.name);
        convert(sample.fullName);
    }
    t.utf8 = true;
}

} // namespace

void shortenTestNames(SampleTable& table) {
    constexpr std::size_t longestName = 8;
    for (std::size_t k = 0; k < 3; ++k) {
        std::string& name = table.testname[k];
        if (characterCount(trimBlanks(name), table.utf8) > longestName) {
            name = std::string(firstCharacters(name, longestName, table.utf8));
        } else if (trimBlanks(name).empty()) {
            name = "VAR" + std::to_string(k + 1);
        }
    }
}

RunResult calcola(SampleTable table, const TaxaDatabase& taxa, const RunOptions& options,
                  const RunCallbacks& callbacks) {
    RunResult r;
    useOneEncoding(table);
    r.classcount = contaclassif(table);
    const auto rule = chooseRule(r.classcount);
    if (!rule) {
        r.refused = true;
        r.table = std::move(table);
        r.messages.push_back(refusalMessage + " The file holds " + std::to_string(r.classcount[0]) +
                             " Reference and " + std::to_string(r.classcount[1]) + " High samples.");
        return r;
    }
    r.rule = *rule;
    std::array<std::optional<TestVariableNormalisation>, 3> testBounds;
    for (std::size_t k = 0; k < 3; ++k) {
        for (const Sample& s : table.samples) {
            r.testText[k].push_back(s.testval[k]);
        }
        if (isUsableTestVariable(table, static_cast<int>(k))) {
            testBounds[k] =
                normaliseTestVariable(table, k, options.testVariables[k], r.rule, r.testNormalised[k]);
        }
    }
    const int gig = options.gigindex;
    MetricTable m = makeMetricTable(table.nsamp(), gig);
    runMetricPasses(table, taxa, gig, threadCount(options.threads), callbacks.progress, m);
    if (!options.keepAbundances) {
        const std::size_t bytes = table.abund.bytes();
        table.abund = Abundances();
        FreedMemory(std::size_t{64} << 20).freed(bytes);
    }
    r.raw = m;
    for (std::string& note : placeholderNotes(gig)) {
        r.messages.push_back(std::move(note));
    }

    const auto path = chooseResultsPath(table.inputpath, options.resultsFolder, callbacks);
    std::string text = resultsOpening(
        {table, gig, options.typeindex, options.dateText, options.timeText, r.classcount, r.raw});
    normaliseMetrics(m, gig, table, r.rule, text);
    r.normalised = std::move(m);

    r.indices = somma(r.normalised, table, gig, r.rule);
    shortenTestNames(table);
    // The notes name the test variables as shortened.
    std::vector<TestVariableNormalisation> testLines;
    for (std::size_t k = 0; k < 3; ++k) {
        if (testBounds[k]) {
            testLines.push_back(*testBounds[k]);
            testLines.back().name = table.testname[k];
        }
    }
    text += normalisationNotes(r.indices.staricmnorm, r.rule.usemedian ? medianSentence : percentileSentence,
                               testLines);
    IndexSection closing{table, gig, r.indices.staricm, r.indices.gigicm, {}, {}};
    regressAll(table, r.indices, closing, r.regressionFailed);
    r.testBounds = testBounds;
    r.starRegressions = closing.starRegression;
    r.gigRegressions = closing.gigRegression;
    text += resultsClosing(closing);
    r.table = std::move(table);
    chooseDefaultPlot(r, closing);
    if (r.regressionFailed) {
        r.messages.push_back(regressionErrorMessage);
    }
    r.resultsText = std::move(text);
    if (!path) {
        r.messages.push_back("No file was saved.");
        return r;
    }
    try {
        writeFileAtomically(*path, r.resultsText);
        r.outputPath = *path;
    } catch (const Error& e) {
        r.fileError = e.what();
        r.messages.push_back(r.fileError);
    }
    return r;
}

} // namespace torrentix
