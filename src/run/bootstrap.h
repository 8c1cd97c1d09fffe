#pragma once
// Bootstrap confidence intervals of a computed run: how much the indices and the
// regressions depend on the file's own reference samples.
//
// One replicate draws, with replacement, as many samples from the reference set as it
// holds (the samples whose class is above the run's reference class), recomputes with them
// every normalisation that depends on the reference set (each metric's reference value, the
// upper value of each "Biological" test variable, the reference values of both indices),
// then both indices of every kept sample. For each regression of the results file it then
// draws, with replacement, n of the pairs the regression uses and fits the same regression
// to the index and test variable as normalised in this replicate. A replicate whose
// normalisation fails (equal bounds) counts for no interval; a regression that fails in a
// replicate counts for none of that regression's intervals.
//
// Intervals are percentile intervals at 95 %: the 2.5th and 97.5th percentiles of the
// counted replicates, interpolated as R's quantile(type = 7). Random numbers come from
// xoshiro256** (Blackman and Vigna), seeded per replicate through SplitMix64 from the seed
// and the replicate number; indices are drawn without bias by rejection. The result is the
// same for any number of threads and on every run.

#include "base/cancel.h"
#include "base/parallel.h"
#include "input/sampletable.h"
#include "run/computerun.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace torrentix {

struct BootstrapOptions {
    int replicates = 1000;
    std::uint64_t seed = 1;
    int threads = 0; // 0: every core
    // Looked at before each replicate, each block of samples' intervals and each regression's
    // intervals: once it is set the bootstrap throws Cancelled and gives no intervals.
    StopRequest stop = nullptr;
    std::function<void(double)> progress = {};        // fraction done, called on the calling thread
    ThreadStart startThread = torrentix::startThread; // how worker threads are started
};

struct Interval {
    std::optional<double> lo; // nullopt when no replicate counted
    std::optional<double> hi;
};

struct RegressionIntervals {
    bool star = true; // the STAR_ICMi, else the GIG ICMi
    int variable = 0; // 0-based test variable
    Regression point; // as the results file holds it
    int counted = 0;  // replicates in which this regression succeeded
    Interval m, b, r2;
    // The fitted line's band: at x = 0.1, 0.2, ... 0.1 x point.bandPoints, the 2.5th and 97.5th
    // percentiles of b + m x over the replicates counted.
    std::vector<Interval> band;
};

struct BootstrapResult {
    int replicates = 0;
    int counted = 0; // replicates whose normalisation succeeded
    std::uint64_t seed = 0;
    bool useMedian = true;
    std::vector<Interval> star; // per kept sample
    std::vector<Interval> gig;
    std::vector<RegressionIntervals> regressions; // in the results file's order
};

// `table` is the sample table as read (test values not yet normalised), `run` the run
// computed from it with `options`. Throws Cancelled when stopped.
BootstrapResult bootstrap(const SampleTable& table, const RunOptions& options, const RunResult& run,
                          const BootstrapOptions& bootstrapOptions);

} // namespace torrentix
