#include "run/metricsteps.h"

#include "base/parallel.h"
#include "metrics/familytraits.h"
#include "metrics/metricdefinitions.h"
#include "report/resultsfile.h"

#include <algorithm>

namespace torrentix {

void normaliseMetrics(MetricTable& m, Gig gig, const SampleTable& table, ReferenceRule rule,
                      std::string& out) {
    float taxaUpper = 0.0f;
    for (const NormalisationStep& step : normalisationSteps(gig)) {
        std::vector<double>& column = metricColumn(m, step.column);
        float upper = taxaUpper;
        if (!step.upperOfTaxa) {
            auto references = referenceSampleValues(column, table, rule);
            upper = rule.referenceValue(references);
        }
        if (step.column == MetricId::Taxan) {
            taxaUpper = upper;
        }
        if (!step.line.empty()) {
            out += normalisationLine(step.line, step.lower, upper);
        }
        column = normaliseColumn(column, upper, step.lower,
                                 std::string(step.line.empty() ? step.name : step.line));
    }
}

// Each sample's metrics are its own, so they are the same whatever thread computes them.
void runMetricPasses(const SampleTable& table, const TaxaDatabase& taxa, Gig gig, unsigned threads,
                     const ProgressHandler& progress, MetricTable& m, const StopRequest& stop) {
    constexpr int samplesPerBlock = 1024;
    const CountedFamilies families = resolveFamilyTraits(table, taxa);
    const int nsamp = table.nsamp();
    const auto blocks = static_cast<std::size_t>((nsamp + samplesPerBlock - 1) / samplesPerBlock);
    auto passBlock = [&](std::size_t k) {
        stopIfRequested(stop);
        const int first = static_cast<int>(k) * samplesPerBlock;
        const PassInput in{table, families, gig, first, std::min(nsamp, first + samplesPerBlock)};
        computeMetricPasses(in, m);
    };
    forEachIndex(blocks, threads, passBlock, [&](std::size_t done) {
        if (progress) {
            progress(static_cast<double>(done) / static_cast<double>(blocks));
        }
    });
    for (const CopiedMetric& copy : copiedMetrics(gig)) {
        metricColumn(m, copy.column) = metricColumn(m, copy.from);
    }
}

} // namespace torrentix
