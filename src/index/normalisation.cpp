#include "index/normalisation.h"

#include "base/error.h"
#include "base/numberforms.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"
#include "metrics/quantile.h"

#include <cmath>

namespace torrentix {
namespace {

template <typename Column, typename ValueOf>
std::vector<double> valuesOfReferences(const Column& column, const SampleTable& table, ReferenceRule rule,
                                       ValueOf valueOf) {
    std::vector<double> values;
    for (std::size_t i = 0; i < table.samples.size(); ++i) {
        std::optional<double> v = valueOf(column[i]);
        if (v && rule.isReference(table.samples[i].qualityClass)) {
            values.push_back(*v);
        }
    }
    return values;
}

// A normalisation value as messages show it: a value beyond the 32-bit range (a test value
// such as 1e39) is infinite there, which the general number form would show as 0.
std::string boundText(float value) {
    if (std::isinf(value)) {
        return value > 0 ? "infinity" : "-infinity";
    }
    return formatGeneral32(value);
}

Normalisation normalisationOrError(float upper, float lower, const std::string& what) {
    if (const auto n = Normalisation::between(upper, lower)) {
        return *n;
    }
    if (!std::isfinite(upper - lower)) {
        throw Error("The normalisation values of " + what + " (" + boundText(lower) + " and " +
                    boundText(upper) +
                    ") are out of range: its values cannot be normalised. The computation "
                    "was stopped and no results file was written.");
    }
    throw Error("The upper and lower normalisation values of " + what + " are both " +
                formatGeneral32(upper) +
                ": its values cannot be normalised. The computation was stopped and no results file was "
                "written.");
}

} // namespace

std::optional<ReferenceRule> chooseReferenceRule(const ClassCounts& counts) {
    constexpr int fewestReferences = 6; // enough samples for a reference value
    const int reference = counts[static_cast<std::size_t>(classSlot(referenceClass))];
    const int high = counts[static_cast<std::size_t>(classSlot(highClass))];
    if (reference >= fewestReferences) {
        return ReferenceRule{highClass, true};
    }
    if (reference + high < fewestReferences) {
        return std::nullopt;
    }
    return ReferenceRule{goodClass, false};
}

float ReferenceRule::referenceValue(std::vector<double>& values) const {
    return referenceQuantile(values, useMedian);
}

std::vector<double> referenceSampleValues(const std::vector<double>& column, const SampleTable& table,
                                          ReferenceRule rule) {
    return valuesOfReferences(column, table, rule, [](double v) { return std::optional<double>(v); });
}

std::vector<double> referenceSampleValues(const std::vector<std::optional<double>>& column,
                                          const SampleTable& table, ReferenceRule rule) {
    return valuesOfReferences(column, table, rule, [](const std::optional<double>& v) { return v; });
}

std::optional<Normalisation> Normalisation::between(float upper, float lower) {
    Normalisation n;
    n.lower_ = lower;
    if (upper == 0.0f) {
        return n;
    }
    const float range = upper - lower;
    if (!std::isfinite(range) || range == 0.0f) {
        return std::nullopt;
    }
    n.range_ = range;
    return n;
}

std::vector<std::optional<double>> normaliseColumn(const std::vector<std::optional<double>>& column,
                                                   float upper, float lower, const std::string& what) {
    const Normalisation n = normalisationOrError(upper, lower, what);
    std::vector<std::optional<double>> out;
    out.reserve(column.size());
    for (const auto& v : column) {
        out.push_back(v ? std::optional<double>(n.apply(*v)) : std::nullopt);
    }
    return out;
}

std::vector<double> normaliseColumn(const std::vector<double>& column, float upper, float lower,
                                    const std::string& what) {
    const Normalisation n = normalisationOrError(upper, lower, what);
    std::vector<double> out(column.size());
    for (std::size_t i = 0; i < column.size(); ++i) {
        out[i] = n.apply(column[i]);
    }
    return out;
}

IndexResult computeIndices(const MetricTable& m, const SampleTable& table, Gig gig, ReferenceRule rule) {
    const std::size_t n = table.samples.size();
    const auto sums = [&](const std::vector<MetricDefinition>& metrics) {
        const std::vector<WeightedTerm> terms = termsInSumOrder(metrics);
        std::vector<const std::vector<double>*> columns;
        for (const WeightedTerm& term : terms) {
            columns.push_back(&metricColumn(m, term.column));
        }
        std::vector<double> out(n);
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = weightedSum(terms, [&](std::size_t t) { return (*columns[t])[i]; });
        }
        return out;
    };
    const std::vector<double> starSums = sums(starMetrics());
    const std::vector<double> gigSums = sums(gigMetrics(gig));
    IndexResult result;
    auto references = referenceSampleValues(starSums, table, rule);
    result.starReferenceValue = rule.referenceValue(references);
    result.staricm = normaliseColumn(starSums, result.starReferenceValue, 0.0f, "STAR_ICMi");
    references = referenceSampleValues(gigSums, table, rule);
    const float gigReference = rule.referenceValue(references);
    result.gigicm = normaliseColumn(gigSums, gigReference, 0.0f, gigShortName(gig) + "_ICMi");
    return result;
}

} // namespace torrentix
