#pragma once
// The per-sample metric passes of a computation run: score metrics, family-count metrics,
// then the selected-family metrics of the Alpine or Mediterranean GIG, each sample's from the
// families present in it as the metrics count them.

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

// The metrics of samples first..last - 1, each sample's in the method's order: the score
// metrics (ASPT, and Iberian ASPT for Alpine and Mediterranean or the Degradations Index for
// Eastern continental), the family-count metrics (families, EPT families, 1-GOLD, Shannon,
// log(SelEPTD+1) and the GIG's EPT ratios), then the Alpine selected sensitive families or the
// Mediterranean selected ETD families over all families. Only the metrics the table was made
// for (makeMetricTable) are filled.
void computeMetricPasses(const PassInput& in, MetricTable& m);

} // namespace torrentix
