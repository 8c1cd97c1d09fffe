#pragma once
// The per-sample metric passes of a computation run, in the order they run:
// calcaspt (score metrics), contafam (family-count metrics), then contasens (Alpine)
// or contaetd (Mediterranean). Each reports its progress after every sample.

#include "input/sampletable.h"
#include "metrics/familytraits.h"
#include "metrics/metrictable.h"

#include <functional>
#include <vector>

namespace torrentix {

// Called after each sample of each pass with the fraction of the whole run's passes done.
using ProgressHandler = std::function<void(double)>;

struct PassInput {
    const SampleTable& table;
    const std::vector<FamilyTraits>& traits;
    int gigindex;
    const ProgressHandler& progress;
};

// Sizes the metric arrays the GIG uses, all zero.
MetricTable makeMetricTable(int nsamp, int gigindex);

// ASPT, and Iberian ASPT (Alpine, Mediterranean) or Degradations Index (Eastern continental).
void calcaspt(const PassInput& in, MetricTable& m);
// Families, EPT families, 1-GOLD, Shannon, log(SelEPTD+1), and the GIG's EPT ratios.
void contafam(const PassInput& in, MetricTable& m);
// Alpine: number of selected sensitive families.
void contasens(const PassInput& in, MetricTable& m);
// Mediterranean: selected ETD families / number of families.
void contaetd(const PassInput& in, MetricTable& m);

} // namespace torrentix
