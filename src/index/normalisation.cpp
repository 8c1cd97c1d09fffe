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
std::vector<double> referenceValues(const Column& column, const SampleTable& table, int refclass,
                                    ValueOf valueOf) {
    std::vector<double> refvals;
    for (std::size_t i = 0; i < table.samples.size(); ++i) {
        std::optional<double> v = valueOf(column[i]);
        if (v && table.samples[i].sampclass > refclass) {
            refvals.push_back(*v);
        }
    }
    if (refvals.empty()) {
        refvals.push_back(0.0);
    }
    return refvals;
}

// A normalisation value as messages show it: a value beyond the 32-bit range (a test value
// such as 1e39) is infinite there, which the general number form would show as 0.
std::string boundText(float value) {
    if (std::isinf(value)) {
        return value > 0 ? "infinity" : "-infinity";
    }
    return formatGeneral32(value);
}

// The divisor of the normalisation, computed in 32 bits; nullopt when the upper value is 0.
std::optional<float> normalisationRange(float upper, float lower, const std::string& what) {
    if (upper == 0.0f) {
        return std::nullopt;
    }
    const float range = upper - lower;
    if (!std::isfinite(range)) {
        throw Error("The normalisation values of " + what + " (" + boundText(lower) + " and " +
                    boundText(upper) +
                    ") are out of range: its values cannot be normalised. The computation "
                    "was stopped and no results file was written.");
    }
    if (range == 0.0f) {
        throw Error("The upper and lower normalisation values of " + what + " are both " +
                    formatGeneral32(upper) +
                    ": its values cannot be normalised. The computation was stopped and no results file was "
                    "written.");
    }
    return range;
}

} // namespace

std::vector<double> famattemp(const std::vector<double>& column, const SampleTable& table, int refclass) {
    return referenceValues(column, table, refclass, [](double v) { return std::optional<double>(v); });
}

std::vector<double> famattemp(const std::vector<std::optional<double>>& column, const SampleTable& table,
                              int refclass) {
    return referenceValues(column, table, refclass, [](const std::optional<double>& v) { return v; });
}

std::vector<std::optional<double>> normal1(const std::vector<std::optional<double>>& column, float upper,
                                           float lower, const std::string& what) {
    const auto range = normalisationRange(upper, lower, what);
    std::vector<std::optional<double>> out;
    out.reserve(column.size());
    for (const auto& v : column) {
        if (!v) {
            out.emplace_back(std::nullopt);
        } else if (!range) {
            out.emplace_back(0.0);
        } else {
            out.emplace_back((*v - static_cast<double>(lower)) / static_cast<double>(*range));
        }
    }
    return out;
}

std::vector<double> normal1(const std::vector<double>& column, float upper, float lower,
                            const std::string& what) {
    const auto range = normalisationRange(upper, lower, what);
    std::vector<double> out(column.size(), 0.0);
    if (range) {
        for (std::size_t i = 0; i < column.size(); ++i) {
            out[i] = (column[i] - static_cast<double>(lower)) / static_cast<double>(*range);
        }
    }
    return out;
}

IndexResult somma(const MetricTable& m, const SampleTable& table, int gigindex, ReferenceRule rule) {
    const std::size_t n = table.samples.size();
    std::vector<double> star(n), gig(n);
    const auto& starTerms = starMetrics();
    const auto& gigTerms = gigMetrics(gigindex);
    for (std::size_t i = 0; i < n; ++i) {
        star[i] = weightedSum(starTerms, m, i);
        gig[i] = weightedSum(gigTerms, m, i);
    }
    IndexResult result;
    auto refvals = famattemp(star, table, rule.refclass);
    result.staricmnorm = quantile(refvals, rule.usemedian);
    result.staricm = normal1(star, result.staricmnorm, 0.0f, "STAR_ICMi");
    refvals = famattemp(gig, table, rule.refclass);
    const float gigReference = quantile(refvals, rule.usemedian);
    result.gigicm = normal1(gig, gigReference, 0.0f, gigShortName(gigindex) + "_ICMi");
    return result;
}

} // namespace torrentix
