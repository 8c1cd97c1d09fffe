#pragma once
// Normalisation of value columns against the reference samples of the file, and the
// two multimetric indices (STAR_ICMi and the GIG ICMi).

#include "input/sampletable.h"
#include "metrics/metrictable.h"

#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// Which samples are reference samples and which quantile is their reference value.
struct ReferenceRule {
    int refclass = 5;      // a sample is a reference sample when its class is greater
    bool usemedian = true; // median, else 75th percentile
};

// The values of the reference samples of a column, in sample order ({0} when none).
std::vector<double> famattemp(const std::vector<double>& column, const SampleTable& table, int refclass);
std::vector<double> famattemp(const std::vector<std::optional<double>>& column, const SampleTable& table,
                              int refclass);

// Normalises a column between a lower and an upper value (32-bit values): (v - lower) /
// (upper - lower), no clipping. An upper value of 0 gives 0 for every entry. Missing
// entries stay missing. Throws Error naming `what` when the two values are equal but not 0.
std::vector<std::optional<double>> normal1(const std::vector<std::optional<double>>& column, float upper,
                                           float lower, const std::string& what);
std::vector<double> normal1(const std::vector<double>& column, float upper, float lower,
                            const std::string& what);

struct IndexResult {
    std::vector<double> staricm; // normalised STAR_ICMi
    std::vector<double> gigicm;  // normalised GIG ICMi
    float staricmnorm = 0.0f;    // reference value of the raw STAR_ICMi
};

// somma: weighted sums of the normalised metrics, each index normalised by its own
// reference value.
IndexResult somma(const MetricTable& normalised, const SampleTable& table, int gigindex, ReferenceRule rule);

} // namespace torrentix
