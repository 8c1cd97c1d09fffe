#pragma once
// The common metrics of each GIG's indices, written once: the metric-table array each
// reads, its label in the results file, its weight in the index, how its raw values are
// written, and its line of the metric panel; and the order, lower values and labels of
// their normalisation. Normalisation, the indices, the results file and the metric
// panel all read these tables.

#include "metrics/catalogue.h"
#include "metrics/metrictable.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

enum class MetricId {
    Aspt,
    Eptn,
    Gold,
    Shannon,
    LogSelEptd,
    Taxan,
    Iaspt,
    GigEpt,
    SelSens,
    SelEtd,
    EptAbund,
    DInd,
    GigTaxan // the last
};
inline constexpr std::size_t metricIdCount = static_cast<std::size_t>(MetricId::GigTaxan) + 1;

// How the results file writes a raw metric value: "#0.00", or the general number form.
enum class MetricForm { Fixed2, General };

struct MetricDefinition {
    MetricId column;
    std::string_view label; // results-file column and weight line
    // Its column in tables read by other programs: a plain identifier (letters, digits
    // and "_", not starting with a digit), the same in R, pandas and spreadsheets.
    std::string_view id;
    double weight;
    MetricForm form;
    // The weighted sum adds the terms in this order (0 first), as the method writes it;
    // floating-point sums depend on their order.
    int sumPosition;
    // Line of the metric panel, "{w}" standing for the weight, and its place there.
    std::string_view panelLine;
    int panelPosition;
};

// The STAR_ICMi metrics, in the order of the results file's columns.
const std::vector<MetricDefinition>& starMetrics();
// The GIG ICMi metrics in column order; the STAR_ICMi metrics for the GIGs whose
// index is the STAR_ICMi (Central / Baltic, Northern).
const std::vector<MetricDefinition>& gigMetrics(Gig gig);

// One term of an index's weighted sum.
struct WeightedTerm {
    MetricId column;
    double weight;
};
// An index's terms in the order its weighted sum adds them, as the method writes it:
// floating-point sums depend on their order.
std::vector<WeightedTerm> termsInSumOrder(const std::vector<MetricDefinition>& metrics);

// The weighted sum of the terms, added in their order; `valueOf(t)` gives the (normalised)
// value of term t.
// Inlined where it is called: the bootstrap sums an index millions of times.
template <class ValueOf>
[[gnu::always_inline]] inline double weightedSum(const std::vector<WeightedTerm>& terms, ValueOf valueOf) {
    double sum = terms[0].weight * valueOf(std::size_t{0});
    for (std::size_t t = 1; t < terms.size(); ++t) {
        sum += terms[t].weight * valueOf(t);
    }
    return sum;
}

// The weighted sums of the samples first..last-1 at once, term by term into sums[0..]:
// each sample's sum adds the same products in the same order as weightedSum, so its value
// is the same; `valueOf(t, i)` gives the value of term t for sample i.
template <class ValueOf>
void weightedSums(const std::vector<WeightedTerm>& terms, std::size_t first, std::size_t last, double* sums,
                  ValueOf valueOf) {
    for (std::size_t i = first; i < last; ++i) {
        sums[i - first] = terms[0].weight * valueOf(std::size_t{0}, i);
    }
    for (std::size_t t = 1; t < terms.size(); ++t) {
        const double weight = terms[t].weight;
        for (std::size_t i = first; i < last; ++i) {
            sums[i - first] += weight * valueOf(t, i);
        }
    }
}

// A column of a GIG index that holds a copy of a STAR_ICMi metric, not a metric of its own.
struct CopiedMetric {
    MetricId column;
    MetricId from;
};
// The copies a GIG's index takes: the number of families, in every GIG index of its own,
// and the ASPT, which the Eastern continental index uses under its own column.
const std::vector<CopiedMetric>& copiedMetrics(Gig gig);
// Every metric-table array a GIG's run fills: the metrics of its indices.
std::vector<MetricId> metricsOfGig(Gig gig);
// Whether the GIG computes the metric of this column, rather than copying it or not using it.
bool computesMetric(Gig gig, MetricId column);

// What a run of the GIG must say of the metrics whose data are stand-ins of this program's
// own, because no public source was found: every run of those GIGs says it.
std::vector<std::string> placeholderNotes(Gig gig);

// The metric panel's text of a GIG: its GIG index's metrics numbered, with their weights.
std::string metricDescription(Gig gig);

// One metric normalisation, in the order the results file lists them.
struct NormalisationStep {
    MetricId column;
    float lower;
    std::string_view line; // the label of its line in the results file; empty: no line
    std::string_view name; // what messages call it when it has no line
    // Takes the upper value of the number of families instead of one of its own.
    bool upperOfTaxa = false;
};

const std::vector<NormalisationStep>& normalisationSteps(Gig gig);

std::vector<double>& metricColumn(MetricTable& m, MetricId id);
const std::vector<double>& metricColumn(const MetricTable& m, MetricId id);

} // namespace torrentix
