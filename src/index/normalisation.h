#pragma once
// Normalisation of value columns against the reference samples of the file, and the
// two multimetric indices (STAR_ICMi and the GIG ICMi). The run and the bootstrap use
// these rules alike: which samples are reference samples, what their reference value is,
// how a value is normalised and how an index is summed.

#include "index/classes.h"
#include "input/sampletable.h"
#include "metrics/catalogue.h"
#include "metrics/metrictable.h"

#include <optional>
#include <string>
#include <vector>

namespace torrentix {

// Which samples are reference samples and which quantile is their reference value.
struct ReferenceRule {
    int highestNonReferenceClass = 5; // a sample is a reference sample when its class is greater
    bool useMedian = true;            // median, else 75th percentile

    bool isReference(int qualityClass) const { return qualityClass > highestNonReferenceClass; }
    // The reference value of the values of the reference samples (sorted in place): their
    // median or 75th percentile, 0 when there are none.
    float referenceValue(std::vector<double>& values) const;
};

// The rule of a file by its Reference and High counts: the median of the Reference samples
// when there are more than 5, else the 75th percentile of the Reference and High samples
// when they are at least 6 together; nullopt when they are fewer (no run is possible).
std::optional<ReferenceRule> chooseReferenceRule(const ClassCounts& counts);

// The values of the reference samples of a column, in sample order (entries that are not
// numbers left out).
std::vector<double> referenceSampleValues(const std::vector<double>& column, const SampleTable& table,
                                          ReferenceRule rule);
std::vector<double> referenceSampleValues(const std::vector<std::optional<double>>& column,
                                          const SampleTable& table, ReferenceRule rule);

// A normalisation between a lower and an upper value, in 32 bits as the method takes them:
// (v - lower) / (upper - lower), no clipping. An upper value of 0 normalises every value
// to 0.
class Normalisation {
  public:
    // Nullopt when the values cannot normalise: equal (but not 0), or their difference beyond
    // the 32-bit range.
    static std::optional<Normalisation> between(float upper, float lower);
    double apply(double v) const {
        return range_ ? (v - static_cast<double>(lower_)) / static_cast<double>(*range_) : 0.0;
    }

  private:
    float lower_ = 0.0f;
    std::optional<float> range_; // none when the upper value is 0
};

// Normalises a column between a lower and an upper value. Missing entries stay missing.
// Throws Error naming `what` when the values cannot normalise.
std::vector<std::optional<double>> normaliseColumn(const std::vector<std::optional<double>>& column,
                                                   float upper, float lower, const std::string& what);
std::vector<double> normaliseColumn(const std::vector<double>& column, float upper, float lower,
                                    const std::string& what);

struct IndexResult {
    std::vector<double> staricm;    // normalised STAR_ICMi
    std::vector<double> gigicm;     // normalised GIG ICMi
    float starReferenceValue = 0.f; // reference value of the raw STAR_ICMi
};

// The weighted sums of the normalised metrics, each index normalised by its own reference
// value.
IndexResult computeIndices(const MetricTable& normalised, const SampleTable& table, Gig gig,
                           ReferenceRule rule);

} // namespace torrentix
