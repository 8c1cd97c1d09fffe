#pragma once
// The per-sample metric passes of a computation run, in the order they run:
// computeScoreMetrics (score metrics), computeFamilyMetrics (family-count metrics), then
// countSensitiveFamilies (Alpine) or computeSelectedEtdRatio (Mediterranean).

#include "input/sampletable.h"
#include "metrics/catalogue.h"
#include "metrics/familytraits.h"
#include "metrics/metrictable.h"

#include <functional>
#include <vector>

namespace torrentix {

// Called as the passes go on with the fraction of the samples done.
using ProgressHandler = std::function<void(double)>;

// What a pass works on: the samples first..last - 1 of the table. Each sample's metrics
// depend on that sample alone, so ranges of samples may be passed on different threads.
struct PassInput {
    const SampleTable& table;
    const CountedFamilies& families;
    Gig gig;
    int first;
    int last;
};

// Sizes the metric arrays the GIG uses, all zero.
MetricTable makeMetricTable(int nsamp, Gig gig);

// ASPT, and Iberian ASPT (Alpine, Mediterranean) or Degradations Index (Eastern continental).
void computeScoreMetrics(const PassInput& in, MetricTable& m);
// Families, EPT families, 1-GOLD, Shannon, log(SelEPTD+1), and the GIG's EPT ratios.
void computeFamilyMetrics(const PassInput& in, MetricTable& m);
// Alpine: number of selected sensitive families.
void countSensitiveFamilies(const PassInput& in, MetricTable& m);
// Mediterranean: selected ETD families / number of families.
void computeSelectedEtdRatio(const PassInput& in, MetricTable& m);

} // namespace torrentix
