#include "run/testvariables.h"

#include "input/samenames.h"

#include "base/numberforms.h"
#include "base/text.h"

namespace torrentix {
namespace {

// The entries of test variable k read by `parse` (nullopt where not numeric).
template <class Parse> auto testColumn(const SampleTable& table, std::size_t k, Parse parse) {
    std::vector<decltype(parse(std::string_view()))> values;
    values.reserve(table.samples.size());
    for (const Sample& s : table.samples) {
        values.push_back(parse(s.testValueTexts[k]));
    }
    return values;
}

// The entries of test variable k as 32-bit values, as its observed bounds are taken.
std::vector<std::optional<float>> numericColumn32(const SampleTable& table, std::size_t k) {
    return testColumn(table, k, [](std::string_view text) { return parseNumeric32(text); });
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

} // namespace

std::vector<std::optional<double>> numericColumn(const SampleTable& table, std::size_t k) {
    return testColumn(table, k, [](std::string_view text) { return parseNumeric(text); });
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
    tv.name = table.testVariableNames[k];
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
        auto references = referenceSampleValues(values, table, rule);
        tv.upper = rule.referenceValue(references);
        tv.upperLabel =
            rule.useMedian ? " (median of reference s.)" : " (75th percentile of reference+high status s.)";
    }
    kept = normaliseColumn(values, tv.upper, tv.lower, "the test variable " + tv.name);
    for (std::size_t i = 0; i < table.samples.size(); ++i) {
        table.samples[i].testValueTexts[k] = kept[i] ? formatGeneral(*kept[i]) : "N/A";
    }
    return tv;
}

void shortenTestNames(SampleTable& table) {
    for (std::size_t k = 0; k < 3; ++k) {
        table.testVariableNames[k] = printedTestVariableName(table.testVariableNames[k], k, table.utf8);
    }
}

// Regressions of both indices against every usable test variable.
void regressAll(const SampleTable& table, const IndexResult& indices, IndexSection& closing, bool& failed) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (!isUsableTestVariable(table, static_cast<int>(k))) {
            continue;
        }
        const auto x = numericColumn(table, k);
        closing.starRegression[k] = fitLine(x, indices.staricm);
        closing.gigRegression[k] = fitLine(x, indices.gigicm);
        failed = failed || !closing.starRegression[k]->ok || !closing.gigRegression[k]->ok;
    }
}

} // namespace torrentix
