#pragma once
// The metric steps of a run: the passes over the samples, on every thread asked for, and
// the normalisation of each metric against its reference value.

#include "base/cancel.h"
#include "index/normalisation.h"
#include "input/sampletable.h"
#include "input/taxadatabase.h"
#include "metrics/metricpasses.h"
#include "metrics/metrictable.h"

#include <string>

namespace torrentix {

// Fills the metric arrays of the GIG from the samples; progress goes to the calling thread.
// Throws Cancelled, before a block of samples, once `stop` is set.
void runMetricPasses(const SampleTable& table, const TaxaDatabase& taxa, Gig gig, unsigned threads,
                     const ProgressHandler& progress, MetricTable& m, const StopRequest& stop = {});

// Normalises the metrics of the GIG in the order of the results file, each against the
// reference value of its own column, appending the lines of the normalisation table.
void normaliseMetrics(MetricTable& m, Gig gig, const SampleTable& table, ReferenceRule rule,
                      std::string& out);

} // namespace torrentix
